#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

// A settings store in a private temporary home, with a preferred-language list the test sets.
struct Fixture {
    test::TempHome home;
    SettingsStore settings{SettingsStore::defaultFilePath()};
    QStringList preferred;
    int preferredReads = 0;

    LanguageManager::PreferredLanguagesSource source()
    {
        return [this] {
            ++preferredReads;
            return preferred;
        };
    }
};

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
        QTest::newRow("absent, no preferred languages") << QString() << QStringList{} << u"en"_s;
        QTest::newRow("system, German then Portuguese")
            << u"system"_s << QStringList{u"de-DE"_s, u"pt-PT"_s} << u"pt"_s;
        QTest::newRow("system, first match wins")
            << u"system"_s << QStringList{u"en-US"_s, u"pt-BR"_s} << u"en"_s;
        QTest::newRow("system, Portuguese in capitals")
            << u"system"_s << QStringList{u"PT-BR"_s} << u"pt"_s;
        QTest::newRow("system, Spanish in mixed case")
            << u"system"_s << QStringList{u"Es_ES"_s} << u"es"_s;
        QTest::newRow("system, only German") << u"system"_s << QStringList{u"de-DE"_s} << u"en"_s;
        QTest::newRow("unknown choice follows the system")
            << u"fr"_s << QStringList{u"es-ES"_s} << u"es"_s;
        QTest::newRow("raw values are case-sensitive")
            << u"PT"_s << QStringList{u"es-ES"_s} << u"es"_s;
        QTest::newRow("explicit pt") << u"pt"_s << QStringList{u"es-ES"_s} << u"pt"_s;
        QTest::newRow("explicit en") << u"en"_s << QStringList{u"pt-BR"_s} << u"en"_s;
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
        QCOMPARE(LanguageManager::resolveLanguageCode(manager.currentLanguageRaw(), preferred),
                 expected);
    }

    void everyLookupRereadsTheChoiceAndTheSystem()
    {
        Fixture f;
        f.preferred = {u"es-AR"_s};
        LanguageManager manager(f.settings, f.source());
        QCOMPARE(manager.string(u"tab_clipboard"_s), u"Portapapeles"_s);

        f.preferred = {u"de"_s};
        QCOMPARE(manager.string(u"tab_clipboard"_s), u"Clipboard"_s);

        // Written behind the manager's back: still seen at the next lookup.
        f.settings.set(settings::appLanguage, u"pt"_s);
        QCOMPARE(manager.string(u"clear_history_title"_s), u"Limpar histórico?"_s);
        const int readsBefore = f.preferredReads;
        QCOMPARE(manager.activeLanguageCode(), u"pt"_s);
        QCOMPARE(f.preferredReads, readsBefore); // an explicit choice needs no system query
    }

    void lookupsFallBackToEnglishThenToTheKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("in the table in force") << u"greeting"_s << u"Olá"_s;
        QTest::newRow("only in English") << u"farewell"_s << u"Bye"_s;
        QTest::newRow("in no table") << u"no_such_key"_s << u"no_such_key"_s;
        QTest::newRow("keys are case-sensitive") << u"Greeting"_s << u"Greeting"_s;
    }

    void lookupsFallBackToEnglishThenToTheKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        Fixture f;
        f.settings.set(settings::appLanguage, u"pt"_s);
        LanguageManager::Translations tables{
            {u"pt"_s, {{u"greeting"_s, u"Olá"_s}}},
            {u"en"_s, {{u"greeting"_s, u"Hello"_s}, {u"farewell"_s, u"Bye"_s}}},
            {u"es"_s, {}}};
        LanguageManager manager(f.settings, f.source(), tables);
        QCOMPARE(manager.string(key), expected);
    }

    void writingTheChoiceSignalsOnceAfterStoring()
    {
        Fixture f;
        LanguageManager manager(f.settings, f.source());
        QSignalSpy spy(&manager, &LanguageManager::languageChanged);
        QString seenInSlot;
        connect(&manager, &LanguageManager::languageChanged, this,
                [&] { seenInSlot = manager.activeLanguageCode(); });

        manager.setCurrentLanguageRaw(u"es"_s);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(seenInSlot, u"es"_s);
        QCOMPARE(SettingsStore(f.settings.filePath()).value(settings::appLanguage), u"es"_s);

        // The same value again is still a write, and any text may be stored.
        manager.setCurrentLanguageRaw(u"es"_s);
        manager.setCurrentLanguageRaw(u"klingon"_s);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(manager.currentLanguageRaw(), u"klingon"_s);

        // Other settings are not a language change.
        f.settings.set(settings::themeMode, u"dark"_s);
        QCOMPARE(spy.count(), 3);
    }

    void placeholdersAreFilledInOrder_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << u"Version %@ (Build %@)"_s << QStringList{u"1.2"_s, u"34"_s}
                                 << u"Version 1.2 (Build 34)"_s;
        QTest::newRow("value holding a placeholder")
            << u"%@ and %@"_s << QStringList{u"%@"_s, u"b"_s} << u"%@ and b"_s;
        QTest::newRow("too few values") << u"%@-%@"_s << QStringList{u"x"_s} << u"x-%@"_s;
    }

    void placeholdersAreFilledInOrder()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, values);
        QFETCH(QString, expected);
        QCOMPARE(LanguageManager::fillPlaceholders(format, values), expected);
    }
};

QTEST_GUILESS_MAIN(TestLanguageManager)
#include "test_language_manager.moc"
