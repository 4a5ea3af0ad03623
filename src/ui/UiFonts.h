#pragma once

#include <QFont>

namespace tessel {

// The interface font at a pixel size and weight (sizes are in logical pixels, so layouts keep
// their proportions whatever the desktop's font size).
QFont uiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

} // namespace tessel
