// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandPlatformFactory.h"

#include "hotkey/HotkeyBackend.h"
#include "platform/wayland/FakeInputKeySynthesizer.h"
#include "platform/wayland/VirtualKeymap.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeySynthesizer.h"
#include "platform/wayland/WaylandPasteboard.h"
#include "platform/wayland/WaylandToplevels.h"
#include "platform/wayland/WaylandWorkspace.h"

#include <QGuiApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tessel::wayland {

WaylandPlatformFactory::WaylandPlatformFactory(QStringList globals, FallbackKeys fallbackKeys)
    : m_globals(std::move(globals))
    , m_fallbackKeys(std::move(fallbackKeys))
{}

// The window list goes before the connection it was made on.
WaylandPlatformFactory::~WaylandPlatformFactory()
{
    m_toplevels.reset();
}

QString WaylandPlatformFactory::name() const
{
    return u"wayland"_s;
}

PlatformCapabilities WaylandPlatformFactory::capabilities() const
{
    // No client may grab keys or place its windows on Wayland: shortcuts are the desktop's
    // service's where it has one, and typing is up to the compositor.
    auto autoPaste = PlatformCapabilities::AutoPaste::unavailable;
    if (canType())
        autoPaste = PlatformCapabilities::AutoPaste::everywhere;
    else if (hasFallback())
        autoPaste = PlatformCapabilities::AutoPaste::x11WindowsOnly;
    return {bool(m_desktop.hotkeys), autoPaste, false};
}

std::unique_ptr<Pasteboard> WaylandPlatformFactory::createPasteboard()
{
    if (offers("zwlr_data_control_manager_v1")) {
        QPointer<WaylandToplevels> windows = toplevels();
        auto activeApplication = [windows]() -> QString {
            return windows ? windows->appIdOf(windows->activeId()) : QString();
        };
        // A connection of the clipboard's own: a flood of types that costs it its connection
        // costs the window list and the keyboard nothing, and it is reopened alone.
        if (auto pasteboard = WaylandPasteboard::create(
                [](std::chrono::milliseconds timeout) { return WaylandConnection::open(timeout); },
                activeApplication))
            return pasteboard;
    }
    return NullPlatformFactory::createPasteboard();
}

std::unique_ptr<Workspace> WaylandPlatformFactory::createWorkspace()
{
    return std::make_unique<WaylandWorkspace>(toplevels(), &isOwnWindow);
}

std::unique_ptr<HotkeyBackend> WaylandPlatformFactory::createHotkeyBackend()
{
    if (m_desktop.hotkeys)
        return m_desktop.hotkeys();
    return NullPlatformFactory::createHotkeyBackend();
}

std::unique_ptr<KeySynthesizer> WaylandPlatformFactory::createKeySynthesizer()
{
    if (offers(virtualKeyboardInterface) && canType()) {
        if (WaylandConnection* wayland = connection())
            return std::make_unique<WaylandKeySynthesizer>(*wayland, toplevels(), &isOwnWindow);
    } else if (offers(fakeInputInterface)) {
        if (WaylandConnection* wayland = connection()) {
            return std::make_unique<FakeInputKeySynthesizer>(
                *wayland, [] { return QGuiApplication::focusWindow() != nullptr; });
        }
    } else if (hasFallback()) {
        if (m_fallback)
            return std::move(m_fallback);
        if (auto again = m_fallbackKeys())
            return again;
    }
    return NullPlatformFactory::createKeySynthesizer();
}

std::function<bool()> WaylandPlatformFactory::createTrustProbe()
{
    // The compositor's offer does not change while Tessel runs.
    return [trusted = canType() || hasFallback()] { return trusted; };
}

bool WaylandPlatformFactory::offers(const char* name) const
{
    return m_globals.contains(QLatin1StringView(name));
}

bool WaylandPlatformFactory::isOwnWindow(const QString& appId)
{
    return !appId.isEmpty() && appId == QGuiApplication::desktopFileName();
}

bool WaylandPlatformFactory::canType() const
{
    // KWin grants its fake input only to programs its desktop entries trust, and lists the
    // global only to them.
    if (offers(fakeInputInterface))
        return true;
    static const bool keymapCompiles = VirtualKeymap().isValid();
    return offers(virtualKeyboardInterface) && keymapCompiles;
}

bool WaylandPlatformFactory::hasFallback() const
{
    if (!m_fallbackExists) {
        if (m_fallbackKeys)
            m_fallback = m_fallbackKeys();
        m_fallbackExists = m_fallback != nullptr;
    }
    return *m_fallbackExists;
}

WaylandConnection* WaylandPlatformFactory::connection()
{
    if (!m_connectionTried) {
        m_connectionTried = true;
        m_connection = WaylandConnection::open();
    }
    return m_connection.get();
}

WaylandToplevels* WaylandPlatformFactory::toplevels()
{
    if (!m_toplevels && offers("zwlr_foreign_toplevel_manager_v1")) {
        if (WaylandConnection* wayland = connection())
            m_toplevels = std::make_unique<WaylandToplevels>(*wayland);
    }
    return m_toplevels.get();
}

} // namespace tessel::wayland
