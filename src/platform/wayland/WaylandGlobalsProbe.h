#pragma once

#include <QStringList>

namespace tessel::wayland {

// The names of the global interfaces the compositor of WAYLAND_DISPLAY offers, asked on a short
// connection of its own (connect, one round trip, disconnect) before Qt starts; empty when no
// compositor answers.
QStringList probeWaylandGlobals();

} // namespace tessel::wayland
