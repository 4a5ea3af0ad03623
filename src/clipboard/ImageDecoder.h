// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace tessel {

// Decoding of images that come from other programs, bounded so that a hostile or huge image
// cannot exhaust memory, and the per-run cache of decoded history images.
namespace ImageDecoder {

// Largest image accepted, in pixels (about 256 MiB decoded at 32 bits per pixel).
inline constexpr qint64 maxPixels = 64LL * 1024 * 1024;

// The decoded image, or nothing when the bytes are no image, too large, or fail to decode.
// With a valid `bound`, a larger image is decoded straight to a size that fits in it (aspect
// kept), without ever holding the full-size pixels.
std::optional<QImage> decode(const QByteArray& bytes, QSize bound = {});

// The image's size in pixels, from its header alone; nothing when the bytes are no image.
std::optional<QSize> sizeOf(const QByteArray& bytes);

// The image encoded as TIFF, or nothing when no TIFF encoder is available.
std::optional<QByteArray> tiffRepresentation(const QImage& image);
// The image encoded as PNG, or nothing when it cannot be encoded.
std::optional<QByteArray> pngRepresentation(const QImage& image);
// Whether `bytes` start with the PNG signature.
bool isPng(const QByteArray& bytes);

// The cache of decoded images, keyed by entry id. It may drop images at any time.
std::optional<QImage> cached(const QString& key);
void insertCached(const QString& key, const QImage& image);

} // namespace ImageDecoder
} // namespace tessel
