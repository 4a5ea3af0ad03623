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
    void categoriesHaveUniqueIdsAndItems()
    {
        for (const QString& name : {u"kaomoji"_s, u"symbols"_s}) {
            const QList<TextCategory> categories = collection(name);
            QSet<quint64> ids;
            for (const TextCategory& category : categories) {
                const QSet<QString> unique(category.items.cbegin(), category.items.cend());
                QVERIFY2(!category.items.isEmpty(), qPrintable(category.titleKey));
                QCOMPARE(unique.size(), category.items.size());
                ids.insert(category.id);
            }
            QCOMPARE(ids.size(), categories.size());
            // Ids are fresh per construction, so a filtered view is never mistaken for the full
            // one.
            QVERIFY(collection(name).first().id != categories.first().id);
        }
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

QTEST_GUILESS_MAIN(TestTextPickers)
#include "test_text_pickers.moc"
