// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "support/FullDisk.h"
#include "support/TempHome.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

// The private files every store writes through, and the settings kept in one of them.
class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesOfTheWrongKindReadAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("text for a number") << R"({"maxHistoryItems": "twenty"})"_ba;
        QTest::newRow("boolean for a number") << R"({"maxHistoryItems": true})"_ba;
        QTest::newRow("number for a boolean") << R"({"pasteOnSelect": 0})"_ba;
        QTest::newRow("bad base64") << R"({"recentEmojis": {"base64": "%%%"}})"_ba;
    }

    void valuesOfTheWrongKindReadAsAbsent()
    {
        QFETCH(QByteArray, json);
        test::TempHome home;
        QVERIFY(AppPaths::writePrivateFile(home.path() + "/settings.json"_L1, json));
        SettingsStore store(home.path() + "/settings.json"_L1);
        QCOMPARE(store.value(settings::maxHistoryItems), 50);
        QCOMPARE(store.value(settings::pasteOnSelect), true);
        QVERIFY(!store.value(settings::recentEmojis).has_value());
    }

    void numbersAreReadAsTheyMeanAndClampedOnce_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("asStored");
        QTest::addColumn<int>("explained");
        QTest::newRow("a number") << R"({"maxHistoryItems": 200})"_ba << qint64(200) << true << 0;
        QTest::newRow("absent") << R"({})"_ba << qint64(50) << false << 0;
        QTest::newRow("a number in text")
            << R"({"maxHistoryItems": " 10000 "})"_ba << qint64(10000) << false << 1;
        QTest::newRow("a fraction: whole entries only")
            << R"({"maxHistoryItems": 10000.5})"_ba << qint64(10000) << false << 1;
        QTest::newRow("far above the largest offered")
            << R"({"maxHistoryItems": 1e300})"_ba << qint64(10000) << false << 1;
        QTest::newRow("zero") << R"({"maxHistoryItems": 0})"_ba << qint64(10) << false << 1;
        QTest::newRow("negative") << R"({"maxHistoryItems": -1})"_ba << qint64(10) << false << 1;
        QTest::newRow("no number") << R"({"maxHistoryItems": [5]})"_ba << qint64(50) << false << 1;
    }

    void numbersAreReadAsTheyMeanAndClampedOnce()
    {
        QFETCH(QByteArray, json);
        QFETCH(qint64, limit);
        QFETCH(bool, asStored);
        QFETCH(int, explained);
        test::TempHome home;
        QVERIFY(AppPaths::writePrivateFile(home.path() + "/settings.json"_L1, json));
        SettingsStore store(home.path() + "/settings.json"_L1);
        static int warnings = 0;
        warnings = 0;
        const auto previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
                warnings += type == QtWarningMsg;
            });
        for (int read = 0; read < 3; ++read) {
            QCOMPARE(store.value(settings::maxHistoryItems), limit);
            QCOMPARE(store.reading(settings::maxHistoryItems).asStored, asStored);
        }
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, explained);
    }

    void writesPersistPrivatelyWithTheirKindAndNotify()
    {
        test::TempHome home;
        const QString path = SettingsStore::defaultFilePath();
        {
            SettingsStore store(path);
            QSignalSpy spy(&store, &SettingsStore::changed);
            store.set(settings::maxHistoryItems, 20);
            store.set(settings::pasteOnSelect, false);
            store.set(settings::recentEmojis, "[\"\xF0\x9F\x98\x80\"]"_ba);
            QCOMPARE(spy.count(), 3);
            QCOMPARE(spy.at(0).at(0).toString(), u"maxHistoryItems"_s);
        }
        QCOMPARE(QFile::permissions(path) & 0x0077, QFile::Permissions{});
        QCOMPARE(QFile::permissions(AppPaths::configDir()) & 0x0077, QFile::Permissions{});
        SettingsStore reread(path);
        QCOMPARE(reread.value(settings::maxHistoryItems), 20);
        QCOMPARE(reread.value(settings::pasteOnSelect), false);
        QCOMPARE(*reread.value(settings::recentEmojis), "[\"\xF0\x9F\x98\x80\"]"_ba);
        // Stored as a number, the limit is no boolean and no text.
        QVERIFY(!reread.boolValue(u"maxHistoryItems"_s).has_value());
        QVERIFY(!reread.textValue(u"maxHistoryItems"_s).has_value());
        reread.remove(settings::pasteOnSelect.name);
        QCOMPARE(SettingsStore(path).value(settings::pasteOnSelect), true);
    }

    void unreadableSettingsAreSetAsideNotOverwritten_data()
    {
        QTest::addColumn<QByteArray>("broken");
        QTest::newRow("cut short") << R"({"maxHistoryItems": 200, "themeMode": "dark")"_ba;
        QTest::newRow("JSON, but no object") << R"([{"themeMode": "dark"}])"_ba;
    }
    void unreadableSettingsAreSetAsideNotOverwritten()
    {
        QFETCH(QByteArray, broken);
        test::TempHome home;
        const QString path = home.path() + "/settings.json"_L1;
        QVERIFY(AppPaths::writePrivateFile(path, broken));
        SettingsStore store(path);
        QVERIFY(!store.loadResult());
        QCOMPARE(store.value(settings::themeMode), u"system"_s);
        store.set(settings::pasteOnSelect, false);
        // The user's file survives the next write, for repair.
        const auto aside = QDir(home.path()).entryList({u"settings.json.corrupt-*"_s});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(contents(home.path() + u'/' + aside.first()), broken);
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

    void aFullDiskLeavesTheOldFile_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("buffered write") << qsizetype(200);
        QTest::newRow("large write") << qsizetype(256 * 1024);
    }
    void aFullDiskLeavesTheOldFile()
    {
        QFETCH(qsizetype, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.json"_s);
        QVERIFY(AppPaths::writePrivateFile(path, "[\"the old history\"]"));
        Result written = Result::success();
        {
            test::FullDisk full;
            written = AppPaths::writePrivateFile(path, QByteArray(size, 'x'));
        }
        QVERIFY(!written);
        QVERIFY(written.message().contains(path));
        QCOMPARE(contents(path), "[\"the old history\"]"_ba);
        // No half-written temporary file is left behind either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void readsAreBounded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.json"_s);
        QVERIFY(AppPaths::writePrivateFile(path, QByteArray(11, 'x')));
        QCOMPARE(*AppPaths::readPrivateFile(path, 11), QByteArray(11, 'x'));
        QVERIFY(!AppPaths::readPrivateFile(path, 10));
        // A regular file that reports no size until read (as /proc's do) is read whole, and is
        // still cut at the bound.
        const auto status = AppPaths::readPrivateFile(u"/proc/self/status"_s, 1 << 20);
        QVERIFY2(status && status->contains("\nVmRSS:"), qPrintable(status.message()));
        QVERIFY(!AppPaths::readPrivateFile(u"/proc/self/status"_s, 64));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
