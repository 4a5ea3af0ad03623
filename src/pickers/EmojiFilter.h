// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace tessel {

class EmojiCatalogue;

// What the emoji tab shows for a search text and a selected category (none: all categories).
namespace EmojiFilter {

// The rows of the main grid: with a query (spaces and tabs trimmed, lower-cased), every match
// in the whole catalogue whatever the category; without one, the selected category, or all.
QList<qsizetype> visibleEmojis(const EmojiCatalogue& catalogue, const QString& searchText,
                               const std::optional<QString>& selectedCategory);

// Whether the recents section and the two section titles are shown: only with recents, an
// empty search field (untrimmed: spaces alone hide it) and no category selected.
bool showsRecents(bool hasRecents, const QString& searchText,
                  const std::optional<QString>& selectedCategory);

} // namespace EmojiFilter
} // namespace tessel
