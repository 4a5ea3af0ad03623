#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace tessel {

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

} // namespace tessel
