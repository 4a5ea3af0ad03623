#include "pickers/EmojiCatalogue.h"
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
    const QByteArray json = R"([
        {"char": "😀", "keywords": ["Grinning Face", "smile"], "category": "Smileys & Body"},
        {"char": "❤️", "keywords": ["red heart", "coração", "corazón"], "category": "Smileys & Body"},
        {"char": "🐱", "keywords": ["cat", "gato"], "category": "Animals & Nature"},
        {"char": "☕", "keywords": ["café"], "category": "Food & Drink"},
        {"char": "🧪", "keywords": ["cafe\u0301 test tube"], "category": "Lab"},
        {"char": "Ω", "category": "Symbols"}
    ])"_ba;
    return EmojiCatalogue::parse(json).catalogue;
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
        QTest::newRow("top level object")
            << R"({"char": "a", "category": "Symbols"})"_ba << QStringList{} << false;
        QTest::newRow("an element that is no object")
            << R"([{"char": "a", "category": "Symbols"}, 7])"_ba << QStringList{} << false;
        QTest::newRow("empty array") << "[]"_ba << QStringList{} << false;
        QTest::newRow("missing category is dropped")
            << R"([{"char": "a"}, {"char": "b", "category": "Symbols"}])"_ba << QStringList{u"b"_s}
            << false;
        QTest::newRow("non-string members are dropped")
            << R"([{"char": 1, "category": "Symbols"}, {"char": "b", "category": null},
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

    void keywordsThatAreNoListOfStringsAreEmpty_data()
    {
        QTest::addColumn<QByteArray>("keywords");
        QTest::newRow("missing") << ""_ba;
        QTest::newRow("single string") << R"(, "keywords": "heart")"_ba;
        QTest::newRow("mixed list") << R"(, "keywords": ["heart", 3])"_ba;
        QTest::newRow("null") << R"(, "keywords": null)"_ba;
    }

    void keywordsThatAreNoListOfStringsAreEmpty()
    {
        QFETCH(QByteArray, keywords);
        const auto result =
            EmojiCatalogue::parse(R"([{"char": "❤", "category": "Symbols")"_ba + keywords + "}]");
        QCOMPARE(result.catalogue.size(), 1);
        QVERIFY(result.catalogue.at(0).keywords.isEmpty());
        QVERIFY(result.catalogue.at(0).lowercasedKeywords.isEmpty());
    }

    void keywordsKeepTheirCaseNextToTheLowerCasedCopy()
    {
        const auto result = EmojiCatalogue::parse(
            R"([{"char": "x", "category": "Symbols", "keywords": ["ÉCLAIR", "Mixed Case", "ΣΊΣΥΦΟΣ"]}])"_ba);
        const Emoji& emoji = result.catalogue.at(0);
        QCOMPARE(emoji.keywords, (QStringList{u"ÉCLAIR"_s, u"Mixed Case"_s, u"ΣΊΣΥΦΟΣ"_s}));
        QCOMPARE(emoji.lowercasedKeywords.size(), 3);
        QCOMPARE(emoji.lowercasedKeywords.at(0), u"éclair"_s);
        QCOMPARE(emoji.lowercasedKeywords.at(1), u"mixed case"_s);
        QVERIFY(emoji.lowercasedKeywords.at(2).startsWith(u"σίσυφο"_s));
    }

    void everyDecodeMakesFreshIdentities()
    {
        const QByteArray json = R"([{"char": "a", "category": "Symbols"}])"_ba;
        const Emoji first = EmojiCatalogue::parse(json).catalogue.at(0);
        const Emoji second = EmojiCatalogue::parse(json).catalogue.at(0);
        QCOMPARE(first.character, second.character);
        QVERIFY(first.id != second.id);
        QVERIFY(!(first == second));
        QVERIFY(first == first);
    }

    void loadingReportsOnlyReadAndParseFailures()
    {
        QTemporaryDir dir;
        QCOMPARE(EmojiCatalogue::load(dir.filePath(u"missing.json"_s)).error, std::nullopt);
        QVERIFY(EmojiCatalogue::load(dir.path()).error.has_value()); // a directory
        QVERIFY(EmojiCatalogue::load(dir.path()).catalogue.isEmpty());
    }

    void categoryRowsFollowCatalogueOrder()
    {
        const EmojiCatalogue catalogue = sample();
        QCOMPARE(catalogue.rowsInCategory(u"Smileys & Body"_s), (QList<qsizetype>{0, 1}));
        QCOMPARE(catalogue.rowsInCategory(u"Lab"_s), (QList<qsizetype>{4}));
        QVERIFY(catalogue.rowsInCategory(u"smileys & body"_s).isEmpty());
    }

    void visibleEmojis_data()
    {
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("category"); // null: all categories
        QTest::addColumn<QStringList>("expected");

        const QStringList all{u"😀"_s, u"❤️"_s, u"🐱"_s, u"☕"_s, u"🧪"_s, u"Ω"_s};
        QTest::newRow("nothing narrows") << u""_s << QString() << all;
        QTest::newRow("spaces and tabs only") << u" \t\u00A0"_s << QString() << all;
        QTest::newRow("category") << u""_s << u"Smileys & Body"_s
                                  << QStringList{u"😀"_s, u"❤️"_s};
        QTest::newRow("spaces only keep the category")
            << u"  "_s << u"Animals & Nature"_s << QStringList{u"🐱"_s};
        QTest::newRow("keyword substring") << u"gat"_s << QString() << QStringList{u"🐱"_s};
        QTest::newRow("search ignores the category")
            << u"cat"_s << u"Food & Drink"_s << QStringList{u"🐱"_s};
        QTest::newRow("upper case and trailing blanks")
            << u"  GRINNING\t"_s << QString() << QStringList{u"😀"_s};
        QTest::newRow("line breaks are not trimmed") << u"cat\n"_s << QString() << QStringList{};
        QTest::newRow("Portuguese") << u"coração"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("Spanish, upper case")
            << u"CORAZÓN"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("decomposed query finds precomposed")
            << u"cafe\u0301"_s << QString() << QStringList{u"☕"_s, u"🧪"_s};
        QTest::newRow("precomposed query finds decomposed")
            << u"café t"_s << QString() << QStringList{u"🧪"_s};
        QTest::newRow("no match across keywords") << u"facesmile"_s << QString() << QStringList{};
        QTest::newRow("the emoji itself") << u"🐱"_s << QString() << QStringList{u"🐱"_s};
        QTest::newRow("part of the character") << u"❤"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("characters are not lower-cased") << u"Ω"_s << QString() << QStringList{};
        QTest::newRow("unknown category is searched")
            << u"tube"_s << QString() << QStringList{u"🧪"_s};
        QTest::newRow("nothing") << u"xyzzy"_s << QString() << QStringList{};
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
            EmojiCatalogue::parse("[{\"char\": \"x\", \"category\": \"Symbols\", \"keywords\": "
                                  "[\"ab\", \"a\xef\xbf\xbf"
                                  "b\"]}, {\"char\": \"y\", \"category\": \"Symbols\", "
                                  "\"keywords\": [\"a\", \"b\"]}]"_ba)
                .catalogue;
        QCOMPARE(charactersOf(catalogue, catalogue.search(u"a\uFFFFb"_s)), QStringList{u"x"_s});
    }

    void recentsShowOnlyWithoutSearchOrCategory_data()
    {
        QTest::addColumn<bool>("hasRecents");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("categorySelected");
        QTest::addColumn<bool>("shown");
        QTest::newRow("all clear") << true << u""_s << false << true;
        QTest::newRow("no recents") << false << u""_s << false << false;
        QTest::newRow("spaces in the field") << true << u"  "_s << false << false;
        QTest::newRow("search") << true << u"cat"_s << false << false;
        QTest::newRow("category") << true << u""_s << true << false;
    }

    void recentsShowOnlyWithoutSearchOrCategory()
    {
        QFETCH(bool, hasRecents);
        QFETCH(QString, searchText);
        QFETCH(bool, categorySelected);
        QFETCH(bool, shown);
        const auto category = categorySelected ? std::optional(u"Flags"_s) : std::nullopt;
        QCOMPARE(EmojiFilter::showsRecents(hasRecents, searchText, category), shown);
    }

    void theShippedCatalogueFindsInEveryLanguage_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("en") << u"heart"_s;
        QTest::newRow("pt") << u"coração"_s;
        QTest::newRow("es") << u"Corazón"_s;
        QTest::newRow("pt decomposed") << u"corac\u0327a\u0303o"_s;
    }

    void theShippedCatalogueFindsInEveryLanguage()
    {
        QFETCH(QString, query);
        const auto result = EmojiCatalogue::load(EmojiStore::defaultCataloguePath());
        QVERIFY(!result.error);
        QCOMPARE(result.catalogue.size(), 1870);
        const QStringList found = charactersOf(
            result.catalogue, EmojiFilter::visibleEmojis(result.catalogue, query, std::nullopt));
        QVERIFY2(found.contains(u"\u2764\uFE0F"_s), qPrintable(found.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(TestEmojiCatalogue)
#include "test_emoji_catalogue.moc"
