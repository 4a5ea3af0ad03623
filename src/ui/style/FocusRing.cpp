// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/FocusRing.h"

#include "ui/style/Theme.h"

#include <QPainter>
#include <QString>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr qreal kWidth = 2;
}

void paintFocusRing(QPainter& painter, const QRectF& rect, qreal radius, const QPalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Theme::accent(palette), kWidth));
    const qreal inset = kWidth / 2;
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.restore();
}

QString focusRingStyle(const QPalette& palette, int radius)
{
    return u" QPushButton:focus { border: 2px solid %1; border-radius: %2px; }"_s.arg(
        Theme::accent(palette).name(), QString::number(radius));
}

} // namespace tessel
