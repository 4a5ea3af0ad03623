// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "localization/QtTranslations.h"
#include "localization/TranslationCatalogue.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

// A settings store in a private temporary home, with a preferred-language list the test sets.
struct Fixture {
    test::TempHome home;
    SettingsStore settings{SettingsStore::defaultFilePath()};
    QStringList preferred;

    LanguageManager::PreferredLanguagesSource source()
    {
        return [this] { return preferred; };
    }
};

// The catalogue compiled from tests/unit/localization/data: "pt" lacks "farewell" and has no
// language name, "en" has every text.
TranslationCatalogue partialCatalogue()
{
    return TranslationCatalogue::load(u":/test/partial"_s);
}

} // namespace

class TestLanguageManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resolvesTheLanguageInForce_data()
    {
        QTest::addColumn<QString>("stored"); // a null string leaves the setting absent
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("expected");

        QTest::newRow("absent, Brazilian desktop")
            << QString() << QStringList{u"pt-BR"_s} << u"pt"_s;
        QTest::newRow("system, German then Portuguese")
            << u"system"_s << QStringList{u"de-DE"_s, u"pt-PT"_s} << u"pt"_s;
        QTest::newRow("system, Portuguese in capitals")
            << u"system"_s << QStringList{u"PT-BR"_s} << u"pt"_s;
        QTest::newRow("system, Spanish in mixed case")
            << u"system"_s << QStringList{u"Es_ES"_s} << u"es"_s;
        QTest::newRow("system, British English")
            << u"system"_s << QStringList{u"EN-GB"_s} << u"en"_s;
        QTest::newRow("system, German only") << u"system"_s << QStringList{u"de-DE"_s} << u"en"_s;
        QTest::newRow("system, nothing preferred") << u"system"_s << QStringList() << u"en"_s;
        QTest::newRow("unknown choice follows the system")
            << u"fr"_s << QStringList{u"es-ES"_s} << u"es"_s;
        QTest::newRow("raw values are case-sensitive")
            << u"PT"_s << QStringList{u"es-ES"_s} << u"es"_s;
        QTest::newRow("explicit pt") << u"pt"_s << QStringList{u"es-ES"_s} << u"pt"_s;
    }

    void resolvesTheLanguageInForce()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, preferred);
        QFETCH(QString, expected);

        Fixture f;
        if (!stored.isNull())
            f.settings.set(settings::appLanguage, stored);
        f.preferred = preferred;
        LanguageManager manager(f.settings, f.source());
        QCOMPARE(manager.currentLanguageRaw(), stored.isNull() ? u"system"_s : stored);
        QCOMPARE(manager.activeLanguageCode(), expected);
    }

    void aRegionalLanguageWinsOverItsBase()
    {
        const QStringList codes{u"pt"_s, u"en"_s, u"pt_PT"_s};
        QCOMPARE(LanguageManager::resolveLanguageCode(u"system"_s, {u"pt-PT"_s}, codes),
                 u"pt_PT"_s);
        QCOMPARE(LanguageManager::resolveLanguageCode(u"system"_s, {u"pt-BR"_s}, codes), u"pt"_s);
        QCOMPARE(LanguageManager::resolveLanguageCode(u"system"_s, {u"de"_s}, {u"fr"_s}), u"fr"_s);
    }

    void everyLookupRereadsTheChoiceAndTheSystem()
    {
        Fixture f;
        f.preferred = {u"es-AR"_s};
        LanguageManager manager(f.settings, f.source());
        QCOMPARE(manager.string("tab_clipboard"), u"Portapapeles"_s);

        f.preferred = {u"de"_s};
        QCOMPARE(manager.string("tab_clipboard"), u"Clipboard"_s);

        // Written behind the manager's back: still seen at the next lookup.
        f.settings.set(settings::appLanguage, u"pt"_s);
        QCOMPARE(manager.string("clear_history_title"), u"Limpar histórico?"_s);
        QCOMPARE(manager.activeLocaleName(), u"pt_BR"_s);
    }

    void lookupsFallBackToEnglishThenToTheId()
    {
        Fixture f;
        f.settings.set(settings::appLanguage, u"pt"_s);
        LanguageManager manager(f.settings, f.source(), partialCatalogue());
        QCOMPARE(manager.catalogue().codes(), (QStringList{u"pt"_s, u"en"_s}));
        QCOMPARE(manager.string("greeting"), u"Olá"_s);
        QCOMPARE(manager.string("farewell"), u"Bye"_s);
        QCOMPARE(manager.string("no_such_text"), u"no_such_text"_s);
        // A plural missing in one language falls back with English's forms.
        QCOMPARE(manager.string("files", 1), u"1 file"_s);
        QCOMPARE(manager.string("files", 3), u"3 files"_s);
    }

    void pluralsTakeTheFormOfTheCount_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en 1") << u"en"_s << 1 << u"1 item"_s;
        QTest::newRow("en 50") << u"en"_s << 50 << u"50 items"_s;
        QTest::newRow("pt 1") << u"pt"_s << 1 << u"1 item"_s;
        QTest::newRow("pt 10000") << u"pt"_s << 10000 << u"10000 itens"_s;
        QTest::newRow("es 20") << u"es"_s << 20 << u"20 elementos"_s;
    }

    void pluralsTakeTheFormOfTheCount()
    {
        QFETCH(QString, language);
        QFETCH(int, count);
        QFETCH(QString, expected);
        Fixture f;
        f.settings.set(settings::appLanguage, language);
        const LanguageManager manager(f.settings, f.source());
        QCOMPARE(manager.string("items_count_format", count), expected);
    }

    void thePickerNamesEachLanguageInItsOwnWords()
    {
        Fixture f;
        f.settings.set(settings::appLanguage, u"es"_s);
        const LanguageManager manager(f.settings, f.source());
        QCOMPARE(manager.choices(), (QStringList{u"system"_s, u"pt"_s, u"en"_s, u"es"_s}));
        QCOMPARE(manager.label(u"system"_s), u"🌐 Automático (Sistema)"_s);
        QCOMPARE(manager.label(u"pt"_s), u"🇧🇷 Português (Brasil)"_s);
        QCOMPARE(manager.label(u"en"_s), u"🇺🇸 English (US)"_s);
        QCOMPARE(manager.label(u"es"_s), u"🇪🇸 Español"_s);

        // A language whose translators left its name out is named by the desktop's locale data.
        const LanguageManager partial(f.settings, f.source(), partialCatalogue());
        QCOMPARE(partial.label(u"pt"_s), u"português"_s);
    }

    void writingTheChoiceSignalsOnceAfterStoring()
    {
        Fixture f;
        LanguageManager manager(f.settings, f.source());
        QStringList seen;
        connect(&manager, &LanguageManager::languageChanged, this,
                [&] { seen << manager.activeLanguageCode(); });
        manager.setCurrentLanguageRaw(u"es"_s);
        QCOMPARE(SettingsStore(f.settings.filePath()).value(settings::appLanguage), u"es"_s);
        f.settings.set(settings::themeMode, u"dark"_s); // not a language change
        manager.setCurrentLanguageRaw(u"klingon"_s);    // any text may be stored
        QCOMPARE(seen, (QStringList{u"es"_s, u"en"_s}));
        QCOMPARE(manager.currentLanguageRaw(), u"klingon"_s);
    }

    void qtsOwnTextsFollowTheLanguage()
    {
        Fixture f;
        f.settings.set(settings::appLanguage, u"pt"_s);
        LanguageManager manager(f.settings, f.source());
        {
            const QtTranslations qtTexts(manager);
            QVERIFY(qtTexts.installedFile().endsWith(u"/qtbase_pt_BR.qm"_s));
            // The context menu of every text field: Undo, Redo, Cut...
            QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), u"&Desfazer"_s);
            manager.setCurrentLanguageRaw(u"es"_s);
            QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), u"&Deshacer"_s);
            manager.setCurrentLanguageRaw(u"en"_s);
            QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), u"&Undo"_s);
            manager.setCurrentLanguageRaw(u"es"_s);
            // A folder without Qt's translations leaves them English, and nothing installed.
            const QtTranslations none(manager, QDir::tempPath());
            QVERIFY(none.installedFile().isEmpty());
        }
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), u"&Undo"_s);
    }

    void theLanguageListIsReadLikeLinguas()
    {
        QCOMPARE(TranslationCatalogue::parseLinguas("# comment\npt en  # inline\n\tes\nen\n"),
                 (QStringList{u"pt"_s, u"en"_s, u"es"_s}));
        // Read from a folder as well as from the resources; a language without its compiled file
        // is left out rather than failing the rest.
        QTemporaryDir folder;
        QFile linguas(folder.filePath(u"LINGUAS"_s));
        QVERIFY(linguas.open(QIODevice::WriteOnly));
        linguas.write("xx en\n");
        linguas.close();
        QVERIFY(QFile::copy(u":/test/partial/tessel_en.qm"_s, folder.filePath(u"tessel_en.qm"_s)));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"cannot read the texts of language xx"_s));
        const TranslationCatalogue catalogue = TranslationCatalogue::load(folder.path());
        QCOMPARE(catalogue.codes(), QStringList{u"en"_s});
        QCOMPARE(catalogue.text(u"en"_s, "farewell"), u"Bye"_s);
        QVERIFY(catalogue.text(u"en"_s, "no_such_text").isNull());
    }
};

QTEST_GUILESS_MAIN(TestLanguageManager)
#include "test_language_manager.moc"
