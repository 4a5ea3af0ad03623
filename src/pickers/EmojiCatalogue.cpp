// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/EmojiCatalogue.h"

#include "pickers/SearchText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

// A noncharacter: practically never part of a keyword or a query.
constexpr QChar separator(0xFFFF);

} // namespace

EmojiCatalogue::EmojiCatalogue(QList<Emoji> emojis)
    : m_emojis(std::move(emojis))
{
    m_keywordStart.reserve(m_emojis.size() + 1);
    m_comparableCharacters.reserve(m_emojis.size());
    for (qsizetype row = 0; row < m_emojis.size(); ++row) {
        const Emoji& emoji = m_emojis.at(row);
        m_keywordStart.append(m_keywordText.size());
        for (const QString& keyword : emoji.lowercasedKeywords) {
            m_keywordText += separator;
            m_keywordText += SearchText::withoutMarks(keyword);
        }
        // The character is compared as it is, not lower-cased.
        m_comparableCharacters.append(SearchText::withoutMarks(emoji.character));
        m_rowsByCategory[emoji.category].append(row);
    }
    m_keywordStart.append(m_keywordText.size());
    m_keywordText.squeeze();
}

EmojiCatalogue::LoadResult EmojiCatalogue::load(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return parse(bytes);
}

EmojiCatalogue::LoadResult EmojiCatalogue::parse(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return {{}, error.errorString() + " at offset "_L1 + QString::number(error.offset)};
    if (!document.isArray())
        return {};
    const QJsonArray array = document.array();
    QList<Emoji> emojis;
    emojis.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            return {};
        if (auto emoji = decodeCatalogueRecord(element.toObject()))
            emojis.append(std::move(*emoji));
    }
    return {EmojiCatalogue(std::move(emojis)), std::nullopt};
}

QList<qsizetype> EmojiCatalogue::rowsInCategory(const QString& category) const
{
    return m_rowsByCategory.value(category);
}

QList<qsizetype> EmojiCatalogue::search(const QString& query) const
{
    if (query.contains(separator))
        return searchKeywordsOneByOne(query);

    std::vector<bool> matched(size_t(m_emojis.size()), false);
    if (!query.isEmpty()) {
        // Without the separator in the query, a hit cannot straddle two keywords; after a hit
        // the scan resumes at the next row, so it costs one pass plus one step per match.
        const QStringView text(m_keywordText);
        qsizetype from = 0;
        qsizetype at = 0;
        while ((at = text.indexOf(query, from)) >= 0) {
            const auto next = std::upper_bound(m_keywordStart.cbegin(), m_keywordStart.cend(), at);
            const auto row = qsizetype(next - m_keywordStart.cbegin()) - 1;
            matched[size_t(row)] = true;
            from = *next;
        }
    }
    QList<qsizetype> rows;
    for (qsizetype row = 0; row < m_emojis.size(); ++row) {
        if (matched[size_t(row)] || m_comparableCharacters.at(row).contains(query))
            rows.append(row);
    }
    return rows;
}

QList<qsizetype> EmojiCatalogue::searchKeywordsOneByOne(const QString& query) const
{
    QList<qsizetype> rows;
    for (qsizetype row = 0; row < m_emojis.size(); ++row) {
        const Emoji& emoji = m_emojis.at(row);
        const bool found =
            m_comparableCharacters.at(row).contains(query) ||
            std::any_of(emoji.lowercasedKeywords.cbegin(), emoji.lowercasedKeywords.cend(),
                        [&](const QString& keyword) {
                            return SearchText::withoutMarks(keyword).contains(query);
                        });
        if (found)
            rows.append(row);
    }
    return rows;
}

} // namespace tessel
