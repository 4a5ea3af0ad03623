#include "window/PopupPlacement.h"

#include <algorithm>

namespace tessel {

namespace {
constexpr int kMargin = 10;
constexpr int kGapBelow = 8;
constexpr int kGapAbove = 16;
constexpr int kGapSide = 12;
} // namespace

PopupStyle popupStyleFor(const QString& platformName)
{
    return platformName.startsWith(QLatin1StringView("wayland")) ? PopupStyle::floatingWindow
                                                                 : PopupStyle::overlayAtPointer;
}

std::optional<QPoint> popupOrigin(QPoint cursor, QSize window, const QList<ScreenArea>& screens,
                                  int primaryIndex)
{
    if (screens.isEmpty())
        return std::nullopt;
    const auto under = std::find_if(screens.cbegin(), screens.cend(), [&](const ScreenArea& s) {
        return s.geometry.contains(cursor);
    });
    const ScreenArea& screen = under != screens.cend() ? *under
                               : (primaryIndex >= 0 && primaryIndex < screens.size())
                                   ? screens.at(primaryIndex)
                                   : screens.first();
    // QRect's right() and bottom() are inclusive; the edges here are exclusive.
    const int minX = screen.available.left();
    const int maxX = screen.available.left() + screen.available.width();
    const int minY = screen.available.top();
    const int maxY = screen.available.top() + screen.available.height();
    const int w = window.width();
    const int h = window.height();

    int y = cursor.y() + kGapBelow;
    if (y + h > maxY - kMargin)
        y = cursor.y() - kGapAbove - h;
    int x = cursor.x() + kGapSide;
    if (x + w > maxX - kMargin)
        x = cursor.x() - w - kGapSide;

    // The top-left bound wins when the window is larger than the area inside the margins.
    x = std::max(minX + kMargin, std::min(maxX - w - kMargin, x));
    y = std::max(minY + kMargin, std::min(maxY - h - kMargin, y));
    return QPoint(x, y);
}

} // namespace tessel
