#include "clipboard/RegistryFormat.h"

#include "clipboard/PasteboardTypes.h"
#include "core/Clock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTimeZone>
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
// The string of `types` equal to `type`, added when none is; a handful of types at most.
QString shared(QList<QString>& types, const QString& type)
{
    for (const QString& known : std::as_const(types)) {
        if (known == type)
            return known;
    }
    if (types.size() < 16)
        types.append(type);
    return type;
}
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
    // Every entry of a history usually has one of a few types: one shared string each.
    QList<QString> types{QString(PasteboardType::plainText), QString(PasteboardType::png),
                         QString(PasteboardType::tiff)};
    for (const QJsonValue& value : records) {
        if (!value.isObject())
            return std::nullopt;
        const QJsonObject record = value.toObject();
        const QJsonValue mimetype = record.value(kMimetype);
        const QJsonValue timestamp = record.value(kTimestamp);
        const bool isFavorite = record.value(kFavorite).toBool(false);
        const QString type =
            mimetype.isString() ? shared(types, mimetype.toString()) : types.constFirst();
        const QDateTime when = timestamp.isDouble() ? dateFromSeconds(timestamp.toDouble()) : now;
        if (const QJsonValue text = record.value(kText); text.isString()) {
            entries.append(std::make_shared<ClipboardEntry>(type, text.toString(), std::nullopt,
                                                            std::nullopt, isFavorite, when));
        } else if (const QJsonValue imageFile = record.value(kImageFile);
                   imageFile.isString() && isPlainFileName(imageFile.toString())) {
            entries.append(std::make_shared<ClipboardEntry>(type, std::nullopt, std::nullopt,
                                                            imagesDir + u'/' + imageFile.toString(),
                                                            isFavorite, when));
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
