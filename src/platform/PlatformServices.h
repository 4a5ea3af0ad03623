#pragma once

#include <functional>
#include <memory>

class QObject;

namespace tessel {

class HotkeyBackend;
class KeySynthesizer;
class LoginItems;
class Pasteboard;
class SoundPlayer;
class Workspace;

// Picks the implementation of each platform service for the session Tessel runs in ("xcb" gets
// the X11 ones; elsewhere the services that need X11 say they are unsupported).
namespace PlatformServices {

bool isX11();
bool isWayland();
// The desktop clipboard; on X11 it reports changes, read on a thread of its own.
std::unique_ptr<Pasteboard> createPasteboard();
std::unique_ptr<Workspace> createWorkspace();

// Global shortcuts; outside X11 installing fails and every registration is refused.
std::unique_ptr<HotkeyBackend> createHotkeyBackend();
// The paste keystroke; outside X11 it is unavailable.
std::unique_ptr<KeySynthesizer> createKeySynthesizer();
// The "Pop" after a paste; silent outside X11 (where nothing is pasted).
std::unique_ptr<SoundPlayer> createSoundPlayer();
// "May Tessel synthesise input?": an X11 display with XTEST; always false elsewhere.
std::function<bool()> createTrustProbe();
// Launch at login through XDG autostart, starting this executable.
std::unique_ptr<LoginItems> createLoginItems();

} // namespace PlatformServices
} // namespace tessel
