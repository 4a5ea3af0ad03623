// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ImageDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace tessel::ImageDecoder {

namespace {
void limitAllocations()
{
    // Qt's reader also refuses allocations above this many megabytes, whatever the header says.
    // Set once: the limit is one value for the whole process, and decodes run on several threads.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(static_cast<int>(maxPixels * 4 / (1024 * 1024)));
        return true;
    }();
    Q_UNUSED(limited)
}

bool withinLimits(QSize size)
{
    return size.isValid() && qint64(size.width()) * size.height() <= maxPixels;
}

// The format of the encoded image at the device's position, from its signature: named, the
// reader takes Qt's own PNG decoder or the TIFF plugin at once, instead of loading every image
// plugin (and the libraries behind them) to ask each whether it knows the bytes.
QByteArray formatOf(QIODevice& device)
{
    const QByteArray head = device.peek(8);
    if (isPng(head))
        return QByteArrayLiteral("png");
    if (head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4)))
        return QByteArrayLiteral("tiff");
    return {};
}

std::optional<QByteArray> encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.canWrite() || !writer.write(image))
        return std::nullopt;
    return bytes;
}
} // namespace

std::optional<QSize> probe(QIODevice& device)
{
    limitAllocations();
    QImageReader reader(&device, formatOf(device));
    if (!reader.canRead())
        return std::nullopt;
    const QSize size = reader.size();
    if (!withinLimits(size))
        return std::nullopt;
    return size;
}

std::optional<QSize> probe(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return probe(buffer);
}

QSize fitted(QSize size, QSize bound)
{
    if (!bound.isValid() || (size.width() <= bound.width() && size.height() <= bound.height()))
        return size;
    return size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

std::optional<QImage> decode(const QByteArray& bytes, QSize bound)
{
    if (bytes.isEmpty())
        return std::nullopt;
    limitAllocations();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, formatOf(buffer));
    const QSize size = reader.size();
    if (size.isValid() && !withinLimits(size))
        return std::nullopt;
    if (bound.isValid() && size.isValid() && fitted(size, bound) != size)
        reader.setScaledSize(fitted(size, bound));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QByteArray> tiffRepresentation(const QImage& image)
{
    return encode(image, "tiff");
}

std::optional<QByteArray> pngRepresentation(const QImage& image)
{
    return encode(image, "png");
}

std::optional<QByteArray> asTiff(const QByteArray& bytes)
{
    const auto image = decode(bytes);
    return image ? tiffRepresentation(*image) : std::nullopt;
}

std::optional<QByteArray> asPng(const QByteArray& bytes)
{
    const auto image = decode(bytes);
    return image ? pngRepresentation(*image) : std::nullopt;
}

bool isPng(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

} // namespace tessel::ImageDecoder
