// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionChoice.h"

using namespace Qt::StringLiterals;

namespace tessel::SessionChoice {

QString qtPlatformFor(const SessionEnvironment& session, BuiltPlatforms built)
{
    if (!session.requestedQtPlatform.isEmpty() || !session.waylandSession)
        return {};
    if (built.wayland && session.waylandGlobals.contains(QLatin1StringView(dataControlInterface)))
        return u"wayland"_s;
    if (built.x11 && session.x11Display)
        return u"xcb"_s;
    return {};
}

PlatformKind backendFor(const QString& qtPlatformName, BuiltPlatforms built)
{
    if (qtPlatformName == "xcb"_L1)
        return built.x11 ? PlatformKind::x11 : PlatformKind::none;
    // "wayland-egl" and "wayland-brcm" are the same windowing system with another renderer.
    if (qtPlatformName == "wayland"_L1 || qtPlatformName.startsWith("wayland-"_L1))
        return built.wayland ? PlatformKind::wayland : PlatformKind::none;
    return PlatformKind::none;
}

DesktopKind desktopFor(const SessionEnvironment& session)
{
    // A list such as "ubuntu:GNOME" or "KDE".
    const QStringList desktops = session.currentDesktop.split(u':', Qt::SkipEmptyParts);
    if (desktops.contains("KDE"_L1, Qt::CaseInsensitive))
        return DesktopKind::kde;
    if (desktops.contains("GNOME"_L1, Qt::CaseInsensitive))
        return DesktopKind::gnome;
    if (!desktops.isEmpty())
        return DesktopKind::other;
    if (session.waylandGlobals.contains("org_kde_plasma_shell"_L1))
        return DesktopKind::kde;
    if (session.waylandGlobals.contains("gtk_shell1"_L1))
        return DesktopKind::gnome;
    return DesktopKind::other;
}

void applyQtPlatform(const SessionEnvironment& session, BuiltPlatforms built)
{
    const QString platform = qtPlatformFor(session, built);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
}

} // namespace tessel::SessionChoice
