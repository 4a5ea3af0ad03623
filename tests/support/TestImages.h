// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QImage>

namespace tessel::test {

// A small encoded image ("png", "tiff") filled with one colour.
inline QByteArray encodedImage(const char* format, QColor colour = Qt::red, int side = 8)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace tessel::test
