// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>

struct xcb_connection_t;

namespace tessel::x11 {

// The X connection Qt already has open, and small helpers around it. Only valid on the "xcb"
// platform; `connection()` is null elsewhere.
class X11Connection {
public:
    static xcb_connection_t* connection();
    // Whether the X server `displayName` (as in DISPLAY) accepts a connection now; tried on a
    // connection of its own, before Qt starts.
    static bool canOpen(const QByteArray& displayName);
    static uint32_t rootWindow();

    // The atom named `name` (interned once per name and cached); 0 on failure.
    static uint32_t atom(const QByteArray& name);

    // The window in the root's _NET_ACTIVE_WINDOW, 0 when none is set.
    static uint32_t activeWindow();

    // The raw bytes of a window property, empty on failure.
    static QByteArray property(uint32_t window, uint32_t property, uint32_t type);
};

} // namespace tessel::x11
