// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class QIODevice;

namespace tessel {

// Decoding of images that come from other programs, bounded so that a hostile or huge image
// cannot exhaust memory. Safe on any thread.
namespace ImageDecoder {

// Largest image accepted, in pixels (about 256 MiB decoded at 32 bits per pixel).
inline constexpr qint64 maxPixels = 64LL * 1024 * 1024;
// Largest image converted to another format for a program that asks for it (64 MiB decoded): a
// conversion runs while that program waits, and a larger one would keep it waiting for seconds.
inline constexpr qint64 maxConvertedPixels = 16LL * 1024 * 1024;

// The size the image's header announces, read without decoding its pixels; nothing when the bytes
// are no image this program can decode or announce more than `maxPixels`.
std::optional<QSize> probe(const QByteArray& bytes);
std::optional<QSize> probe(QIODevice& device);

// The decoded image, or nothing when the bytes are no image, too large, or fail to decode.
// With a valid `bound`, a larger image is decoded to a size that fits in it (aspect kept), by the
// codec itself where it can (JPEG), and only that size is returned.
std::optional<QImage> decode(const QByteArray& bytes, QSize bound = {});

// `size` made to fit in `bound`, aspect kept, never enlarged.
QSize fitted(QSize size, QSize bound);

// The image encoded as TIFF, or nothing when no TIFF encoder is available.
std::optional<QByteArray> tiffRepresentation(const QImage& image);
// The image encoded as PNG, or nothing when it cannot be encoded.
std::optional<QByteArray> pngRepresentation(const QImage& image);
// The encoded image `bytes` decoded and encoded again as TIFF or PNG; nothing when they do not
// decode or cannot be encoded. Holds the decoded pixels only while it runs.
std::optional<QByteArray> asTiff(const QByteArray& bytes);
std::optional<QByteArray> asPng(const QByteArray& bytes);
// Whether `bytes` start with the PNG signature.
bool isPng(const QByteArray& bytes);

} // namespace ImageDecoder
} // namespace tessel
