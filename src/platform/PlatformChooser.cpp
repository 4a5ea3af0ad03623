// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NullPlatformFactory.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"

#ifdef TESSEL_HAVE_X11
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11PlatformFactory.h"
#include "platform/x11/XWaylandKeySynthesizer.h"
#endif
#ifdef TESSEL_HAVE_WAYLAND
#include "platform/wayland/WaylandGlobalsProbe.h"
#include "platform/wayland/WaylandPlatformFactory.h"
#endif

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel {

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

std::unique_ptr<PlatformFactory> PlatformFactory::create(const SessionEnvironment& session)
{
    switch (
        SessionChoice::backendFor(QGuiApplication::platformName(), BuiltPlatforms::thisBuild())) {
    case PlatformKind::x11:
#ifdef TESSEL_HAVE_X11
        return std::make_unique<x11::X11PlatformFactory>(session.waylandSession);
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
#ifdef TESSEL_HAVE_WAYLAND
    if (session.waylandSession)
        session.waylandGlobals = wayland::probeWaylandGlobals();
#endif
    return session;
}

} // namespace tessel
