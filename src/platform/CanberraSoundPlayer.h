// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/SoundPlayer.h"

#include <QString>

struct ca_context;

namespace tessel {

// Sound effects through the desktop's event-sound service (libcanberra). Every failure is silent
// apart from one line on standard error the first time: no sound server, no card, no file.
class CanberraSoundPlayer final : public SoundPlayer {
public:
    // `popFile`: path of the pop sound; empty means nothing to play.
    explicit CanberraSoundPlayer(QString popFile);
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void playPop() override;

    // The pop sound shipped with Tessel, as a file the sound service can read; empty on failure.
    static QString shippedPopFile();

    // Whether this machine has anything that could make a sound: a sound server's socket in
    // `runtimeDir` (PulseAudio, PipeWire), a PULSE_SERVER address, or an ALSA playback device
    // in `soundDeviceDir`. Without any, no driver is worth loading.
    static bool hasAudioOutput(const QString& runtimeDir,
                               const QString& soundDeviceDir = QStringLiteral("/dev/snd"));

private:
    bool ensureContext();
    void reportOnce(const char* what, int code);

    QString m_popFile;
    ca_context* m_context = nullptr;
    bool m_contextFailed = false;
    bool m_reported = false;
};

} // namespace tessel
