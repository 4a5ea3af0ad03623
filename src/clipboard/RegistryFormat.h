// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "core/Result.h"

#include <QJsonArray>
#include <QJsonObject>
#include <memory>
#include <optional>

namespace tessel {

// What the background writer needs of one entry, taken on the main thread when a save starts,
// so that later changes to the entry cannot reach the writer half-way.
struct EntrySnapshot {
    std::weak_ptr<ClipboardEntry> entry;
    QString mimetype;
    bool isFavorite = false;
    double timestamp = 0;
    std::optional<QString> text;
    bool isImage = false;
    std::optional<QByteArray> imageData;
    std::optional<QString> imageFileURL;
    std::optional<QString> hash;

    static EntrySnapshot of(const ClipboardEntryPtr& entry);
};

// The registry's JSON: one object per entry, in history order.
namespace RegistryFormat {

// Entries from a registry document, or nothing when the document is not a JSON array. Elements
// that are no objects are skipped.
std::optional<ClipboardEntryList> parse(const QByteArray& json, const QString& imagesDir);

// The record of one entry. `imageFile` is the blob's file name, for an image whose bytes were
// available.
QJsonObject record(const EntrySnapshot& entry, const std::optional<QString>& imageFile);

// One record of a registry to write.
struct Planned {
    const EntrySnapshot* entry = nullptr;
    std::optional<QString> imageFile;
};

struct Written {
    Result result = Result::success();
    // Positions in the plan of the records left out, in history order.
    QList<qsizetype> leftOut;
};

// Writes the records of `plan`, in order, as the registry at `path` (atomically, privately),
// a few at a time, so that a long history is never held twice in memory. The file never exceeds
// `maxBytes`, the size that is read back: records that would not fit are left out, the oldest
// unpinned first, then the oldest pinned.
Written write(const QString& path, const QList<Planned>& plan, qint64 maxBytes);

} // namespace RegistryFormat
} // namespace tessel
