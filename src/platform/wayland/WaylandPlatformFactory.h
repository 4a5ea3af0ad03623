// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/NullPlatformFactory.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace tessel::wayland {

class WaylandConnection;
class WaylandToplevels;

// The services of a native Wayland session, each built on the protocols the compositor offers
// (`globals`, the interface names it announced); a service whose protocol is missing reports
// itself unsupported, as in a session without a backend. The window list and the virtual keyboard
// share one connection of the factory's, which outlives the services it made; the clipboard has
// one of its own, which it reopens when a flood of types costs it the connection.
class WaylandPlatformFactory final : public NullPlatformFactory {
public:
    // Another way to type the paste keystroke, for compositors without a virtual keyboard
    // (XTEST through XWayland, which reaches X11 windows only); it returns null where that way
    // is missing too. Asked at most once, when the capabilities or the keystroke are first needed.
    using FallbackKeys = std::function<std::unique_ptr<KeySynthesizer>()>;

    explicit WaylandPlatformFactory(QStringList globals, FallbackKeys fallbackKeys = {});
    ~WaylandPlatformFactory() override;

    QString name() const override;
    PlatformCapabilities capabilities() const override;
    // With data-control, a clipboard of our own that sees every copy without the focus;
    // otherwise Qt's, which only hears of copies while Tessel has the focus.
    std::unique_ptr<Pasteboard> createPasteboard() override;
    // The active window's app_id from the compositor's window list where it offers one.
    std::unique_ptr<Workspace> createWorkspace() override;
    // The desktop's shortcut service where it has one (KDE Plasma's); none otherwise.
    std::unique_ptr<HotkeyBackend> createHotkeyBackend() override;
    // A virtual keyboard where the compositor offers one, else KWin's fake input where it grants
    // it, else the fallback where there is one.
    std::unique_ptr<KeySynthesizer> createKeySynthesizer() override;
    std::function<bool()> createTrustProbe() override;

    static constexpr char virtualKeyboardInterface[] = "zwp_virtual_keyboard_manager_v1";
    static constexpr char fakeInputInterface[] = "org_kde_kwin_fake_input";

    // Whether the compositor offers the global interface `name`.
    bool offers(const char* name) const;
    // Whether `appId` names one of Tessel's own windows.
    static bool isOwnWindow(const QString& appId);

private:
    bool canType() const;
    // Makes the fallback once; whether there is one.
    bool hasFallback() const;
    WaylandConnection* connection();
    WaylandToplevels* toplevels();

    QStringList m_globals;
    FallbackKeys m_fallbackKeys;
    // Unknown until the fallback was first tried.
    mutable std::optional<bool> m_fallbackExists;
    // Made by `hasFallback` and kept until the keystroke is asked for.
    mutable std::unique_ptr<KeySynthesizer> m_fallback;
    bool m_connectionTried = false;
    std::unique_ptr<WaylandConnection> m_connection;
    std::unique_ptr<WaylandToplevels> m_toplevels;
};

} // namespace tessel::wayland
