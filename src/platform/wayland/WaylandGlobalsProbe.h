// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tessel::wayland {

// The names of the global interfaces the compositor of WAYLAND_DISPLAY offers, asked on a short
// connection of its own (connect, one round trip, disconnect) before Qt starts; empty when no
// compositor answers within a second. The interfaces named in TESSEL_WAYLAND_IGNORE_GLOBALS
// (separated by commas) are left out, as if the compositor did not offer them: a diagnostic that
// shows what Tessel does on a compositor without them (for example without a virtual keyboard, as
// on KDE Plasma).
QStringList probeWaylandGlobals();

} // namespace tessel::wayland
