#include "platform/NullPlatformFactory.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"

#ifdef TESSEL_HAVE_X11
#include "platform/x11/X11PlatformFactory.h"
#endif
#ifdef TESSEL_HAVE_WAYLAND
#include "platform/wayland/WaylandGlobalsProbe.h"
#include "platform/wayland/WaylandPlatformFactory.h"
#endif

#include <QGuiApplication>

namespace tessel {

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
        return std::make_unique<wayland::WaylandPlatformFactory>(session.waylandGlobals);
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
