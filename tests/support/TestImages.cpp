#include "support/TestImages.h"

#include <QBuffer>
#include <QImage>

namespace tessel::test {

QByteArray encodedImage(const char* format, QColor colour, int side)
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
