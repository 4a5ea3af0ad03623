// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerFixture.h"
#include "core/AppPaths.h"
#include "support/TestImages.h"

#include <QDir>
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

    void limitsOfZeroAndBelowKeepOnlyFavourites_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::newRow("zero") << qint64(0);
        QTest::newRow("negative") << qint64(-3);
    }

    void limitsOfZeroAndBelowKeepOnlyFavourites()
    {
        QFETCH(qint64, limit);
        Fixture f;
        f.copyText(u"pinned"_s);
        f.manager.toggleFavorite(f.manager.entries().first());
        f.copyText(u"old"_s);
        f.settings.set(settings::maxHistoryItems, limit);
        f.copyText(u"new"_s);
        QCOMPARE(f.texts(), QStringList{u"pinned"_s});
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
        // A lower limit, chosen in the preferences, trims the history on disk too.
        f.settings.set(settings::maxHistoryItems, qint64(1));
        f.manager.applyHistoryLimit();
        f.waitForSave();
        QCOMPARE(reloaded(), (QStringList{u"c"_s, u"b*"_s}));
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
