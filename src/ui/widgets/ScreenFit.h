// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QWidget;

namespace tessel {

// `size` for `window`, made no larger than what its screen (the primary screen before it shows)
// leaves free for a window once the window manager's frame is around it.
QSize fittedToScreen(const QWidget* window, QSize size);

// Resizes `window` to `size` fitted to its screen and moves it, frame included, back onto the
// screen where it would reach past an edge.
void resizeOnScreen(QWidget* window, QSize size);

} // namespace tessel
