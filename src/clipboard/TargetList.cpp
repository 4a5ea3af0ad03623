// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/TargetList.h"

#include "clipboard/PasteboardTypes.h"

#include <QSet>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace tessel::TargetList {

namespace {

struct StandardTarget {
    QLatin1StringView type;
    QLatin1StringView target;
    TextEncoding encoding = TextEncoding::utf8;
};

// The targets that carry Tessel's three standard types. The first target of a type is the one
// written; for text the order is also the order of preference when reading.
constexpr std::array kStandardTargets{
    StandardTarget{PasteboardType::plainText, "text/plain"_L1},
    StandardTarget{PasteboardType::plainText, "UTF8_STRING"_L1},
    StandardTarget{PasteboardType::plainText, "text/plain;charset=utf-8"_L1},
    StandardTarget{PasteboardType::plainText, "STRING"_L1, TextEncoding::latin1},
    StandardTarget{PasteboardType::plainText, "TEXT"_L1, TextEncoding::latin1},
    StandardTarget{PasteboardType::png, "image/png"_L1},
    StandardTarget{PasteboardType::tiff, "image/tiff"_L1},
};

// Reading prefers the targets that are UTF-8 by definition over text/plain, whose charset is
// unstated (UTF-8 in practice).
constexpr std::array kTextReadOrder{"UTF8_STRING"_L1, "text/plain;charset=utf-8"_L1,
                                    "text/plain"_L1, "STRING"_L1, "TEXT"_L1};

constexpr std::array kProtocolTargets{
    "TARGETS"_L1, "MULTIPLE"_L1,         "TIMESTAMP"_L1,       "SAVE_TARGETS"_L1,
    "DELETE"_L1,  "INSERT_SELECTION"_L1, "INSERT_PROPERTY"_L1, "application/x-qt-image"_L1};

const StandardTarget* standardTarget(QAnyStringView target)
{
    for (const auto& entry : kStandardTargets) {
        if (QAnyStringView::compare(target, entry.target, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

} // namespace

QString typeForTarget(QLatin1StringView target)
{
    const auto* standard = standardTarget(target);
    return standard ? QString(standard->type) : QString(target);
}

QString typeForTarget(const QString& target)
{
    const auto* standard = standardTarget(target);
    return standard ? QString(standard->type) : target;
}

QString targetForType(const QString& type)
{
    const auto it = std::find_if(kStandardTargets.begin(), kStandardTargets.end(),
                                 [&](const StandardTarget& entry) { return type == entry.type; });
    return it != kStandardTargets.end() ? QString(it->target) : type;
}

QList<TextTarget> targetsOf(const QString& type)
{
    QList<TextTarget> targets;
    for (const auto& entry : kStandardTargets) {
        if (entry.type == type)
            targets.append({QString(entry.target), entry.encoding});
    }
    if (targets.isEmpty())
        targets.append({type, TextEncoding::utf8});
    return targets;
}

bool isProtocolTarget(const QString& target)
{
    return std::find(kProtocolTargets.begin(), kProtocolTargets.end(), target) !=
           kProtocolTargets.end();
}

Offer fromTargets(const QStringList& targets)
{
    Offer offer;
    QSet<QString> seen;
    // The position of the best text target found so far in kTextReadOrder.
    auto bestText = kTextReadOrder.end();
    const qsizetype count = std::min(targets.size(), maxTargets);
    for (qsizetype i = 0; i < count; ++i) {
        const QString& target = targets.at(i);
        if (target.isEmpty() || isProtocolTarget(target))
            continue;
        const auto* standard = standardTarget(target);
        const QString type = standard ? QString(standard->type) : target;
        if (standard && standard->type == PasteboardType::png && offer.pngTarget.isEmpty())
            offer.pngTarget = target;
        if (standard && standard->type == PasteboardType::tiff && offer.tiffTarget.isEmpty())
            offer.tiffTarget = target;
        if (standard && standard->type == PasteboardType::plainText) {
            const auto rank = std::find_if(
                kTextReadOrder.begin(), kTextReadOrder.end(), [&](QLatin1StringView name) {
                    return target.compare(name, Qt::CaseInsensitive) == 0;
                });
            if (rank < bestText) {
                bestText = rank;
                offer.text = {target, standard->encoding};
            }
        }
        if (!seen.contains(type)) {
            seen.insert(type);
            offer.types.append(type);
        }
    }
    return offer;
}

QString decodeText(const QByteArray& bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
}

} // namespace tessel::TargetList
