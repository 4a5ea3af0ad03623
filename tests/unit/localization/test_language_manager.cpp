// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "localization/StringTables.h"
#include "support/TempHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
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

QStringList keysOf(StringTable table)
{
    QStringList keys;
    for (const StringTableEntry& entry : table)
        keys << entry.key.toString();
    return keys;
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
    }

    void lookupsFallBackToEnglishThenToTheKey()
    {
        Fixture f;
        f.settings.set(settings::appLanguage, u"pt"_s);
        LanguageManager manager(
            f.settings, f.source(),
            {{u"pt"_s, {{u"greeting"_s, u"Olá"_s}}},
             {u"en"_s, {{u"greeting"_s, u"Hello"_s}, {u"farewell"_s, u"Bye"_s}}},
             {u"es"_s, {}}});
        QCOMPARE(manager.string(u"greeting"_s), u"Olá"_s);
        QCOMPARE(manager.string(u"farewell"_s), u"Bye"_s);
        QCOMPARE(manager.string(u"no_such_key"_s), u"no_such_key"_s);
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

    void everyTableHoldsTheSameKeysWithTheirPlaceholders()
    {
        const QStringList english = keysOf(englishStrings());
        QCOMPARE(QSet<QString>(english.begin(), english.end()).size(), english.size());
        const auto translations = LanguageManager::builtInTranslations();
        for (const QString& code : {u"pt"_s, u"es"_s}) {
            const auto table = translations.value(code);
            for (const QString& key : english) {
                const QString text = table.value(key);
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(code + u' ' + key));
                // A translation that drops or adds a placeholder breaks the caller's substitution.
                QCOMPARE(text.count(u"%@"), translations.value(u"en"_s).value(key).count(u"%@"));
            }
            QCOMPARE(table.size(), english.size());
        }
    }

    void everyKeyTheCodeLooksUpExists()
    {
        // Read from the sources, so that a key added to the code but not to a table is caught.
        const QDir src(qEnvironmentVariable("TESSEL_SOURCE_DIR") + "/src"_L1);
        QVERIFY(src.exists());
        static const QRegularExpression direct(uR"re(string\(\s*u"([A-Za-z0-9_]+)"_s)re"_s);
        static const QRegularExpression snake(uR"re(u"([a-z]+(?:_[a-z0-9]+)+)"_s)re"_s);
        QSet<QString> keys;
        QDirIterator files(src.path(), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            for (const auto* pattern : {&direct, &snake}) {
                for (const auto& match : pattern->globalMatch(code)) {
                    if (!match.captured(1).endsWith(u'_')) // a prefix, completed below
                        keys.insert(match.captured(1));
                }
            }
        }
        // The tab tool tips are looked up as "tab_" plus the tab's raw value.
        for (const char* tab : {"clipboard", "emoji", "kaomoji", "symbols", "favorites"})
            keys.insert(u"tab_"_s + QLatin1StringView(tab));
        QVERIFY(keys.size() > 30);
        const auto translations = LanguageManager::builtInTranslations();
        for (const QString& code : {u"en"_s, u"pt"_s, u"es"_s}) {
            for (const QString& key : std::as_const(keys))
                QVERIFY2(translations.value(code).contains(key), qPrintable(code + u' ' + key));
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguageManager)
#include "test_language_manager.moc"
