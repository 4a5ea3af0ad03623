// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/TextCollections.h"

#include "localization/LanguageManager.h"
#include "pickers/RecordId.h"
#include "pickers/SearchText.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

TextCategory category(const char* titleKey, QStringList items)
{
    return {nextRecordId(), titleKey, std::move(items)};
}

} // namespace

// Written with escapes: the code points are what matters (combining marks, full-width forms,
// a backslash), and an editor must not normalise them.
QList<KaomojiCategory> kaomojiCategories()
{
    return {
        //% "Happy / Laugh"
        category(QT_TRID_NOOP("kaomoji_happy"),
                 {u"(\u2022\u203F\u2022)"_s, u"( \u0361\u00B0 \u035C\u0296 \u0361\u00B0)"_s,
                  u"\u00AF\\_(\u30C4)_/\u00AF"_s, u"(^\u203F^)"_s, u"(\u273F\u25E0\u203F\u25E0)"_s,
                  u"(\u25D5\u203F\u25D5)"_s, u"(\U0001F603)"_s, u"(~_~;)"_s}),
        //% "Table Flip / Action"
        category(QT_TRID_NOOP("kaomoji_action"),
                 {u"(\u256F\u00B0\u25A1\u00B0\uFF09\u256F\uFE35 \u253B\u2501\u253B"_s,
                  u"\u252C\u2500\u252C\u30CE( \u00BA _ \u00BA\u30CE)"_s,
                  u"(\u30CE\u0CA0\u76CA\u0CA0)\u30CE\u5F61\u253B\u2501\u253B"_s,
                  u"( \u2022_\u2022)>\u2310\u25A0-\u25A0"_s, u"(\u2310\u25A0_\u25A0)"_s}),
        //% "Sad / Surprised"
        category(QT_TRID_NOOP("kaomoji_sad"),
                 {u"(\u252C\u252C\uFE4F\u252C\u252C)"_s, u"(\u2022_\u2022)"_s, u"(\u00AC_\u00AC)"_s,
                  u"(\u2299_\u2299)"_s, u"(O_O)"_s, u"(\u0CA0_\u0CA0)"_s, u"(;\uFE4F;)"_s,
                  u"(>_<)"_s}),
        //% "Love / Cute"
        category(QT_TRID_NOOP("kaomoji_love"),
                 {u"(\u2665\u203F\u2665)"_s, u"(\uFF61\u2665\u203F\u2665\uFF61)"_s,
                  u"(\u25D5\u203F\u25D5\u273F)"_s, u"(\u02D8 \u00B3\u02D8)\u2665"_s,
                  u"(\u3065\uFF61\u25D5\u203F\u203F\u25D5\uFF61)\u3065"_s,
                  u"(\u25B0\u02D8\u25E1\u02D8\u25B0)"_s}),
    };
}

QList<SymbolCategory> symbolCategories()
{
    return {
        //% "Currencies"
        category(QT_TRID_NOOP("symbol_currency"),
                 {u"$"_s, u"\u20AC"_s, u"\u00A3"_s, u"\u00A5"_s, u"R$"_s, u"\u20BF"_s, u"\u00A2"_s,
                  u"\u20B9"_s, u"\u20A9"_s, u"\u20BA"_s}),
        //% "Math"
        category(QT_TRID_NOOP("symbol_math"),
                 {u"\u00B1"_s, u"\u221E"_s, u"\u2260"_s, u"\u2248"_s, u"\u2264"_s, u"\u2265"_s,
                  u"\u00F7"_s, u"\u00D7"_s, u"\u221A"_s, u"\u03C0"_s, u"\u2211"_s, u"\u2206"_s,
                  u"\u222B"_s, u"\u2030"_s, u"\u00B0"_s}),
        //% "Punctuation & Symbols"
        category(QT_TRID_NOOP("symbol_punctuation"),
                 {u"\u2014"_s, u"\u2013"_s, u"\u00AB"_s, u"\u00BB"_s, u"\u2122"_s, u"\u00A9"_s,
                  u"\u00AE"_s, u"\u2022"_s, u"\u2020"_s, u"\u2021"_s, u"\u00B6"_s, u"\u00A7"_s,
                  u"\u00A1"_s, u"\u00BF"_s}),
        //% "Arrows"
        category(QT_TRID_NOOP("symbol_arrows"),
                 {u"\u2190"_s, u"\u2192"_s, u"\u2191"_s, u"\u2193"_s, u"\u2194"_s, u"\u2195"_s,
                  u"\u21B5"_s, u"\u21D2"_s, u"\u21D4"_s}),
    };
}

QList<TextCategory> filteredCategories(const QList<TextCategory>& categories,
                                       const QString& searchText, const LanguageManager& languages)
{
    const QString query = SearchText::textPickerQuery(searchText);
    if (query.isEmpty())
        return categories;
    QList<TextCategory> result;
    for (const TextCategory& source : categories) {
        const bool titleMatches =
            SearchText::comparable(languages.string(source.titleKey)).contains(query);
        QStringList kept;
        for (const QString& item : source.items) {
            if (titleMatches || SearchText::comparable(item).contains(query))
                kept.append(item);
        }
        if (!kept.isEmpty())
            result.append(category(source.titleKey, std::move(kept)));
    }
    return result;
}

} // namespace tessel
