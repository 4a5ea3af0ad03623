// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardEntry.h"

#include "clipboard/DisplayText.h"
#include "clipboard/ImageDecoder.h"
#include "clipboard/PasteboardTypes.h"
#include "core/AppPaths.h"

#include <QCryptographicHash>
#include <atomic>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

constexpr qsizetype kPreviewLimit = 48;
// What a preview is made from: enough for its 48 characters with their marks, wide emoji
// sequences included.
constexpr qsizetype kPreviewSourceUnits = 1024;

// A version-4 id that no other entry of this process has: one random id drawn at start, with a
// counter folded into its first 48 bits. Drawing a random id per entry costs a hardware random
// number each, which at a long history's load is a tenth of the time.
QUuid freshId()
{
    static const QUuid base = QUuid::createUuid();
    static std::atomic<quint64> counter{0};
    const quint64 n = counter.fetch_add(1, std::memory_order_relaxed);
    QUuid id = base;
    id.data1 ^= quint32(n);
    id.data2 ^= quint16(n >> 32);
    return id;
}

} // namespace

ClipboardEntry::ClipboardEntry(QString mimetype, std::optional<QString> textContent,
                               std::optional<QByteArray> imageData,
                               std::optional<QString> imageFileURL, bool isFavorite,
                               QDateTime timestamp)
    : m_id(freshId())
    , m_mimetype(std::move(mimetype))
    , m_textContent(std::move(textContent))
    , m_imageFileURL(std::move(imageFileURL))
    , m_isFavorite(isFavorite)
    , m_timestamp(std::move(timestamp))
    , m_loadedImageData(std::move(imageData))
{}

QString ClipboardEntry::idString() const
{
    return m_id.toString(QUuid::WithoutBraces);
}

QString ClipboardEntry::hash() const
{
    if (m_cachedHash)
        return *m_cachedHash;
    QByteArray bytes;
    if (m_textContent)
        bytes = m_textContent->toUtf8();
    else if (auto image = imageBytes())
        bytes = std::move(*image);
    m_cachedHash =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    return *m_cachedHash;
}

void ClipboardEntry::adoptHash(const QString& hash) const
{
    if (!m_cachedHash)
        m_cachedHash = hash;
}

bool ClipboardEntry::isImage() const
{
    return !m_textContent && (m_loadedImageData || m_imageFileURL);
}

std::optional<QByteArray> ImageSource::read() const
{
    if (bytes)
        return bytes;
    if (path.isEmpty())
        return std::nullopt;
    auto read = AppPaths::readPrivateFile(path, ClipboardEntry::maxImageFileBytes);
    if (!read)
        return std::nullopt;
    return std::move(read.value());
}

std::optional<QSize> ImageSource::probeSize() const
{
    if (bytes)
        return ImageDecoder::probe(*bytes);
    if (path.isEmpty())
        return std::nullopt;
    auto file = AppPaths::openPrivateFile(path, ClipboardEntry::maxImageFileBytes);
    if (!file)
        return std::nullopt;
    return ImageDecoder::probe(*file.value());
}

ImageSource ClipboardEntry::imageSource() const
{
    if (m_textContent)
        return {};
    return {m_loadedImageData, m_imageFileURL.value_or(QString())};
}

std::optional<QByteArray> ClipboardEntry::imageBytes() const
{
    if (m_textContent)
        return std::nullopt;
    return imageSource().read();
}

QString ClipboardEntry::previewText() const
{
    if (m_cachedPreview)
        return *m_cachedPreview;
    // Only the start of a text is looked at: the preview of a text of megabytes, or of one
    // letter under millions of accents, costs what that of a short one does. An image has none:
    // the interface names it in its own language.
    QString text;
    if (m_textContent) {
        const DisplayText::Prefix source =
            DisplayText::prefix(*m_textContent, kPreviewSourceUnits, true);
        text = source.text.trimmed();
        const auto [head, more] = DisplayText::firstGraphemes(text, kPreviewLimit);
        if (more || !source.complete)
            text = DisplayText::firstGraphemes(head, kPreviewLimit - 1).first + u'\u2026';
    }
    // Previews are asked for on every paint; the content they derive from never changes.
    m_cachedPreview = text;
    return text;
}

PasteboardItem ClipboardEntry::pasteboardItem() const
{
    PasteboardItem item;
    if (m_textContent) {
        item.setString(PasteboardType::plainText, *m_textContent);
        return item;
    }
    const auto bytes = imageBytes();
    if (!bytes)
        return item;
    // Only the header is read here: a decode of a large image would hold the choice up, and its
    // conversion would hold the uncompressed pixels for as long as the clipboard is ours.
    const QSize size = m_undecodable ? QSize() : ImageDecoder::probe(*bytes).value_or(QSize());
    const QByteArray captured = *bytes;
    const bool png = ImageDecoder::isPng(captured);
    const bool capturedTiff = !png && m_mimetype == PasteboardType::tiff;
    if (!size.isValid() ||
        qint64(size.width()) * size.height() > ImageDecoder::maxConvertedPixels) {
        // Offered as it was captured (under the PNG type when it does not decode at all).
        item.setData(capturedTiff && size.isValid() ? QString(PasteboardType::tiff)
                                                    : QString(PasteboardType::png),
                     captured);
        return item;
    }
    // A program that asks for PNG must get PNG: an image captured as TIFF is converted for it, and
    // its own TIFF bytes stay on offer.
    if (capturedTiff) {
        item.setData(PasteboardType::tiff, captured);
        item.setDeferred(PasteboardType::png, [captured] { return ImageDecoder::asPng(captured); });
    } else if (png) {
        item.setDeferred(PasteboardType::tiff,
                         [captured] { return ImageDecoder::asTiff(captured); });
        item.setData(PasteboardType::png, captured);
    } else {
        // Another format under the PNG type: real PNG and TIFF, both made on request.
        item.setDeferred(PasteboardType::tiff,
                         [captured] { return ImageDecoder::asTiff(captured); });
        item.setDeferred(PasteboardType::png, [captured] { return ImageDecoder::asPng(captured); });
    }
    return item;
}

} // namespace tessel
