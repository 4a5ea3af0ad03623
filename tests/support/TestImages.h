#pragma once

#include <QByteArray>
#include <QColor>

namespace tessel::test {

// A small encoded image ("png", "tiff") filled with one colour.
QByteArray encodedImage(const char* format, QColor colour = Qt::red, int side = 8);

} // namespace tessel::test
