// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace tessel {

// How the popup appears on the windowing system Qt runs on.
enum class PopupStyle {
    // A popup window that Tessel places at the pointer; it takes the keyboard without
    // activating, and a click outside closes it (X11, where clients may place and grab).
    overlayAtPointer,
    // A frameless fixed-size top-level window that the compositor floats, places (centred on
    // the active output) and activates; it closes when it loses the focus. On Wayland a client
    // can neither place its window nor watch clicks elsewhere, and a popup needs a parent window.
    // Under XWayland an overlay would get no keys while a Wayland window has the focus, and the
    // pointer's position is only known over X11 windows, so the popup is a window there too.
    floatingWindow,
};

// One screen as placement sees it: its whole geometry and the part windows may use (without
// panels and docks). Qt coordinates: origin top left, y grows downwards.
struct ScreenArea {
    QRect geometry;
    QRect available;
};

// Where the popup's top-left corner goes for a pointer at `cursor`: below and to the right of the
// pointer, flipped above or to the left when it would not fit, and kept 10 pixels inside the
// available area of the screen under the pointer (else the primary screen, else the first).
// Nothing when there is no screen.
std::optional<QPoint> popupOrigin(QPoint cursor, QSize window, const QList<ScreenArea>& screens,
                                  int primaryIndex);

// Where a floating popup's top-left corner goes: centred in the available area of the primary
// screen (else the first), kept 10 pixels inside it. Nothing when there is no screen.
std::optional<QPoint> centredOrigin(QSize window, const QList<ScreenArea>& screens,
                                    int primaryIndex);

} // namespace tessel
