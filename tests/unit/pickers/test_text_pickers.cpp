#include "clipboard/PasteboardTypes.h"
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "pickers/PickerWrite.h"
#include "pickers/TextCollections.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

QString codePoints(const QString& text)
{
    QStringList hex;
    for (const char32_t cp : text.toUcs4())
        hex << u"U+"_s + QString::number(uint(cp), 16).rightJustified(4, u'0').toUpper();
    return hex.join(u' ');
}

// "title key: item item ..." per category, for readable comparisons.
QStringList summary(const QList<TextCategory>& categories)
{
    QStringList lines;
    for (const TextCategory& category : categories)
        lines << category.titleKey + u": "_s + category.items.join(u' ');
    return lines;
}

QList<TextCategory> collection(const QString& name)
{
    return name == "kaomoji"_L1 ? kaomojiCategories() : symbolCategories();
}

} // namespace

class TestTextPickers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void collectionsHoldTheirItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("titleKeys");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("kaomoji") << u"kaomoji"_s
                                 << QStringList{u"kaomoji_happy"_s, u"kaomoji_action"_s,
                                                u"kaomoji_sad"_s, u"kaomoji_love"_s}
                                 << QList<int>{8, 5, 8, 6};
        QTest::newRow("symbols") << u"symbols"_s
                                 << QStringList{u"symbol_currency"_s, u"symbol_math"_s,
                                                u"symbol_punctuation"_s, u"symbol_arrows"_s}
                                 << QList<int>{10, 15, 14, 9};
    }

    void collectionsHoldTheirItems()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, titleKeys);
        QFETCH(QList<int>, sizes);
        const QList<TextCategory> categories = collection(name);
        QSet<quint64> ids;
        for (qsizetype i = 0; i < categories.size(); ++i) {
            QCOMPARE(categories[i].titleKey, titleKeys[i]);
            QCOMPARE(categories[i].items.size(), sizes[i]);
            const QSet<QString> unique(categories[i].items.cbegin(), categories[i].items.cend());
            QCOMPARE(unique.size(), categories[i].items.size());
            ids.insert(categories[i].id);
        }
        QCOMPARE(categories.size(), titleKeys.size());
        QCOMPARE(ids.size(), categories.size());
        QVERIFY(collection(name).first().id != categories.first().id); // fresh per construction
    }

    void itemsAreExactCodePoints_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        const auto kaomoji = kaomojiCategories();
        const auto symbols = symbolCategories();
        QTest::newRow("lenny") << kaomoji[0].items[1]
                               << u"U+0028 U+0020 U+0361 U+00B0 U+0020 U+035C U+0296 U+0020 "
                                  "U+0361 U+00B0 U+0029"_s;
        QTest::newRow("shrug") << kaomoji[0].items[2]
                               << u"U+00AF U+005C U+005F U+0028 U+30C4 U+0029 U+005F U+002F "
                                  "U+00AF"_s;
        QTest::newRow("emoji face") << kaomoji[0].items[6] << u"U+0028 U+1F603 U+0029"_s;
        QTest::newRow("table flip")
            << kaomoji[1].items[0]
            << u"U+0028 U+256F U+00B0 U+25A1 U+00B0 U+FF09 U+256F U+FE35 U+0020 U+253B U+2501 "
               "U+253B"_s;
        QTest::newRow("hug") << kaomoji[3].items[4]
                             << u"U+0028 U+3065 U+FF61 U+25D5 U+203F U+203F U+25D5 U+FF61 U+0029 "
                                "U+3065"_s;
        QTest::newRow("increment, not delta") << symbols[1].items[11] << u"U+2206"_s;
        QTest::newRow("real") << symbols[0].items[4] << u"U+0052 U+0024"_s;
        QTest::newRow("last arrow") << symbols[3].items[8] << u"U+21D4"_s;
    }

    void itemsAreExactCodePoints()
    {
        QFETCH(QString, item);
        QFETCH(QString, expected);
        QCOMPARE(codePoints(item), expected);
    }

    void filteredCategories_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QStringList>("expected"); // empty: the whole collection unchanged

        QTest::newRow("empty") << u"kaomoji"_s << u"en"_s << u""_s << QStringList{};
        QTest::newRow("blanks and line breaks")
            << u"symbols"_s << u"en"_s << u" \n\t\r"_s << QStringList{};
        QTest::newRow("o_o lower")
            << u"kaomoji"_s << u"en"_s << u"o_o"_s << QStringList{u"kaomoji_sad: (O_O)"_s};
        QTest::newRow("O_O upper, padded")
            << u"kaomoji"_s << u"en"_s << u"\n O_O "_s << QStringList{u"kaomoji_sad: (O_O)"_s};
        QTest::newRow("underscore")
            << u"kaomoji"_s << u"en"_s << u"_"_s
            << QStringList{u"kaomoji_happy: ¯\\_(ツ)_/¯ (~_~;)"_s,
                           u"kaomoji_action: ┬─┬ノ( º _ ºノ) ( •_•)>⌐■-■ (⌐■_■)"_s,
                           u"kaomoji_sad: (•_•) (¬_¬) (⊙_⊙) (O_O) (ಠ_ಠ) (>_<)"_s};
        QTest::newRow("title, English") << u"kaomoji"_s << u"en"_s << u"flip"_s
                                        << QStringList{u"kaomoji_action: (╯°□°）╯︵ ┻━┻ "
                                                       "┬─┬ノ( º _ ºノ) (ノಠ益ಠ)ノ彡┻━┻ "
                                                       "( •_•)>⌐■-■ (⌐■_■)"_s};
        QTest::newRow("title in another language")
            << u"kaomoji"_s << u"pt"_s << u"flip"_s << QStringList{u"-"_s};
        QTest::newRow("whole title, Portuguese, decomposed")
            << u"kaomoji"_s << u"pt"_s << u"MESA / AC\u0327A\u0303O"_s
            << QStringList{u"kaomoji_action: (╯°□°）╯︵ ┻━┻ ┬─┬ノ( º _ ºノ) (ノಠ益ಠ)ノ彡┻━┻ "
                           "( •_•)>⌐■-■ (⌐■_■)"_s};
        QTest::newRow("r") << u"symbols"_s << u"en"_s << u"r"_s
                           << QStringList{u"symbol_currency: $ € £ ¥ R$ ₿ ¢ ₹ ₩ ₺"_s,
                                          u"symbol_arrows: ← → ↑ ↓ ↔ ↕ ↵ ⇒ ⇔"_s};
        QTest::newRow("dollar") << u"symbols"_s << u"en"_s << u"$"_s
                                << QStringList{u"symbol_currency: $ R$"_s};
        QTest::newRow("math") << u"symbols"_s << u"en"_s << u"Math"_s
                              << QStringList{u"symbol_math: ± ∞ ≠ ≈ ≤ ≥ ÷ × √ π ∑ ∆ ∫ ‰ °"_s};
        QTest::newRow("Spanish title") << u"symbols"_s << u"es"_s << u"flechas"_s
                                       << QStringList{u"symbol_arrows: ← → ↑ ↓ ↔ ↕ ↵ ⇒ ⇔"_s};
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

    void thePickerWriteIsTransientPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("R$") << u"R$"_s;
        QTest::newRow("lenny") << kaomojiCategories()[0].items[1];
        QTest::newRow("flag") << u"🇧🇷"_s;
    }

    void thePickerWriteIsTransientPlainText()
    {
        QFETCH(QString, text);
        test::MemoryPasteboard pasteboard;
        PasteboardItem previous;
        previous.setString(u"text/html"_s, u"<b>old</b>"_s);
        pasteboard.writeExternal(previous);
        const qint64 before = pasteboard.changeCount();

        writePickedText(pasteboard, text);
        QCOMPARE(pasteboard.types(),
                 (QStringList{PasteboardType::plainText, PasteboardType::transient}));
        QCOMPARE(codePoints(*pasteboard.stringForType(PasteboardType::plainText)),
                 codePoints(text));
        QCOMPARE(*pasteboard.dataForType(PasteboardType::transient), "1"_ba);
        QVERIFY(pasteboard.changeCount() > before);
    }
};

QTEST_GUILESS_MAIN(TestTextPickers)
#include "test_text_pickers.moc"
