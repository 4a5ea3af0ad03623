// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/RegistryFormat.h"

#include "clipboard/PasteboardTypes.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Log.h"

#include <QCborMap>
#include <QIODevice>
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
    qsizetype skipped = 0;
    for (const QJsonValue& value : records) {
        // One damaged record costs that record, not the history.
        if (!value.isObject()) {
            ++skipped;
            continue;
        }
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
    if (skipped > 0)
        qCWarning(lcStore, "%lld records of the history registry are no entries; they were skipped",
                  static_cast<long long>(skipped));
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

namespace {
// The array's brackets and the separator between its elements, as the indented format has them.
constexpr QByteArrayView kOpen = "[\n";
constexpr QByteArrayView kClose = "\n]\n";
constexpr QByteArrayView kEmpty = "[\n]\n";
constexpr QByteArrayView kSeparator = ",\n";
// A piece of the registry serialised at once: small enough to cost little memory, large enough
// that a long history of short texts is not serialised record by record.
constexpr qint64 kPieceBytes = 1024 * 1024;
constexpr qsizetype kPieceRecords = 512;
// Records this small are not measured: their bound is close enough.
constexpr qsizetype kMeasuredUnits = 256;

// At most the size of a record: every character escaped as \uXXXX, and the keys with their
// indentation.
qint64 sizeBound(const Planned& planned)
{
    const EntrySnapshot& entry = *planned.entry;
    const qint64 units = entry.mimetype.size() + (entry.text ? entry.text->size() : 0) +
                         (planned.imageFile ? planned.imageFile->size() : 0);
    return 6 * units + 160;
}

// Records [from, to) of `plan` that are kept, as they stand inside the registry's array: each
// indented as an element, separated as elements are. Empty when none is kept.
QByteArray elements(const QList<Planned>& plan, const QList<bool>& kept, qsizetype from,
                    qsizetype to)
{
    QJsonArray array;
    for (qsizetype i = from; i < to; ++i) {
        if (kept.at(i))
            array.append(record(*plan.at(i).entry, plan.at(i).imageFile));
    }
    if (array.isEmpty())
        return {};
    const QByteArray json = QJsonDocument(array).toJson(QJsonDocument::Indented);
    return json.sliced(kOpen.size(), json.size() - kOpen.size() - kClose.size());
}

// Leaves out what does not fit `maxBytes`: nothing, or the oldest unpinned records first, then
// the oldest pinned. Returns their positions, in history order.
QList<qsizetype> leaveOut(const QList<Planned>& plan, QList<bool>& kept, qint64 maxBytes)
{
    qint64 bound = kEmpty.size();
    for (const Planned& planned : plan)
        bound += sizeBound(planned) + kSeparator.size();
    if (bound <= maxBytes)
        return {};
    QList<qint64> sizes;
    sizes.reserve(plan.size());
    qint64 total = kOpen.size() + kClose.size() - kSeparator.size();
    for (qsizetype i = 0; i < plan.size(); ++i) {
        const Planned& planned = plan.at(i);
        const bool small = !planned.entry->text || planned.entry->text->size() <= kMeasuredUnits;
        sizes.append(small ? sizeBound(planned) : elements(plan, kept, i, i + 1).size());
        total += sizes.last() + kSeparator.size();
    }
    QList<qsizetype> leftOut;
    for (const bool pinned : {false, true}) {
        for (qsizetype i = plan.size() - 1; i >= 0 && total > maxBytes; --i) {
            if (kept.at(i) && plan.at(i).entry->isFavorite == pinned) {
                kept[i] = false;
                total -= sizes.at(i) + kSeparator.size();
                leftOut.append(i);
            }
        }
    }
    std::sort(leftOut.begin(), leftOut.end());
    return leftOut;
}
} // namespace

Written write(const QString& path, const QList<Planned>& plan, qint64 maxBytes)
{
    Written written;
    QList<bool> kept(plan.size(), true);
    written.leftOut = leaveOut(plan, kept, maxBytes);
    if (!written.leftOut.isEmpty()) {
        const auto pinned =
            std::count_if(written.leftOut.cbegin(), written.leftOut.cend(),
                          [&](qsizetype i) { return plan.at(i).entry->isFavorite; });
        qCWarning(lcStore).noquote()
            << u"the history is larger than the %1 MiB its registry may take: its %2 oldest "
               "entries (%3 of them pinned) gave way"_s.arg(maxBytes / (1024 * 1024))
                   .arg(written.leftOut.size())
                   .arg(pinned);
    }
    written.result = AppPaths::writePrivateFile(path, [&](QIODevice& file) {
        if (std::none_of(kept.cbegin(), kept.cend(), [](bool k) { return k; }))
            return file.write(kEmpty.data(), kEmpty.size()) == kEmpty.size();
        bool first = true;
        bool ok = file.write(kOpen.data(), kOpen.size()) == kOpen.size();
        for (qsizetype from = 0; ok && from < plan.size();) {
            qsizetype to = from;
            qint64 bytes = 0;
            while (to < plan.size() && to - from < kPieceRecords && bytes < kPieceBytes)
                bytes += sizeBound(plan.at(to++));
            const QByteArray piece = elements(plan, kept, from, to);
            if (!piece.isEmpty()) {
                if (!first)
                    ok = file.write(kSeparator.data(), kSeparator.size()) == kSeparator.size();
                ok = ok && file.write(piece) == piece.size();
                first = false;
            }
            from = to;
        }
        return ok && file.write(kClose.data(), kClose.size()) == kClose.size();
    });
    return written;
}

} // namespace RegistryFormat
} // namespace tessel
