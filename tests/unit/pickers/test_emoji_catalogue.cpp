#include "pickers/EmojiCatalogue.h"
#include "pickers/EmojiCategories.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

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

const QString emojiTestPath = u"/usr/share/unicode/emoji/emoji-test.txt"_s;
const QString cldrPath = u"/usr/share/unicode/cldr/common"_s;

struct Expected {
    QString character;
    QString category;
};

// The catalogue's selection rule, written independently of the generator: fully-qualified,
// no skin tone, no Component group, the two people groups merged.
QList<Expected> expectedFromEmojiTest()
{
    QFile file(emojiTestPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<Expected> expected;
    QString group;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith("# group:"_L1)) {
            group = line.sliced(8).trimmed();
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype semicolon = line.indexOf(u';');
        const QString status = line.sliced(semicolon + 1).section(u'#', 0, 0).trimmed();
        if (status != "fully-qualified"_L1 || group == "Component"_L1)
            continue;
        QString character;
        bool skinTone = false;
        for (const QString& hex : line.first(semicolon).split(u' ', Qt::SkipEmptyParts)) {
            const char32_t cp = hex.toUInt(nullptr, 16);
            skinTone = skinTone || (cp >= 0x1F3FB && cp <= 0x1F3FF);
            character += QString::fromUcs4(&cp, 1);
        }
        if (skinTone)
            continue;
        const bool people = group == "Smileys & Emotion"_L1 || group == "People & Body"_L1;
        expected.append({character, people ? u"Smileys & Body"_s : group});
    }
    return expected;
}

// CLDR's names and keywords, by emoji without U+FE0F, lower-cased.
QHash<QString, QStringList> cldrWords(const QString& language)
{
    QHash<QString, QStringList> words;
    for (const char* folder : {"annotations", "annotationsDerived"}) {
        QFile file(cldrPath + u'/' + QLatin1StringView(folder) + u'/' + language + ".xml"_L1);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != "annotation"_L1)
                continue;
            const QString cp = xml.attributes().value("cp"_L1).toString();
            for (const QString& word : xml.readElementText().split(u'|', Qt::SkipEmptyParts))
                words[cp].append(word.trimmed().toLower());
        }
    }
    return words;
}

} // namespace

class TestEmojiCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const auto result = EmojiCatalogue::load(EmojiStore::defaultCataloguePath());
        QVERIFY(!result.error);
        m_catalogue = result.catalogue;
    }

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
        QTest::newRow("mixed list") << R"(, "keywords": ["heart", 3])"_ba;
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
        QTest::newRow("keyword substring") << u"gat"_s << QString() << QStringList{u"🐱"_s};
        QTest::newRow("search ignores the category")
            << u"cat"_s << u"Food & Drink"_s << QStringList{u"🐱"_s};
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
        QTest::newRow("the emoji itself") << u"🐱"_s << QString() << QStringList{u"🐱"_s};
        QTest::newRow("part of the character") << u"❤"_s << QString() << QStringList{u"❤️"_s};
        QTest::newRow("characters are not lower-cased") << u"Ω"_s << QString() << QStringList{};
        QTest::newRow("unknown category is searched")
            << u"tube"_s << QString() << QStringList{u"🧪"_s};
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

    void theShippedCatalogueFindsInEveryLanguage_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("en") << u"heart"_s;
        QTest::newRow("es") << u"Corazón"_s;
        QTest::newRow("pt decomposed") << u"corac\u0327a\u0303o"_s;
    }

    void theShippedCatalogueFindsInEveryLanguage()
    {
        QFETCH(QString, query);
        const QStringList found =
            charactersOf(m_catalogue, EmojiFilter::visibleEmojis(m_catalogue, query, std::nullopt));
        QVERIFY2(found.contains(u"\u2764\uFE0F"_s), qPrintable(found.join(u' ')));
    }

    // The committed catalogue against the Unicode and CLDR data it is generated from
    // (tools/generate_emoji_json.py), when those are installed.
    void everyCategoryIsOneThePickerOffers()
    {
        int total = 0;
        for (const EmojiCategory& category : emojiCategories) {
            const auto rows = m_catalogue.rowsInCategory(category.name);
            QVERIFY2(!rows.isEmpty(), category.name.data());
            // Each category is one contiguous run, so a grid can show it as a range.
            QCOMPARE(rows.last() - rows.first() + 1, rows.size());
            total += int(rows.size());
        }
        QCOMPARE(total, m_catalogue.size());
    }

    void matchesUnicodeEmojiTest()
    {
        const QList<Expected> expected = expectedFromEmojiTest();
        if (expected.isEmpty())
            QSKIP("emoji-test.txt is not installed (Debian package unicode-data)");
        QCOMPARE(m_catalogue.size(), expected.size());
        QHash<QString, int> expectedCounts;
        QHash<QString, int> counts;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(m_catalogue.at(i).character, expected.at(i).character);
            QCOMPARE(m_catalogue.at(i).category, expected.at(i).category);
            ++expectedCounts[expected.at(i).category];
            ++counts[m_catalogue.at(i).category];
        }
        QCOMPARE(counts, expectedCounts);
    }

    void holdsTheCldrWordsOfTheThreeLanguages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << u"en"_s;
        QTest::newRow("pt") << u"pt"_s;
        QTest::newRow("es") << u"es"_s;
    }

    void holdsTheCldrWordsOfTheThreeLanguages()
    {
        QFETCH(QString, language);
        const auto words = cldrWords(language);
        if (words.isEmpty())
            QSKIP("CLDR annotations are not installed (Debian package unicode-cldr-core)");
        int annotated = 0;
        for (const Emoji& emoji : m_catalogue.emojis()) {
            const auto found = words.constFind(QString(emoji.character).remove(QChar(0xFE0F)));
            if (found == words.cend())
                continue;
            ++annotated;
            const QSet<QString> have(emoji.lowercasedKeywords.cbegin(),
                                     emoji.lowercasedKeywords.cend());
            for (const QString& word : *found)
                QVERIFY2(have.contains(word), qPrintable(emoji.character + u' ' + word));
        }
        // Emoji newer than the installed CLDR may lack annotations; nearly all have them.
        QVERIFY2(annotated > m_catalogue.size() * 95 / 100, qPrintable(QString::number(annotated)));
    }

private:
    EmojiCatalogue m_catalogue;
};

QTEST_GUILESS_MAIN(TestEmojiCatalogue)
#include "test_emoji_catalogue.moc"
