// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/PlatformCapabilities.h"

#include <QString>
#include <functional>
#include <memory>

namespace tessel {

class ColourSchemeSource;
class DesktopKeybindings;
class HotkeyBackend;
class KeySynthesizer;
class LoginItems;
class Pasteboard;
class SettingsStore;
class SoundPlayer;
class Workspace;
struct SessionEnvironment;

// What the desktop offers beside its windowing system (its shortcut service, its portals, its
// keyboard settings), found by the chooser and handed to the factory of the windowing system,
// which uses it where its own way falls short. Each is null where the desktop lacks it.
struct DesktopServices {
    // Global shortcuts of the desktop's own (KDE's shortcut service, the shortcuts portal).
    std::function<std::unique_ptr<HotkeyBackend>()> hotkeys;
    // Typing into windows the windowing system's own way cannot reach (the remote-desktop portal
    // for GNOME's Wayland windows).
    std::function<std::unique_ptr<KeySynthesizer>()> keys;
    // The desktop's keyboard settings, for Tessel's commands (GNOME's custom keybindings).
    std::function<std::unique_ptr<DesktopKeybindings>()> keybindings;
};

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
    // The desktop's keyboard settings for Tessel's commands; null where it has none.
    std::unique_ptr<DesktopKeybindings> createDesktopKeybindings();

    void setDesktopServices(DesktopServices services) { m_desktop = std::move(services); }

    // The factory for the Qt platform the application runs on (call after QGuiApplication
    // exists), given what was learnt about the session before it started.
    // `settings` keeps what the desktop's portals grant across sessions; without it the
    // desktop's services are left unused.
    static std::unique_ptr<PlatformFactory> create(const SessionEnvironment& session,
                                                   SettingsStore* settings = nullptr);
    // The desktop's colour-scheme preference, from the settings portal on the session bus (on
    // every kind of session); null without a session bus.
    static std::unique_ptr<ColourSchemeSource> createColourSchemeSource();

protected:
    DesktopServices m_desktop;

private:
    static std::unique_ptr<PlatformFactory> createFor(const SessionEnvironment& session,
                                                      SettingsStore* settings);
};

} // namespace tessel
