// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/PlatformCapabilities.h"

#include <QString>
#include <functional>
#include <memory>

namespace tessel {

class HotkeyBackend;
class KeySynthesizer;
class LoginItems;
class Pasteboard;
class SoundPlayer;
class Workspace;
struct SessionEnvironment;

// Creates every platform service for one kind of desktop session (X11, Wayland, or none of
// them). One factory is chosen once at start; the services it creates live on the main thread.
class PlatformFactory {
public:
    virtual ~PlatformFactory() = default;

    // "x11", "wayland" or "null", for the log.
    virtual QString name() const = 0;
    virtual PlatformCapabilities capabilities() const = 0;

    // The desktop clipboard. Never null: where no reader of our own exists, Qt's clipboard.
    virtual std::unique_ptr<Pasteboard> createPasteboard() = 0;
    // The active application; one that names nothing where the session cannot tell.
    virtual std::unique_ptr<Workspace> createWorkspace() = 0;
    // Global shortcuts; one that refuses every registration where the session has none.
    virtual std::unique_ptr<HotkeyBackend> createHotkeyBackend() = 0;
    // The paste keystroke; one that reports itself unavailable where input cannot be typed.
    virtual std::unique_ptr<KeySynthesizer> createKeySynthesizer() = 0;
    // "May Tessel synthesise input now?", asked again while the user goes to allow it.
    virtual std::function<bool()> createTrustProbe() = 0;
    // The "Pop" after a paste, through the desktop's event-sound service.
    virtual std::unique_ptr<SoundPlayer> createSoundPlayer();
    // Launch at login through XDG autostart, starting this executable.
    virtual std::unique_ptr<LoginItems> createLoginItems();

    // The factory for the Qt platform the application runs on (call after QGuiApplication
    // exists), given what was learnt about the session before it started.
    static std::unique_ptr<PlatformFactory> create(const SessionEnvironment& session);
};

} // namespace tessel
