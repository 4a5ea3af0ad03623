#include "pickers/EmojiCatalogue.h"
#include "pickers/EmojiCategories.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"

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
        QTest::newRow("invalid UTF-8")
            << "[{\"char\": \"\xff\", \"category\": \"x\"}]"_ba << QStringList{} << true;
        QTest::newRow("an element that is no object")
            << R"([{"char": "a", "category": "Symbols"}, 7])"_ba << QStringList{} << false;
        QTest::newRow("missing or non-string members are dropped")
            << R"([{"char": "a"}, {"char": 1, "category": "Symbols"}, {"char": "b", "category": null},
                   {"char": "c", "category": "Symbols"}])"_ba
            << QStringList{u"c"_s} << false;
        QTest::newRow("duplicates and unknown members are kept")
            << R"([{"char": "a", "category": "X", "extra": 1}, {"char": "a", "category": "X"}])"_ba
            << QStringList{u"a"_s, u"a"_s} << false;
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

    void keywordsKeepTheirCaseNextToTheLowerCasedCopy()
    {
        const auto catalogue =
            EmojiCatalogue::parse(R"([{"char": "x", "category": "S", "keywords": ["ÉCLAIR", "Ab"]},
                {"char": "y", "category": "S", "keywords": ["heart", 3]}])"_ba)
                .catalogue;
        QCOMPARE(catalogue.at(0).keywords, (QStringList{u"ÉCLAIR"_s, u"Ab"_s}));
        QCOMPARE(catalogue.at(0).lowercasedKeywords, (QStringList{u"éclair"_s, u"ab"_s}));
        // A list that is not all strings is no list of keywords.
        QVERIFY(catalogue.at(1).keywords.isEmpty() && catalogue.at(1).lowercasedKeywords.isEmpty());
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
        QTest::newRow("no match across keywords") << u"facesmile"_s << QString() << QStringList{};
        QTest::newRow("part of the character") << u"❤"_s << QString() << QStringList{u"❤️"_s};
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

    void queriesHoldingTheIndexSeparatorStillMatchExactly()
    {
        const auto catalogue =
            EmojiCatalogue::parse("[{\"char\": \"x\", \"category\": \"S\", \"keywords\": "
                                  "[\"ab\", \"a\xef\xbf\xbf"
                                  "b\"]}, {\"char\": \"y\", \"category\": \"S\", "
                                  "\"keywords\": [\"a\", \"b\"]}]"_ba)
                .catalogue;
        QCOMPARE(charactersOf(catalogue, catalogue.search(u"a\uFFFFb"_s)), QStringList{u"x"_s});
    }

    void theShippedCatalogueFindsInEveryLanguageAndCategory()
    {
        const auto loaded = EmojiCatalogue::load(EmojiStore::defaultCataloguePath());
        QVERIFY(!loaded.error);
        const EmojiCatalogue& catalogue = loaded.catalogue;
        for (const QString& query : {u"heart"_s, u"Corazón"_s, u"corac\u0327a\u0303o"_s}) {
            const QStringList found =
                charactersOf(catalogue, EmojiFilter::visibleEmojis(catalogue, query, std::nullopt));
            QVERIFY2(found.contains(u"\u2764\uFE0F"_s), qPrintable(query));
        }
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
};

QTEST_GUILESS_MAIN(TestEmojiCatalogue)
#include "test_emoji_catalogue.moc"
