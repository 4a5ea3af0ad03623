// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "platform/NullPlatformFactory.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "platform/desktop/GnomeKeybindings.h"
#include "platform/desktop/KGlobalAccelHotkeyBackend.h"
#include "platform/desktop/PortalColourScheme.h"
#include "platform/desktop/PortalHotkeyBackend.h"
#include "platform/desktop/PortalProbe.h"
#include "platform/desktop/RemoteDesktopKeySynthesizer.h"

#ifdef TESSEL_HAVE_X11
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11PlatformFactory.h"
#include "platform/x11/XWaylandKeySynthesizer.h"
#endif
#ifdef TESSEL_HAVE_WAYLAND
#include "platform/wayland/WaylandGlobalsProbe.h"
#include "platform/wayland/WaylandPlatformFactory.h"
#endif

#include <QDBusConnection>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// How long the start may wait to learn what the desktop's portal offers (it may have to start).
constexpr int kPortalProbeTimeoutMs = 1500;

const QString kShortcutsPortal = u"org.freedesktop.portal.GlobalShortcuts"_s;
const QString kRemoteDesktopPortal = u"org.freedesktop.portal.RemoteDesktop"_s;

// What the desktop offers beside the windowing system. Only GNOME and KDE Plasma are asked:
// elsewhere the windowing system's own ways (X11 grabs, a virtual keyboard) serve, or the user
// binds the commands in the compositor's configuration.
DesktopServices desktopServicesFor(const SessionEnvironment& session, SettingsStore& settings)
{
    DesktopServices services;
    if (!session.waylandSession || !QDBusConnection::sessionBus().isConnected())
        return services;
    switch (SessionChoice::desktopFor(session)) {
    case DesktopKind::kde:
        // Plasma's own service, whose settings list the shortcuts and where the recorder's
        // changes land.
        services.hotkeys = []() -> std::unique_ptr<HotkeyBackend> {
            return std::make_unique<desktop::KGlobalAccelHotkeyBackend>(
                QDBusConnection::sessionBus(), QStringLiteral(TESSEL_APP_ID), u"Tessel"_s);
        };
        break;
    case DesktopKind::gnome: {
        const QStringList portals = desktop::PortalProbe::offered(
            QDBusConnection::sessionBus(), {kShortcutsPortal, kRemoteDesktopPortal},
            kPortalProbeTimeoutMs);
        if (portals.contains(kShortcutsPortal)) {
            services.hotkeys = []() -> std::unique_ptr<HotkeyBackend> {
                return std::make_unique<desktop::PortalHotkeyBackend>(
                    QDBusConnection::sessionBus());
            };
        } else {
            services.keybindings = []() -> std::unique_ptr<DesktopKeybindings> {
                return std::make_unique<desktop::GnomeKeybindings>();
            };
        }
        if (portals.contains(kRemoteDesktopPortal)) {
            services.keys = [&settings]() -> std::unique_ptr<KeySynthesizer> {
                return std::make_unique<desktop::RemoteDesktopKeySynthesizer>(
                    QDBusConnection::sessionBus(), settings);
            };
        }
        break;
    }
    case DesktopKind::other:
        break;
    }
    return services;
}
} // namespace

#ifdef TESSEL_HAVE_WAYLAND
namespace {
// Where the compositor has no virtual keyboard, XTEST on its XWayland still types into X11 windows.
wayland::WaylandPlatformFactory::FallbackKeys xwaylandKeys()
{
#ifdef TESSEL_HAVE_X11
    return []() -> std::unique_ptr<KeySynthesizer> { return x11::XWaylandKeySynthesizer::open(); };
#else
    return {};
#endif
}
} // namespace
#endif

std::unique_ptr<PlatformFactory> PlatformFactory::create(const SessionEnvironment& session,
                                                         SettingsStore* settings)
{
    auto factory = createFor(session, settings);
    if (settings)
        factory->setDesktopServices(desktopServicesFor(session, *settings));
    return factory;
}

std::unique_ptr<PlatformFactory> PlatformFactory::createFor(const SessionEnvironment& session,
                                                            SettingsStore* settings)
{
    switch (
        SessionChoice::backendFor(QGuiApplication::platformName(), BuiltPlatforms::thisBuild())) {
    case PlatformKind::x11:
#ifdef TESSEL_HAVE_X11
        return std::make_unique<x11::X11PlatformFactory>(session.waylandSession, [settings] {
            return settings && settings->value(settings::remoteDesktopRefused);
        });
#else
        break;
#endif
    case PlatformKind::wayland:
#ifdef TESSEL_HAVE_WAYLAND
        return std::make_unique<wayland::WaylandPlatformFactory>(session.waylandGlobals,
                                                                 xwaylandKeys());
#else
        break;
#endif
    case PlatformKind::none:
        break;
    }
    return std::make_unique<NullPlatformFactory>();
}

std::unique_ptr<ColourSchemeSource> PlatformFactory::createColourSchemeSource()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    return std::make_unique<desktop::PortalColourScheme>(bus);
}

BuiltPlatforms BuiltPlatforms::thisBuild()
{
    BuiltPlatforms built;
#ifdef TESSEL_HAVE_X11
    built.x11 = true;
#endif
#ifdef TESSEL_HAVE_WAYLAND
    built.wayland = true;
#endif
    return built;
}

QString SessionEnvironment::unreachableDisplay(const QString& qtPlatform) const
{
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    const auto x11Opens = [&] {
#ifdef TESSEL_HAVE_X11
        return !display.isEmpty() && x11::X11Connection::canOpen(display.toLocal8Bit());
#else
        return !display.isEmpty();
#endif
    };
    const bool waylandAnswers = !waylandGlobals.isEmpty();
    const QString prefix = u"Tessel needs a graphical session: "_s;
    const QString noX11 = display.isEmpty() ? u"no X11 display is set (DISPLAY)"_s
                                            : u"the X11 display %1 cannot be opened"_s.arg(display);
    const QString noWayland = wayland.isEmpty()
                                  ? u"no Wayland compositor is set (WAYLAND_DISPLAY)"_s
                                  : u"the Wayland compositor %1 does not answer"_s.arg(wayland);
    // Qt tries the compositor of a Wayland session first, then X11.
    if (qtPlatform.isEmpty())
        return waylandAnswers || x11Opens() ? QString()
                                            : prefix + noX11 + u" and "_s + noWayland + u'.';
    switch (SessionChoice::backendFor(qtPlatform, {true, true})) {
    case PlatformKind::x11:
        return x11Opens() ? QString() : prefix + noX11 + u'.';
    case PlatformKind::wayland:
        return waylandAnswers ? QString() : prefix + noWayland + u'.';
    case PlatformKind::none:
        break;
    }
    return {};
}

SessionEnvironment SessionEnvironment::current()
{
    SessionEnvironment session;
    session.requestedQtPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    session.waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    session.x11Display = !qEnvironmentVariableIsEmpty("DISPLAY");
    session.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
#ifdef TESSEL_HAVE_WAYLAND
    if (session.waylandSession)
        session.waylandGlobals = wayland::probeWaylandGlobals();
#endif
    return session;
}

} // namespace tessel
