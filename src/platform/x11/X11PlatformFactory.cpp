// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11PlatformFactory.h"

#include "core/SettingsStore.h"
#include "hotkey/HotkeyBackend.h"
#include "platform/QtPasteboard.h"
#include "platform/RoutedKeySynthesizer.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Pasteboard.h"
#include "platform/x11/X11Workspace.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

X11PlatformFactory::X11PlatformFactory(bool nestedInWayland, std::function<bool()> portalRefused)
    : m_nested(nestedInWayland)
    , m_portalRefused(portalRefused ? std::move(portalRefused) : [] { return false; })
{}

QString X11PlatformFactory::name() const
{
    return u"x11"_s;
}

PlatformCapabilities X11PlatformFactory::capabilities() const
{
    // Under XWayland a key grab only fires while an X11 window has the focus, XTEST only types
    // into X11 windows, and the pointer position is stale over Wayland windows.
    if (m_nested) {
        // The desktop's own services reach the Wayland windows: its shortcut service, and its
        // remote-desktop portal for typing (unless the user refused it).
        const auto paste = m_desktop.keys && !m_portalRefused()
                               ? PlatformCapabilities::AutoPaste::everywhere
                               : PlatformCapabilities::AutoPaste::x11WindowsOnly;
        return {bool(m_desktop.hotkeys), paste, false};
    }
    return {true, PlatformCapabilities::AutoPaste::everywhere, true};
}

std::unique_ptr<Pasteboard> X11PlatformFactory::createPasteboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (auto x11 = X11Pasteboard::create(clipboard, std::make_unique<QtPasteboard>(clipboard)))
        return x11;
    // Without a reader of our own, Qt's clipboard is polled: an owner that stalls then holds up
    // the interface, but copies are still recorded.
    return std::make_unique<QtPasteboard>(clipboard);
}

std::unique_ptr<Workspace> X11PlatformFactory::createWorkspace()
{
    return std::make_unique<X11Workspace>();
}

std::unique_ptr<HotkeyBackend> X11PlatformFactory::createHotkeyBackend()
{
    if (m_nested && m_desktop.hotkeys)
        return m_desktop.hotkeys();
    return std::make_unique<X11HotkeyBackend>();
}

std::unique_ptr<KeySynthesizer> X11PlatformFactory::createKeySynthesizer()
{
    auto keys = std::make_unique<X11KeySynthesizer>();
    // The X server is XWayland, whose XTEST keyboard has a keymap of its own.
    keys->setTestKeyboardHasOwnKeymap(m_nested);
    if (m_nested && m_desktop.keys) {
        // XTEST for X11 windows; while a Wayland window is active XWayland has no active window.
        return std::make_unique<RoutedKeySynthesizer>(std::move(keys), m_desktop.keys(), [] {
            return !X11Workspace().frontmostApplicationId().isEmpty();
        });
    }
    return keys;
}

std::function<bool()> X11PlatformFactory::createTrustProbe()
{
    return [] { return X11KeySynthesizer().isAvailable(); };
}

} // namespace tessel::x11
