// Checks the committed emoji catalogue against the Unicode and CLDR data it is generated from
// (tools/generate_emoji_json.py), when those are installed.
#include "pickers/EmojiCatalogue.h"
#include "pickers/EmojiCategories.h"
#include "pickers/EmojiStore.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

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

class TestEmojiData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const auto result = EmojiCatalogue::load(EmojiStore::defaultCataloguePath());
        QVERIFY(!result.error);
        m_catalogue = result.catalogue;
    }

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

QTEST_GUILESS_MAIN(TestEmojiData)
#include "test_emoji_data.moc"
