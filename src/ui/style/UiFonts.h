// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>

namespace tessel {

// How much larger the desktop's font (the application font) is than the 9-point font the
// interface's sizes were drawn for; never below 1. The popup's and the windows' sizes and texts
// are multiplied by it, so that the texts grow with the desktop's font and the room made for
// them with the texts.
qreal uiScale();
// `pixels` of the design at the desktop's font size, in logical pixels.
int scaled(int pixels);
QSize scaled(QSize size);

// The interface font at a size of the design in pixels (scaled as above) and a weight.
QFont uiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// The font for emoji at a pixel size: the desktop's colour emoji font first, since the text
// fonts carry some emoji as plain outlines and would otherwise win.
QFont emojiFont(int pixelSize);

} // namespace tessel
