// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/PopupPlacement.h"

#include <algorithm>

namespace tessel {

namespace {
constexpr int kMargin = 10;
constexpr int kGapBelow = 8;
constexpr int kGapAbove = 16;
constexpr int kGapSide = 12;

const ScreenArea& primaryOrFirst(const QList<ScreenArea>& screens, int primaryIndex)
{
    return (primaryIndex >= 0 && primaryIndex < screens.size()) ? screens.at(primaryIndex)
                                                                : screens.first();
}

// The top-left bound wins when the window is larger than the area inside the margins.
QPoint keptInside(QPoint origin, QSize window, const QRect& available)
{
    const int maxX = available.left() + available.width();
    const int maxY = available.top() + available.height();
    return {
        std::max(available.left() + kMargin, std::min(maxX - window.width() - kMargin, origin.x())),
        std::max(available.top() + kMargin,
                 std::min(maxY - window.height() - kMargin, origin.y()))};
}
} // namespace

std::optional<QPoint> popupOrigin(QPoint cursor, QSize window, const QList<ScreenArea>& screens,
                                  int primaryIndex)
{
    if (screens.isEmpty())
        return std::nullopt;
    const auto under = std::find_if(screens.cbegin(), screens.cend(), [&](const ScreenArea& s) {
        return s.geometry.contains(cursor);
    });
    const ScreenArea& screen =
        under != screens.cend() ? *under : primaryOrFirst(screens, primaryIndex);
    // QRect's right() and bottom() are inclusive; the edges here are exclusive.
    const int maxX = screen.available.left() + screen.available.width();
    const int maxY = screen.available.top() + screen.available.height();
    const int w = window.width();
    const int h = window.height();

    int y = cursor.y() + kGapBelow;
    if (y + h > maxY - kMargin)
        y = cursor.y() - kGapAbove - h;
    int x = cursor.x() + kGapSide;
    if (x + w > maxX - kMargin)
        x = cursor.x() - w - kGapSide;
    return keptInside({x, y}, window, screen.available);
}

std::optional<QPoint> centredOrigin(QSize window, const QList<ScreenArea>& screens,
                                    int primaryIndex)
{
    if (screens.isEmpty())
        return std::nullopt;
    const QRect& available = primaryOrFirst(screens, primaryIndex).available;
    const QPoint centred(available.left() + (available.width() - window.width()) / 2,
                         available.top() + (available.height() - window.height()) / 2);
    return keptInside(centred, window, available);
}

} // namespace tessel
