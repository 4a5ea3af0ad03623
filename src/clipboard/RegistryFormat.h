// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

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

// Entries from a registry document, or nothing when the document is not an array of objects.
std::optional<ClipboardEntryList> parse(const QByteArray& json, const QString& imagesDir);

// The record of one entry. `imageFile` is the blob's file name, for an image whose bytes were
// available.
QJsonObject record(const EntrySnapshot& entry, const std::optional<QString>& imageFile);

} // namespace RegistryFormat
} // namespace tessel
