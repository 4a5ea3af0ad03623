// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

namespace tessel {

class KeySynthesizer;
class SettingsStore;
class SoundPlayer;
class Workspace;

// Pastes a chosen item into the application the user was working in: shortly after the popup has
// closed and handed the focus back, it types the paste chord there and plays the "Pop" sound.
// One paste at most is pending: a new pick replaces the previous one. Main thread only.
class PasteSimulator : public QObject {
    Q_OBJECT

public:
    // The delay every caller uses, long enough for the previous window to be in front again.
    static constexpr std::chrono::milliseconds defaultDelay{120};

    PasteSimulator(SettingsStore& settings, KeySynthesizer& synthesizer, Workspace& workspace,
                   SoundPlayer& sound, QObject* parent = nullptr);

    // Pastes after `delay` when "pasteOnSelect" allows it, replacing a paste still pending.
    void schedulePaste(std::chrono::milliseconds delay = defaultDelay);
    // "pasteOnSelect": true when absent or not a boolean.
    bool shouldAutoPaste() const;
    bool isPastePending() const { return m_pendingPaste.isActive(); }

    // Sends the paste chord now (Ctrl+Shift+V into terminals), then plays "Pop" if
    // "playSoundEffects" is on. Without synthetic input, or when sending fails, writes the fixed
    // diagnostic line and plays nothing.
    void paste();

Q_SIGNALS:
    // The chord was sent (before the sound plays).
    void pasted();

private:
    void finish(const QString& error);

    SettingsStore& m_settings;
    KeySynthesizer& m_synthesizer;
    Workspace& m_workspace;
    SoundPlayer& m_sound;
    QTimer m_pendingPaste;
};

} // namespace tessel
