// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

struct wl_display;

namespace tessel::wayland {

// How long a compositor may take to answer a round trip before it counts as gone. A compositor
// busy starting a session answers new clients slowly: KWin, which looks each one up among the
// installed applications, has taken over a second on a loaded machine.
inline constexpr std::chrono::milliseconds roundtripTimeout{5000};

// wl_display_roundtrip with a time limit: sends what is queued, then reads and dispatches events
// until the compositor has answered everything sent before. False when the connection fails or
// no answer comes within `timeout` (a compositor that accepts clients and then stalls would hold
// libwayland's own round trip for ever).
bool roundtrip(wl_display* display, std::chrono::milliseconds timeout = roundtripTimeout);

} // namespace tessel::wayland
