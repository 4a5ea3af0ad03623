// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/Emoji.h"

#include "pickers/EmojiCategories.h"
#include "pickers/RecordId.h"

#include <QJsonArray>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

QStringList keywordsOf(const QJsonObject& object)
{
    const QJsonValue value = object.value("keywords"_L1);
    if (!value.isArray())
        return {};
    const QJsonArray array = value.toArray();
    QStringList keywords;
    keywords.reserve(array.size());
    for (const QJsonValue& element : array) {
        // A list with one element of another kind is not a list of strings at all.
        if (!element.isString())
            return {};
        keywords.append(element.toString());
    }
    return keywords;
}

std::optional<QString> stringMember(const QJsonObject& object, QLatin1StringView name)
{
    const QJsonValue value = object.value(name);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

} // namespace

Emoji Emoji::make(QString character, QStringList keywords, QString category)
{
    Emoji emoji;
    emoji.id = nextRecordId();
    emoji.character = std::move(character);
    emoji.lowercasedKeywords.reserve(keywords.size());
    for (const QString& keyword : std::as_const(keywords))
        emoji.lowercasedKeywords.append(keyword.toLower());
    emoji.keywords = std::move(keywords);
    emoji.category = std::move(category);
    return emoji;
}

std::optional<Emoji> decodeCatalogueRecord(const QJsonObject& object)
{
    auto character = stringMember(object, "char"_L1);
    auto category = stringMember(object, "category"_L1);
    if (!character || !category)
        return std::nullopt;
    return Emoji::make(std::move(*character), keywordsOf(object), std::move(*category));
}

std::optional<Emoji> decodeRecentRecord(const QJsonObject& object)
{
    auto character = stringMember(object, "char"_L1);
    if (!character)
        return std::nullopt;
    return Emoji::make(std::move(*character), keywordsOf(object),
                       stringMember(object, "category"_L1).value_or(fallbackEmojiCategory));
}

QJsonObject encodeRecentRecord(const Emoji& emoji)
{
    return {{"char"_L1, emoji.character},
            {"keywords"_L1, QJsonArray::fromStringList(emoji.keywords)},
            {"category"_L1, emoji.category}};
}

} // namespace tessel
