// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tessel {

class LanguageManager;

// A titled group of the kaomoji or the symbols picker.
struct TextCategory {
    // Identity for lists: fresh for every instance, never stored.
    quint64 id = 0;
    // Text id of the title (a string literal).
    const char* titleKey = nullptr;
    // In display order, each exactly the text to paste.
    QStringList items;

    friend bool operator==(const TextCategory&, const TextCategory&) = default;
};

using KaomojiCategory = TextCategory;
using SymbolCategory = TextCategory;

// The built-in collections, made afresh (new ids) on every call.
QList<KaomojiCategory> kaomojiCategories();
QList<SymbolCategory> symbolCategories();

// What the kaomoji and symbols pickers show for a search text. Without a query (white space and
// line breaks trimmed) the categories come back unchanged. Otherwise each category keeps the
// items that contain the lower-cased query, or all of them when its title in the language in
// force contains it; categories left empty are dropped and kept ones get a new id.
QList<TextCategory> filteredCategories(const QList<TextCategory>& categories,
                                       const QString& searchText, const LanguageManager& languages);

} // namespace tessel
