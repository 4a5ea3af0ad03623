// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

// What decides the platform Tessel runs on, read once before the application object exists.
struct SessionEnvironment {
    // QT_QPA_PLATFORM as the user set it; empty when unset.
    QString requestedQtPlatform;
    // WAYLAND_DISPLAY and DISPLAY are set.
    bool waylandSession = false;
    bool x11Display = false;
    // The global interfaces the Wayland compositor offers; empty when there is no compositor
    // or it was not asked.
    QStringList waylandGlobals;

    // XDG_CURRENT_DESKTOP as set; empty when unset.
    QString currentDesktop;

    // Reads the environment and, in a Wayland session, asks the compositor once.
    static SessionEnvironment current();

    // Why Qt's platform `qtPlatform` (empty: Qt's own choice) has no display to start on, in one
    // line for the user; empty when it has one, or is a platform without a display server
    // (offscreen). Without it Qt aborts with a message about reinstalling the application.
    QString unreachableDisplay(const QString& qtPlatform) const;
};

// The platform backends compiled into this build.
struct BuiltPlatforms {
    bool x11 = false;
    bool wayland = false;

    static BuiltPlatforms thisBuild();
};

enum class PlatformKind { x11, wayland, none };

// The desktops whose own services Tessel uses beside the windowing system's.
enum class DesktopKind { gnome, kde, other };

namespace SessionChoice {

// The wlroots clipboard protocol: without it a Wayland client cannot follow the clipboard.
inline constexpr char dataControlInterface[] = "zwlr_data_control_manager_v1";

// The Qt platform plugin to ask for before the application starts; empty leaves Qt's own choice.
// An explicit choice of the user stands; a compositor that shares its clipboard runs Qt
// natively, one that does not (GNOME) runs it on XWayland, where the clipboard is mirrored.
QString qtPlatformFor(const SessionEnvironment& session, BuiltPlatforms built);

// The backend that serves Qt's platform `qtPlatformName`; `none` for one without a backend
// (offscreen, or a platform left out of this build).
PlatformKind backendFor(const QString& qtPlatformName, BuiltPlatforms built);

// The desktop of the session: from XDG_CURRENT_DESKTOP, or else from what its compositor offers
// (GNOME's mutter offers gtk_shell1, KDE's KWin org_kde_plasma_shell).
DesktopKind desktopFor(const SessionEnvironment& session);

// Sets QT_QPA_PLATFORM as `qtPlatformFor` decides, unless it is empty.
void applyQtPlatform(const SessionEnvironment& session, BuiltPlatforms built);

} // namespace SessionChoice
} // namespace tessel
