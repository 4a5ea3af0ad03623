// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tessel {

// One emoji of the catalogue or of the recents list.
struct Emoji {
    // Identity for lists: fresh every time a record is made or decoded, never stored.
    quint64 id = 0;
    // Exactly the text to paste (may be several code points: sequences, flags, keycaps).
    QString character;
    // Search words as written in the data, case kept.
    QStringList keywords;
    QString category;
    // `keywords` lower-cased, same order and length.
    QStringList lowercasedKeywords;

    // A record with a fresh id and its lower-cased keywords.
    static Emoji make(QString character, QStringList keywords, QString category);

    // All five fields, id included: records decoded separately are never equal.
    friend bool operator==(const Emoji&, const Emoji&) = default;
};

// Decoding of one JSON object. "char" must be a string; "keywords" that is missing or not an
// array of strings gives no keywords.

// A catalogue record: "category" must be a string, otherwise there is no record.
std::optional<Emoji> decodeCatalogueRecord(const QJsonObject& object);
// A stored recent: a missing or non-string "category" becomes "Outros".
std::optional<Emoji> decodeRecentRecord(const QJsonObject& object);
// The stored form of a recent: "char", "keywords" (as read) and "category".
QJsonObject encodeRecentRecord(const Emoji& emoji);

} // namespace tessel
