// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace tessel {

// The interface font at a pixel size and weight (sizes are in logical pixels, so layouts keep
// their proportions whatever the desktop's font size).
QFont uiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// The font for emoji at a pixel size: the desktop's colour emoji font first, since the text
// fonts carry some emoji as plain outlines and would otherwise win.
QFont emojiFont(int pixelSize);

} // namespace tessel
