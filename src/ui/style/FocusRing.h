// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class QPalette;
class QWidget;

namespace tessel {

// The ring a drawn control shows while it has the keyboard focus: two pixels of the accent
// colour just inside `rect`, with corners of `radius` (half the height draws a capsule).
void paintFocusRing(QPainter& painter, const QRectF& rect, qreal radius, const QPalette& palette);

// A style sheet rule giving the push buttons of `palette` the same ring while focused.
QString focusRingStyle(const QPalette& palette, int radius);

} // namespace tessel
