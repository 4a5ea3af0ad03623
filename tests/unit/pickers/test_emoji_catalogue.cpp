// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/PasteboardTypes.h"
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "pickers/EmojiCatalogue.h"
#include "pickers/EmojiCategories.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"
#include "pickers/PickerWrite.h"
#include "pickers/TextCollections.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QStringList charactersOf(const EmojiCatalogue& catalogue, const QList<qsizetype>& rows)
{
    QStringList characters;
    for (const qsizetype row : rows)
        characters << catalogue.at(row).character;
    return characters;
}

// A small catalogue covering the search rules: case, accents in both normal forms, a record of
// a category the picker does not offer, one without keywords.
EmojiCatalogue sample()
{
    return EmojiCatalogue::parse(R"([
        {"char": "😀", "keywords": ["Grinning Face", "smile"], "category": "Smileys & Body"},
        {"char": "❤️", "keywords": ["red heart", "coração", "corazón"], "category": "Smileys & Body"},
        {"char": "🐱", "keywords": ["cat", "gato"], "category": "Animals & Nature"},
        {"char": "☕", "keywords": ["café"], "category": "Food & Drink"},
        {"char": "🧪", "keywords": ["cafe\u0301 test tube"], "category": "Lab"},
        {"char": "Ω", "category": "Symbols"}
    ])"_ba)
        .catalogue;
}

// "title key: item item ..." per category, for readable comparisons.
QStringList summary(const QList<TextCategory>& categories)
{
    QStringList lines;
    for (const TextCategory& category : categories)
        lines << QString::fromLatin1(category.titleKey) + u": "_s + category.items.join(u' ');
    return lines;
}

QList<TextCategory> collection(const QString& name)
{
    return name == "kaomoji"_L1 ? kaomojiCategories() : symbolCategories();
}
} // namespace

class TestEmojiCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesRecordsAsTheyStand_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<bool>("reportsError");
        QTest::newRow("not JSON") << "[{\"char\": "_ba << QStringList{} << true;
        QTest::newRow("an element that is no object")
            << R"([{"char": "a", "category": "Symbols"}, 7])"_ba << QStringList{} << false;
        QTest::newRow("missing or non-string members are dropped")
            << R"([{"char": "a"}, {"char": 1, "category": "Symbols"}, {"char": "b", "category": null},
                   {"char": "c", "category": "Symbols"}])"_ba
            << QStringList{u"c"_s} << false;
    }

    void decodesRecordsAsTheyStand()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, characters);
        QFETCH(bool, reportsError);
        const auto result = EmojiCatalogue::parse(json);
        QCOMPARE(result.error.has_value(), reportsError);
        QStringList loaded;
        for (const Emoji& emoji : result.catalogue.emojis())
            loaded << emoji.character;
        QCOMPARE(loaded, characters);
    }

    void loadingReportsOnlyReadAndParseFailures()
    {
        QTemporaryDir dir;
        QCOMPARE(EmojiCatalogue::load(dir.filePath(u"missing.json"_s)).error, std::nullopt);
        QVERIFY(EmojiCatalogue::load(dir.path()).error.has_value()); // a directory
    }

    void visibleEmojis_data()
    {
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("category"); // null: all categories
        QTest::addColumn<QStringList>("expected");

        const QStringList all{u"😀"_s, u"❤️"_s, u"🐱"_s, u"☕"_s, u"🧪"_s, u"Ω"_s};
        QTest::newRow("blanks only") << u" \t\u00A0"_s << QString() << all;
        QTest::newRow("category") << u""_s << u"Smileys & Body"_s
                                  << QStringList{u"😀"_s, u"❤️"_s};
        QTest::newRow("search ignores the category")
            << u"gat"_s << u"Food & Drink"_s << QStringList{u"🐱"_s};
        QTest::newRow("upper case and trailing blanks")
            << u"  GRINNING\t"_s << QString() << QStringList{u"😀"_s};
        QTest::newRow("line breaks are not trimmed") << u"cat\n"_s << QString() << QStringList{};
        QTest::newRow("Spanish, upper case")
            << u"CORAZÓN"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("decomposed query finds precomposed")
            << u"cafe\u0301"_s << QString() << QStringList{u"☕"_s, u"🧪"_s};
        QTest::newRow("precomposed query finds decomposed")
            << u"café t"_s << QString() << QStringList{u"🧪"_s};
        QTest::newRow("accents left out, Portuguese")
            << u"coracao"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("accents left out, Spanish, upper case")
            << u"CORAZON"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("an accented query finds a plain keyword")
            << u"gatô"_s << QString() << QStringList{u"🐱"_s};
        QTest::newRow("plain query finds both forms")
            << u"cafe"_s << QString() << QStringList{u"☕"_s, u"🧪"_s};
        QTest::newRow("part of the character") << u"❤"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("the character with its variation selector")
            << u"❤️"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("characters are not lower-cased") << u"Ω"_s << QString() << QStringList{};
    }

    void visibleEmojis()
    {
        QFETCH(QString, searchText);
        QFETCH(QString, category);
        QFETCH(QStringList, expected);
        const EmojiCatalogue catalogue = sample();
        const auto selected = category.isNull() ? std::nullopt : std::optional(category);
        QCOMPARE(
            charactersOf(catalogue, EmojiFilter::visibleEmojis(catalogue, searchText, selected)),
            expected);
    }

    void theShippedCatalogueFindsInEveryLanguageAndCategory()
    {
        const auto loaded = EmojiCatalogue::load(EmojiStore::defaultCataloguePath());
        QVERIFY(!loaded.error);
        const EmojiCatalogue& catalogue = loaded.catalogue;
        for (const QString& query :
             {u"heart"_s, u"Corazón"_s, u"corac\u0327a\u0303o"_s, u"coracao"_s, u"corazon"_s}) {
            const QStringList found =
                charactersOf(catalogue, EmojiFilter::visibleEmojis(catalogue, query, std::nullopt));
            QVERIFY2(found.contains(u"\u2764\uFE0F"_s), qPrintable(query));
        }
        // Accents count for nothing, both ways: the same emoji for "nino" as for "niño".
        const auto matches = [&](const QString& query) {
            return EmojiFilter::visibleEmojis(catalogue, query, std::nullopt);
        };
        QCOMPARE(matches(u"nino"_s), matches(u"niño"_s));
        QVERIFY(charactersOf(catalogue, matches(u"nino"_s)).contains(u"👦"_s));
        QCOMPARE(matches(u"coracao"_s), matches(u"coração"_s));
        int total = 0;
        for (const EmojiCategory& category : emojiCategories) {
            const auto rows = catalogue.rowsInCategory(category.name);
            QVERIFY2(!rows.isEmpty(), category.name.data());
            // Each category is one contiguous run, so a grid can show it as a range.
            QCOMPARE(rows.last() - rows.first() + 1, rows.size());
            total += int(rows.size());
        }
        QCOMPARE(total, catalogue.size());
    }

    void filteredCategories_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QStringList>("expected"); // empty: the whole collection unchanged

        QTest::newRow("blanks and line breaks")
            << u"symbols"_s << u"en"_s << u" \n\t\r"_s << QStringList{};
        QTest::newRow("O_O upper, padded")
            << u"kaomoji"_s << u"en"_s << u"\n O_O "_s << QStringList{u"kaomoji_sad: (O_O)"_s};
        QTest::newRow("title in another language")
            << u"kaomoji"_s << u"pt"_s << u"flip"_s << QStringList{u"-"_s};
        QTest::newRow("whole title, Portuguese, decomposed")
            << u"kaomoji"_s << u"pt"_s << u"MESA / AC\u0327A\u0303O"_s
            << QStringList{u"kaomoji_action: (╯°□°）╯︵ ┻━┻ ┬─┬ノ( º _ ºノ) (ノಠ益ಠ)ノ彡┻━┻ "
                           "( •_•)>⌐■-■ (⌐■_■)"_s};
        QTest::newRow("dollar") << u"symbols"_s << u"en"_s << u"$"_s
                                << QStringList{u"symbol_currency: $ R$"_s};
        QTest::newRow("Spanish title") << u"symbols"_s << u"es"_s << u"flechas"_s
                                       << QStringList{u"symbol_arrows: ← → ↑ ↓ ↔ ↕ ↵ ⇒ ⇔"_s};
        QTest::newRow("Portuguese title without its accents")
            << u"kaomoji"_s << u"pt"_s << u"acao"_s
            << QStringList{u"kaomoji_action: (╯°□°）╯︵ ┻━┻ ┬─┬ノ( º _ ºノ) (ノಠ益ಠ)ノ彡┻━┻ "
                           "( •_•)>⌐■-■ (⌐■_■)"_s};
        QTest::newRow("Spanish title with an accent it does not have")
            << u"symbols"_s << u"es"_s << u"mónedas"_s
            << QStringList{u"symbol_currency: $ € £ ¥ R$ ₿ ¢ ₹ ₩ ₺"_s};
        QTest::newRow("nothing") << u"symbols"_s << u"en"_s << u"xyz"_s << QStringList{u"-"_s};
    }

    void filteredCategories()
    {
        QFETCH(QString, name);
        QFETCH(QString, language);
        QFETCH(QString, searchText);
        QFETCH(QStringList, expected);
        test::TempHome home;
        SettingsStore settings(SettingsStore::defaultFilePath());
        settings.set(settings::appLanguage, language);
        const LanguageManager languages(settings, [] { return QStringList(); });

        const QList<TextCategory> categories = collection(name);
        const QList<TextCategory> shown =
            tessel::filteredCategories(categories, searchText, languages);
        if (expected.isEmpty()) {
            QCOMPARE(shown, categories);
        } else if (expected == QStringList{u"-"_s}) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(summary(shown), expected);
            for (const TextCategory& category : shown)
                QVERIFY(category.id != categories.first().id);
        }
    }

    void thePickerWriteIsTransientPlainText()
    {
        const QString text = u"( \u0361\u00B0 \u035C\u0296 \u0361\u00B0) 🇧🇷"_s;
        test::MemoryPasteboard pasteboard;
        PasteboardItem previous;
        previous.setString(u"text/html"_s, u"<b>old</b>"_s);
        pasteboard.writeExternal(previous);
        const qint64 before = pasteboard.changeCount();
        writePickedText(pasteboard, text);
        QCOMPARE(pasteboard.types(),
                 (QStringList{PasteboardType::plainText, PasteboardType::transient}));
        QCOMPARE(pasteboard.stringForType(PasteboardType::plainText), text);
        QCOMPARE(*pasteboard.dataForType(PasteboardType::transient), "1"_ba);
        QVERIFY(pasteboard.changeCount() > before);
    }
};

QTEST_GUILESS_MAIN(TestEmojiCatalogue)
#include "test_emoji_catalogue.moc"
