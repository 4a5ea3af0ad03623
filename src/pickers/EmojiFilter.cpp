// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/EmojiFilter.h"

#include "pickers/EmojiCatalogue.h"
#include "pickers/SearchText.h"

#include <numeric>

namespace tessel::EmojiFilter {

QList<qsizetype> visibleEmojis(const EmojiCatalogue& catalogue, const QString& searchText,
                               const std::optional<QString>& selectedCategory)
{
    const QString query = SearchText::emojiQuery(searchText);
    if (!query.isEmpty())
        return catalogue.search(query);
    if (selectedCategory)
        return catalogue.rowsInCategory(*selectedCategory);
    QList<qsizetype> rows(catalogue.size());
    std::iota(rows.begin(), rows.end(), qsizetype(0));
    return rows;
}

bool showsRecents(bool hasRecents, const QString& searchText,
                  const std::optional<QString>& selectedCategory)
{
    return hasRecents && searchText.isEmpty() && !selectedCategory;
}

} // namespace tessel::EmojiFilter
