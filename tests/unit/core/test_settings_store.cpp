#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "support/FullDisk.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesOfTheWrongKindReadAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("text for a number") << R"({"maxHistoryItems": "20"})"_ba;
        QTest::newRow("fraction for a number") << R"({"maxHistoryItems": 20.5})"_ba;
        QTest::newRow("number for a boolean") << R"({"pasteOnSelect": 0})"_ba;
        QTest::newRow("plain text for bytes") << R"({"recentEmojis": "WyJhIl0="})"_ba;
        QTest::newRow("bad base64") << R"({"recentEmojis": {"base64": "%%%"}})"_ba;
    }

    void valuesOfTheWrongKindReadAsAbsent()
    {
        QFETCH(QByteArray, json);
        test::TempHome home;
        const QString path = home.path() + "/settings.json"_L1;
        QVERIFY(AppPaths::writePrivateFile(path, json));
        SettingsStore store(path);
        QCOMPARE(store.value(settings::maxHistoryItems), 50);
        QCOMPARE(store.value(settings::pasteOnSelect), true);
        QCOMPARE(store.value(settings::appLanguage), u"system"_s);
        QVERIFY(!store.value(settings::recentEmojis).has_value());
    }

    void writesPersistWithTheirKindAndNotify()
    {
        test::TempHome home;
        const QString path = SettingsStore::defaultFilePath();
        {
            SettingsStore store(path);
            QSignalSpy spy(&store, &SettingsStore::changed);
            store.set(settings::maxHistoryItems, 0);
            store.set(settings::pasteOnSelect, false);
            store.set(settings::appLanguage, u"es"_s);
            store.set(settings::recentEmojis, "[\"\xF0\x9F\x98\x80\"]"_ba);
            QCOMPARE(spy.count(), 4);
            QCOMPARE(spy.at(0).at(0).toString(), u"maxHistoryItems"_s);
            QVERIFY(store.lastWrite().ok());
        }
        SettingsStore reread(path);
        QCOMPARE(reread.value(settings::maxHistoryItems), 0);
        QCOMPARE(reread.value(settings::pasteOnSelect), false);
        QCOMPARE(reread.value(settings::appLanguage), u"es"_s);
        QCOMPARE(*reread.value(settings::recentEmojis), "[\"\xF0\x9F\x98\x80\"]"_ba);
        // Stored as a number, the limit is no boolean and no text.
        QVERIFY(!reread.boolValue(u"maxHistoryItems"_s).has_value());
        QVERIFY(!reread.textValue(u"maxHistoryItems"_s).has_value());

        reread.remove(settings::pasteOnSelect.name);
        QCOMPARE(SettingsStore(path).value(settings::pasteOnSelect), true);
    }

    void unreadableSettingsAreSetAsideNotOverwritten()
    {
        test::TempHome home;
        const QString path = home.path() + "/settings.json"_L1;
        const QByteArray broken = R"({"maxHistoryItems": 200, "themeMode": "dark")"_ba;
        QVERIFY(AppPaths::writePrivateFile(path, broken));
        SettingsStore store(path);
        QVERIFY(!store.loadResult());
        QCOMPARE(store.value(settings::themeMode), u"system"_s);
        store.set(settings::pasteOnSelect, false);
        // The user's file survives the next write, for repair.
        const auto aside = QDir(home.path()).entryList({u"settings.json.corrupt-*"_s});
        QCOMPARE(aside.size(), 1);
        QFile kept(home.path() + u'/' + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), broken);
        QVERIFY(SettingsStore(path).loadResult());
    }

    void aWriteThatCannotFinishKeepsTheOldFile()
    {
        test::TempHome home;
        SettingsStore store(SettingsStore::defaultFilePath());
        store.set(settings::themeMode, u"dark"_s);
        {
            test::FullDisk full;
            store.set(settings::appLanguage, u"es"_s);
        }
        QVERIFY(!store.lastWrite());
        QCOMPARE(store.value(settings::appLanguage), u"es"_s); // kept in memory
        SettingsStore reread(store.filePath());
        QVERIFY(reread.loadResult());
        QCOMPARE(reread.value(settings::themeMode), u"dark"_s);
        QCOMPARE(reread.value(settings::appLanguage), u"system"_s);
    }

    void fileIsPrivate()
    {
        test::TempHome home;
        SettingsStore store(SettingsStore::defaultFilePath());
        store.set(settings::themeMode, u"dark"_s);
        QCOMPARE(QFileInfo(store.filePath()).permissions() & 0x0077, QFile::Permissions{});
        QCOMPARE(QFile::permissions(AppPaths::configDir()), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ExeOwner | QFile::ReadUser |
                                                                QFile::WriteUser | QFile::ExeUser);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
