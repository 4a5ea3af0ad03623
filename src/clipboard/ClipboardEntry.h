// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>
#include <QUuid>
#include <memory>
#include <optional>

namespace tessel {

// Where an image entry's bytes are, taken on the main thread so that any thread can read them:
// the bytes held in memory, else the blob's path.
struct ImageSource {
    std::optional<QByteArray> bytes;
    QString path;

    // The bytes: those held, else the blob's contents (a regular file of at most
    // ClipboardEntry::maxImageFileBytes, never read through a link); nothing when neither is there.
    std::optional<QByteArray> read() const;
    // The size the image announces, read from the header alone; nothing when it is no image that
    // can be decoded.
    std::optional<QSize> probeSize() const;
};

// One item of the clipboard history: a text, or one image. A reference object: the history, the
// views and the store's hand-back all hold the very same entry. Main thread only; the store's
// background writer works on a snapshot, never on the entry.
class ClipboardEntry {
public:
    // The largest image file that is read back; a bigger one counts as unreadable.
    static constexpr qint64 maxImageFileBytes = 64LL * 1024 * 1024;

    ClipboardEntry(QString mimetype, std::optional<QString> textContent,
                   std::optional<QByteArray> imageData, std::optional<QString> imageFileURL,
                   bool isFavorite, QDateTime timestamp);

    // Fresh at every construction and never stored: identity for lists and the image cache.
    const QUuid& id() const { return m_id; }
    QString idString() const;
    const QString& mimetype() const { return m_mimetype; }
    const std::optional<QString>& textContent() const { return m_textContent; }
    // Local path of the image's blob; absent for a new image until its first save.
    const std::optional<QString>& imageFileURL() const { return m_imageFileURL; }
    bool isFavorite() const { return m_isFavorite; }
    const QDateTime& timestamp() const { return m_timestamp; }
    const std::optional<QByteArray>& loadedImageData() const { return m_loadedImageData; }

    void setFavorite(bool favorite) { m_isFavorite = favorite; }
    void setTimestamp(const QDateTime& timestamp) { m_timestamp = timestamp; }
    void setImageFileURL(const QString& path) { m_imageFileURL = path; }
    void dropLoadedImageData() { m_loadedImageData.reset(); }

    // SHA-256 of the content (text as UTF-8, else image bytes; no bytes: of empty input), as 64
    // lower-case hex digits. Computed once; a later change of the blob file does not alter it.
    QString hash() const;
    std::optional<QString> cachedHash() const { return m_cachedHash; }
    // Lets the store hand back a hash it computed from the same bytes off the main thread.
    void adoptHash(const QString& hash) const;

    bool isImage() const;
    // One line of at most 48 user-perceived characters, from a bounded start of the text (at most
    // a few combining marks per character): cut with an ellipsis where there is more. Empty for
    // an image, which the interface names in its own language.
    QString previewText() const;
    // A new item holding the content: text under the plain-text type; an image as TIFF and as
    // PNG, each in its real format: the stored bytes under their own format, and the other made
    // from them only when a program asks for it (no decoded copy is held for it). An image above
    // ImageDecoder::maxConvertedPixels is offered in its own format alone, one whose header does
    // not decode under the PNG type alone, as captured. Empty when the bytes are gone.
    PasteboardItem pasteboardItem() const;
    // The image bytes: those in memory, else the blob's contents (a regular file of at most
    // `maxImageFileBytes`, never read through a link); nothing when neither is there.
    std::optional<QByteArray> imageBytes() const;
    // Where the image bytes are, for a decode on another thread (ImageLoader).
    ImageSource imageSource() const;

    // What decoding has learnt of the image; content named by its hash never changes, so both
    // hold for the entry's life. Bytes that failed to decode once are not decoded again.
    bool isUndecodable() const { return m_undecodable; }
    void markUndecodable() const { m_undecodable = true; }
    // The image's own size, once a decode or a look at its header has found it.
    const std::optional<QSize>& imageSize() const { return m_imageSize; }
    void setImageSize(QSize size) const { m_imageSize = size; }

    // The text in the form a search compares it in: derived by the search, once, and kept with
    // the entry, whose content never changes. Absent until set.
    const std::optional<QString>& searchForm() const { return m_searchForm; }
    void setSearchForm(QString form) const { m_searchForm = std::move(form); }

    // Equal content, not identity.
    friend bool operator==(const ClipboardEntry& a, const ClipboardEntry& b)
    {
        return a.hash() == b.hash();
    }

private:
    QUuid m_id;
    QString m_mimetype;
    std::optional<QString> m_textContent;
    std::optional<QString> m_imageFileURL;
    bool m_isFavorite;
    QDateTime m_timestamp;
    std::optional<QByteArray> m_loadedImageData;
    mutable std::optional<QString> m_cachedHash;
    mutable std::optional<QString> m_cachedPreview;
    mutable std::optional<QString> m_searchForm;
    mutable std::optional<QSize> m_imageSize;
    mutable bool m_undecodable = false;
};

using ClipboardEntryPtr = std::shared_ptr<ClipboardEntry>;
using ClipboardEntryList = QList<ClipboardEntryPtr>;

} // namespace tessel
