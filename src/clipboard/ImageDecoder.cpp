// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ImageDecoder.h"

#include <QBuffer>
#include <QCache>
#include <QImageReader>
#include <QImageWriter>

namespace tessel::ImageDecoder {

namespace {
// The cache keeps at most this many bytes of decoded pixels; older images are decoded again.
constexpr qsizetype kCacheBytes = 32LL * 1024 * 1024;

QCache<QString, QImage>& cache()
{
    static QCache<QString, QImage> instance(kCacheBytes);
    return instance;
}
} // namespace

std::optional<QImage> decode(const QByteArray& bytes, QSize bound)
{
    if (bytes.isEmpty())
        return std::nullopt;
    // Qt's reader also refuses allocations above this many megabytes, whatever the header says.
    QImageReader::setAllocationLimit(static_cast<int>(maxPixels * 4 / (1024 * 1024)));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        return std::nullopt;
    if (bound.isValid() && size.isValid() &&
        (size.width() > bound.width() || size.height() > bound.height()))
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QSize> sizeOf(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    return size.isValid() ? std::optional(size) : std::nullopt;
}

namespace {
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

std::optional<QByteArray> tiffRepresentation(const QImage& image)
{
    return encode(image, "tiff");
}

std::optional<QByteArray> pngRepresentation(const QImage& image)
{
    return encode(image, "png");
}

bool isPng(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

std::optional<QImage> cached(const QString& key)
{
    if (const QImage* image = cache().object(key))
        return *image;
    return std::nullopt;
}

void insertCached(const QString& key, const QImage& image)
{
    const qsizetype cost = qMax<qsizetype>(1, image.sizeInBytes());
    cache().insert(key, new QImage(image), cost);
}

} // namespace tessel::ImageDecoder
