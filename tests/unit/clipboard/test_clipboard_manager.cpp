// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerFixture.h"
#include "core/AppPaths.h"
#include "support/FullDisk.h"
#include "support/TestImages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

class TestClipboardManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recopyMovesTheExistingEntry()
    {
        Fixture f;
        f.copyText(u"a"_s);
        f.copyText(u"b"_s);
        const ClipboardEntryPtr a = f.manager.entries().last();
        f.manager.toggleFavorite(a);
        const QDateTime before = a->timestamp();
        f.clock.advance(5);
        f.copyText(u" a "_s);
        QCOMPARE(f.texts(), (QStringList{u"a"_s, u"b"_s}));
        QCOMPARE(f.manager.entries().first(), a);
        QVERIFY(a->isFavorite());
        QVERIFY(a->timestamp() > before);
    }

    void trimmingKeepsFavouritesAndTheNewest()
    {
        Fixture f;
        for (int i = 0; i < 5; ++i) {
            f.copyText(u"fav %1"_s.arg(i));
            f.manager.toggleFavorite(f.manager.entries().first());
        }
        f.copy(item({{PasteboardType::png, test::encodedImage("png")}}));
        f.waitForSave();
        QCOMPARE(f.blobCount(), 1);
        for (int i = 0; i < 50; ++i)
            f.copyText(u"item %1"_s.arg(i));

        const QStringList texts = f.texts();
        QCOMPARE(texts.size(), 55);
        QCOMPARE(texts.first(), u"item 49"_s);
        QVERIFY(texts.contains(u"fav 0"_s) && !texts.contains(u"<image>"_s));
        QCOMPARE(f.blobCount(), 0);
    }

    void aBlobStillNamedByAnotherEntryIsKept()
    {
        Fixture f;
        f.copy(item({{PasteboardType::png, test::encodedImage("png")}}));
        f.waitForSave();
        // An older or hand-written registry can name the same blob twice.
        const auto twin = std::make_shared<ClipboardEntry>(
            PasteboardType::png, std::nullopt, std::nullopt,
            f.manager.entries().first()->imageFileURL(), false, QDateTime::currentDateTimeUtc());
        f.manager.store().save({f.manager.entries().first(), twin});
        QVERIFY(f.manager.store().waitForPendingSaves(3000));
        ClipboardManager reloaded(
            f.pasteboard, f.workspace, f.settings,
            std::make_unique<ClipboardStore>(f.manager.store().appSupportDir()));
        reloaded.deleteEntry(reloaded.entries().first());
        QCOMPARE(f.blobCount(), 1);
        reloaded.clearAll();
        QCOMPARE(f.blobCount(), 0);
    }

    void choosingWritesBackWithoutRecapture()
    {
        // A TIFF entry goes back out as PNG and TIFF: were our own write read back, the PNG
        // would become a second, unpinned entry that the duplicate check cannot merge.
        Fixture f;
        f.copy(item({{PasteboardType::tiff, test::encodedImage("tiff")}}));
        const ClipboardEntryPtr image = f.manager.entries().first();
        f.manager.toggleFavorite(image);
        f.copyText(u"later"_s);
        const ClipboardEntryPtr top = f.manager.entries().first();
        const QDateTime topTime = top->timestamp();
        QSignalSpy changed(&f.manager, &ClipboardManager::entriesChanged);
        f.manager.select(top); // already on top: it stays as it is
        QCOMPARE(*f.pasteboard.stringForType(PasteboardType::plainText), u"later"_s);
        QCOMPARE(top->timestamp(), topTime);
        QCOMPARE(changed.count(), 0);

        f.clock.advance(5);
        f.manager.select(image);
        const int writes = f.pasteboard.writeCount();
        f.manager.poll();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.pasteboard.writeCount(), writes);
        QCOMPARE(f.texts(), (QStringList{u"<image>"_s, u"later"_s}));
        QVERIFY(image->isFavorite() && image->timestamp() > topTime);
        QCOMPARE(image->mimetype(), QString(PasteboardType::tiff));
    }

    void burstOfChangesIsSavedOnce()
    {
        Fixture f;
        QSignalSpy saved(&f.manager.store(), &ClipboardStore::saveFinished);
        for (int i = 0; i < 5; ++i) {
            f.copyText(QString::number(i));
            QTest::qWait(100);
        }
        QCOMPARE(saved.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(saved.count(), 1, 3000);
        QTest::qWait(ClipboardManager::saveDelayMs + 200);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(ClipboardStore(f.manager.store().appSupportDir()).load().size(), 5);
    }

    void anUntouchedHistoryIsNotWrittenAgain()
    {
        Fixture f;
        f.copyText(u"kept"_s);
        f.waitForSave();
        QSignalSpy saved(&f.manager.store(), &ClipboardStore::saveFinished);
        // A restart and a quit with nothing new: the registry on disk already says it all.
        f.manager.stopMonitoring();
        f.manager.startMonitoring();
        QVERIFY(!saved.wait(ClipboardManager::saveDelayMs + 300));
        // A save that failed is owed, and paid at the next one asked for.
        {
            test::FullDisk full;
            f.copyText(u"while full"_s);
            f.waitForSave();
        }
        QVERIFY(!f.manager.store().lastSave());
        saved.clear();
        f.manager.stopMonitoring();
        QVERIFY(saved.wait(3000));
        QCOMPARE(ClipboardStore(f.manager.store().appSupportDir()).load().size(), 2);
    }

    void lostSettingsNeverDeleteHistory()
    {
        test::TempHome home;
        test::MemoryPasteboard pasteboard;
        test::FakeWorkspace workspace;
        const QString dataDir = home.dataHome() + "/tessel"_L1;
        {
            SettingsStore settings(SettingsStore::defaultFilePath());
            settings.set(settings::maxHistoryItems, qint64(200));
            ClipboardStore store(dataDir);
            ClipboardEntryList entries;
            for (int i = 0; i < 200; ++i)
                entries.append(std::make_shared<ClipboardEntry>(
                    PasteboardType::plainText, QString::number(i), std::nullopt, std::nullopt,
                    false, QDateTime::currentDateTimeUtc()));
            store.save(entries);
            QVERIFY(store.waitForPendingSaves(10000));
        }
        QVERIFY(AppPaths::writePrivateFile(SettingsStore::defaultFilePath(), "{\"maxHistory"));

        SettingsStore settings(SettingsStore::defaultFilePath());
        ClipboardManager manager(pasteboard, workspace, settings,
                                 std::make_unique<ClipboardStore>(dataDir));
        manager.startMonitoring();
        pasteboard.writeExternal(textItem(u"new"_s));
        manager.poll();
        // The 200 the user had stay the limit: one copy costs at most the oldest entry.
        QCOMPARE(manager.entries().size(), 200);
        QCOMPARE(manager.entries().first()->textContent(), u"new"_s);

        // A limit the user chooses again is the limit.
        settings.set(settings::maxHistoryItems, qint64(10));
        pasteboard.writeExternal(textItem(u"newer"_s));
        manager.poll();
        QCOMPARE(manager.entries().size(), 10);
    }

    void aLimitNobodyChoseNeverDeletesHistory_data()
    {
        QTest::addColumn<QByteArray>("settingsFile");
        QTest::addColumn<int>("kept");
        // 120 entries are stored, 5 of them pinned; one copy follows.
        QTest::newRow("no settings file") << QByteArray() << 120;
        QTest::newRow("the settings folder is a file") << "folder"_ba << 120;
        QTest::newRow("the limit as text") << R"({"maxHistoryItems": "200"})"_ba << 121;
        QTest::newRow("a fraction") << R"({"maxHistoryItems": 200.5})"_ba << 121;
        QTest::newRow("far too large") << R"({"maxHistoryItems": 1e300})"_ba << 121;
        QTest::newRow("zero") << R"({"maxHistoryItems": 0})"_ba << 120;
        QTest::newRow("negative") << R"({"maxHistoryItems": -1})"_ba << 120;
        QTest::newRow("no number") << R"({"maxHistoryItems": true})"_ba << 120;
        QTest::newRow("smaller, as the preferences store it")
            << R"({"maxHistoryItems": 20})"_ba << 25;
    }

    void aLimitNobodyChoseNeverDeletesHistory()
    {
        QFETCH(QByteArray, settingsFile);
        QFETCH(int, kept);
        test::TempHome home;
        test::MemoryPasteboard pasteboard;
        test::FakeWorkspace workspace;
        const QString dataDir = home.dataHome() + "/tessel"_L1;
        {
            ClipboardStore store(dataDir);
            ClipboardEntryList entries;
            for (int i = 0; i < 120; ++i)
                entries.append(std::make_shared<ClipboardEntry>(
                    PasteboardType::plainText, QString::number(i), std::nullopt, std::nullopt,
                    i % 24 == 0, QDateTime::currentDateTimeUtc()));
            store.save(entries);
            QVERIFY(store.waitForPendingSaves(10000));
        }
        QVERIFY(AppPaths::ensurePrivateDir(home.configHome()));
        if (settingsFile == "folder")
            QVERIFY(AppPaths::writePrivateFile(AppPaths::configDir(), "not a folder"));
        else if (!settingsFile.isEmpty())
            QVERIFY(AppPaths::ensurePrivateDir(AppPaths::configDir()) &&
                    AppPaths::writePrivateFile(SettingsStore::defaultFilePath(), settingsFile));

        SettingsStore settings(SettingsStore::defaultFilePath());
        ClipboardManager manager(pasteboard, workspace, settings,
                                 std::make_unique<ClipboardStore>(dataDir));
        manager.startMonitoring();
        pasteboard.writeExternal(textItem(u"new"_s));
        manager.poll();
        QCOMPARE(manager.entries().size(), kept);
        QCOMPARE(manager.entries().first()->textContent(), u"new"_s);
        // Pins are never trimmed.
        QCOMPARE(std::count_if(manager.entries().cbegin(), manager.entries().cend(),
                               [](const ClipboardEntryPtr& e) { return e->isFavorite(); }),
                 5);
    }

    void aSteadyStreamOfCopiesIsSavedWithinTheDeadline()
    {
        Fixture f;
        QSignalSpy saved(&f.manager.store(), &ClipboardStore::saveFinished);
        // A copy every 100 ms would put a save that waits for a quiet moment off for ever.
        QElapsedTimer streaming;
        streaming.start();
        for (int i = 0; saved.isEmpty() && streaming.elapsed() < 4000; ++i) {
            f.copyText(u"copy %1"_s.arg(i));
            QTest::qWait(100);
        }
        QVERIFY(!saved.isEmpty());
        QVERIFY2(streaming.elapsed() < ClipboardManager::saveDeadlineMs + 1000,
                 qPrintable(QString::number(streaming.elapsed())));
        QVERIFY(ClipboardStore(f.manager.store().appSupportDir()).load().size() >= 10);
    }

    void theOldestEntriesGiveWayToTheRegistryLimit()
    {
        Fixture f;
        constexpr qint64 limit = 1024 * 1024;
        f.manager.store().setMaxRegistryBytes(limit);
        // Each escapes to about 600 KB: the pinned one and the two small ones fit, no other.
        f.copyText(QString(100'000, QChar(0x0e)));
        f.manager.toggleFavorite(f.manager.entries().first());
        for (int i = 1; i < 10; ++i)
            f.copyText(QString(100'000, QChar(0x0e + i)));
        f.copyText(u"second"_s);
        f.copyText(u"newest"_s);
        f.waitForSave();
        QVERIFY(QFileInfo(f.manager.store().registryURL()).size() <= limit);
        QCOMPARE(f.manager.entries().size(), 3);
        QVERIFY(f.manager.entries().last()->isFavorite());
        ClipboardStore reread(f.manager.store().appSupportDir());
        reread.setMaxRegistryBytes(limit);
        QCOMPARE(reread.load().size(), 3);
    }

    void everyChangeReachesTheDisk()
    {
        Fixture f;
        for (const QString& t : {u"a"_s, u"b"_s, u"c"_s})
            f.copyText(t);
        f.copy(item({{PasteboardType::png, test::encodedImage("png")}}));
        f.waitForSave();
        const auto reloaded = [&] {
            f.manager.store().waitForPendingSaves(3000);
            QStringList texts;
            for (const auto& e : ClipboardStore(f.manager.store().appSupportDir()).load())
                texts.append(e->textContent().value_or(u"<image>"_s) +
                             (e->isFavorite() ? u"*"_s : QString()));
            return texts;
        };
        f.manager.toggleFavorite(f.manager.entries().at(2)); // b
        f.waitForSave();
        QCOMPARE(reloaded(), (QStringList{u"<image>"_s, u"c"_s, u"b*"_s, u"a"_s}));
        f.manager.deleteEntry(f.manager.entries().first());
        f.waitForSave();
        QCOMPARE(reloaded(), (QStringList{u"c"_s, u"b*"_s, u"a"_s}));
        QCOMPARE(f.blobCount(), 0); // the deleted image's file went with it
        // A lower limit, chosen in the preferences, trims the history on disk too: at the
        // smallest choice, ten, the oldest entry gives way.
        QStringList newer;
        for (int i = 0; i < 9; ++i) {
            newer.prepend(QString::number(i));
            f.copyText(newer.constFirst());
        }
        f.waitForSave();
        f.settings.set(settings::maxHistoryItems, qint64(10));
        f.manager.applyHistoryLimit();
        f.waitForSave();
        QCOMPARE(reloaded(), (newer + QStringList{u"c"_s, u"b*"_s}));
        f.manager.clearAll();
        f.waitForSave();
        QCOMPARE(reloaded(), QStringList{u"b*"_s});
    }

    void monitoringPollsTheRealTimer()
    {
        Fixture f;
        f.pasteboard.writeExternal(textItem(u"seen by the timer"_s));
        QTRY_COMPARE_WITH_TIMEOUT(f.manager.entries().size(), 1, 2000);
    }
};

QTEST_GUILESS_MAIN(TestClipboardManager)
#include "test_clipboard_manager.moc"
