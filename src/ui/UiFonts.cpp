#include "ui/UiFonts.h"

#include <QApplication>

namespace tessel {

QFont uiFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace tessel
