// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformFactory.h"

namespace tessel::x11 {

// The services of an X11 session: the clipboard read on a connection of Tessel's own, key grabs
// on the root window, XTEST for the paste and EWMH for the active window. Nested in a Wayland
// session (XWayland) the same services only reach X11 windows.
class X11PlatformFactory final : public PlatformFactory {
public:
    // `portalRefused` tells whether the user refused the desktop's remote-desktop portal.
    explicit X11PlatformFactory(bool nestedInWayland, std::function<bool()> portalRefused = {});

    QString name() const override;
    PlatformCapabilities capabilities() const override;
    std::unique_ptr<Pasteboard> createPasteboard() override;
    std::unique_ptr<Workspace> createWorkspace() override;
    std::unique_ptr<HotkeyBackend> createHotkeyBackend() override;
    std::unique_ptr<KeySynthesizer> createKeySynthesizer() override;
    std::function<bool()> createTrustProbe() override;

private:
    bool m_nested;
    std::function<bool()> m_portalRefused;
};

} // namespace tessel::x11
