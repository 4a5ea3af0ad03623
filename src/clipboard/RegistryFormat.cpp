// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/RegistryFormat.h"

#include "clipboard/PasteboardTypes.h"
#include "core/Clock.h"

#include <QCborMap>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTimeZone>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr auto kMimetype = "mimetype"_L1;
constexpr auto kFavorite = "favorite"_L1;
constexpr auto kTimestamp = "timestamp"_L1;
constexpr auto kText = "text"_L1;
constexpr auto kImageFile = "imageFile"_L1;

QDateTime dateFromSeconds(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0), Qt::UTC);
}
// A blob is named by a file name alone; a path could reach files outside the images directory.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != "."_L1 && name != ".."_L1;
}
// Every entry of a history usually has one of a few types: one shared string each, found by
// comparing the record's value as it stands in the document, without a string of its own.
class TypeStrings {
public:
    TypeStrings()
    {
        for (QLatin1StringView type :
             {PasteboardType::plainText, PasteboardType::png, PasteboardType::tiff})
            m_known.append({QCborValue(type), QString(type)});
    }

    QString of(const QCborValue& type)
    {
        if (!type.isString())
            return m_known.constFirst().second;
        for (const auto& [value, string] : std::as_const(m_known)) {
            if (value == type)
                return string;
        }
        QString string = type.toString();
        if (m_known.size() < 16)
            m_known.append({type, string});
        return string;
    }

private:
    QList<std::pair<QCborValue, QString>> m_known;
};

// JSON numbers: whole ones are kept as integers.
bool isNumber(const QCborValue& value)
{
    return value.isDouble() || value.isInteger();
}

// The fields of one record, found in one pass over its keys rather than a look-up per field. The
// keys are compared as CBOR values of the same document, so that none is copied into a string, and
// in the order a parsed object keeps them (sorted), so that each usually matches at the first try.
struct Fields {
    QCborValue favorite, imageFile, mimetype, text, timestamp;

    explicit Fields(const QJsonObject& record)
    {
        static const std::array<QCborValue, 5> keys{QCborValue(kFavorite), QCborValue(kImageFile),
                                                    QCborValue(kMimetype), QCborValue(kText),
                                                    QCborValue(kTimestamp)};
        const std::array<QCborValue*, 5> fields{&favorite, &imageFile, &mimetype, &text,
                                                &timestamp};
        const QCborMap map = QCborMap::fromJsonObject(record);
        std::size_t next = 0;
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QCborValue key = it.key();
            for (std::size_t tried = 0; tried < keys.size(); ++tried) {
                const std::size_t i = (next + tried) % keys.size();
                if (key == keys[i]) {
                    *fields[i] = it.value();
                    next = i + 1;
                    break;
                }
            }
        }
    }
};
} // namespace

EntrySnapshot EntrySnapshot::of(const ClipboardEntryPtr& entry)
{
    EntrySnapshot s;
    s.entry = entry;
    s.mimetype = entry->mimetype();
    s.isFavorite = entry->isFavorite();
    s.timestamp = double(entry->timestamp().toMSecsSinceEpoch()) / 1000.0;
    s.text = entry->textContent();
    s.isImage = entry->isImage();
    if (s.isImage) {
        s.imageData = entry->loadedImageData();
        s.imageFileURL = entry->imageFileURL();
        s.hash = entry->cachedHash();
    }
    return s;
}

namespace RegistryFormat {

std::optional<ClipboardEntryList> parse(const QByteArray& json, const QString& imagesDir)
{
    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    const QJsonArray records = doc.array();
    ClipboardEntryList entries;
    entries.reserve(records.size());
    const QDateTime now = Clock::nowUtc();
    TypeStrings types;
    for (const QJsonValue& value : records) {
        if (!value.isObject())
            return std::nullopt;
        const Fields fields(value.toObject());
        const QString type = types.of(fields.mimetype);
        const QDateTime when =
            isNumber(fields.timestamp) ? dateFromSeconds(fields.timestamp.toDouble()) : now;
        const bool isFavorite = fields.favorite.toBool(false);
        if (fields.text.isString()) {
            entries.append(std::make_shared<ClipboardEntry>(
                type, fields.text.toString(), std::nullopt, std::nullopt, isFavorite, when));
        } else if (QString name = fields.imageFile.toString(); isPlainFileName(name)) {
            entries.append(std::make_shared<ClipboardEntry>(
                type, std::nullopt, std::nullopt, imagesDir + u'/' + name, isFavorite, when));
        }
    }
    return entries;
}

QJsonObject record(const EntrySnapshot& entry, const std::optional<QString>& imageFile)
{
    QJsonObject object{
        {kMimetype, entry.mimetype}, {kFavorite, entry.isFavorite}, {kTimestamp, entry.timestamp}};
    if (entry.text)
        object.insert(kText, *entry.text);
    else if (imageFile)
        object.insert(kImageFile, *imageFile);
    return object;
}

} // namespace RegistryFormat
} // namespace tessel
