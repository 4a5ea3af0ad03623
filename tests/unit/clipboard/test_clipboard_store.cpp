// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "core/AppPaths.h"
#include "support/FullDisk.h"
#include "support/TestImages.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
constexpr auto kNoPermissionsForOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

ClipboardEntryPtr text(const QString& t, bool favorite = false)
{
    return std::make_shared<ClipboardEntry>(PasteboardType::plainText, t, std::nullopt,
                                            std::nullopt, favorite,
                                            QDateTime::fromMSecsSinceEpoch(1700000000250, Qt::UTC));
}

ClipboardEntryPtr image(const QByteArray& bytes, QLatin1StringView type = PasteboardType::png)
{
    return std::make_shared<ClipboardEntry>(type, std::nullopt, bytes, std::nullopt, false,
                                            QDateTime::currentDateTimeUtc());
}

QJsonArray readRegistry(const ClipboardStore& store)
{
    QFile file(store.registryURL());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).array();
}

// Saves and waits until the background write and its hand-back are done.
void saveAndWait(ClipboardStore& store, const ClipboardEntryList& entries)
{
    QSignalSpy finished(&store, &ClipboardStore::saveFinished);
    store.save(entries);
    QVERIFY(finished.wait(10000));
}

QStringList blobs(const ClipboardStore& store)
{
    return QDir(store.imagesDir()).entryList(QDir::Files | QDir::System | QDir::Hidden);
}
} // namespace

class TestClipboardStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void historyRoundTripsThroughPrivateFiles()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        QVERIFY(store.load().isEmpty());
        const QByteArray tiff = test::encodedImage("tiff");
        const auto img = image(tiff, PasteboardType::tiff);
        const QString hash = img->hash();
        saveAndWait(store, {text(u"newest"_s, true), img, text(u"oldest"_s)});

        // The image's bytes moved to their blob, named by their hash; private files only.
        const QString blob = store.imagesDir() + u'/' + hash + ".png"_L1;
        QCOMPARE(img->imageFileURL(), blob);
        QVERIFY(!img->loadedImageData().has_value());
        for (const QString& path :
             {store.appSupportDir(), store.imagesDir(), store.registryURL(), blob})
            QCOMPARE(QFile::permissions(path) & kNoPermissionsForOthers, QFile::Permissions{});

        const auto loaded = ClipboardStore(store.appSupportDir()).load();
        QCOMPARE(loaded.size(), 3);
        QCOMPARE(loaded[0]->textContent(), u"newest"_s);
        QVERIFY(loaded[0]->isFavorite());
        QCOMPARE(loaded[0]->timestamp().toMSecsSinceEpoch(), 1700000000250);
        QCOMPARE(loaded[1]->mimetype(), QString(PasteboardType::tiff));
        QCOMPARE(loaded[1]->hash(), hash);
        QCOMPARE(*loaded[1]->imageBytes(), tiff);
        QCOMPARE(loaded[2]->textContent(), u"oldest"_s);

        // A blob is written once: a later save leaves the file as it is.
        const QDateTime written = QFileInfo(blob).lastModified();
        QTest::qWait(20);
        saveAndWait(store, {img, image(tiff)});
        QCOMPARE(QFileInfo(blob).lastModified(), written);
        QCOMPARE(blobs(store).size(), 1);
    }

    void unreadableRegistryIsMovedAside_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not JSON") << "{not json"_ba;
        QTest::newRow("no array") << R"({"text": "a"})"_ba;
    }

    void unreadableRegistryIsMovedAside()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        QVERIFY(AppPaths::writePrivateFile(store.registryURL(), contents));
        QVERIFY(store.load().isEmpty());
        const auto aside =
            QDir(store.appSupportDir()).entryList({u"registry.json.corrupt-*"_s}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(*AppPaths::readPrivateFile(store.appSupportDir() + u'/' + aside.first(), 100),
                 contents);
        saveAndWait(store, {text(u"new"_s)});
        QCOMPARE(readRegistry(store).size(), 1);
    }

    void recordsLoadLeniently()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        // One record that is no object costs that record, not the history.
        QVERIFY(AppPaths::writePrivateFile(store.registryURL(), R"([
            null,
            {"mimetype": "public.utf8-plain-text", "timestamp": 1, "text": "both", "imageFile": "x.png"},
            3, "text", [{"text": "nested"}],
            {"favorite": false, "timestamp": 1},
            {"mimetype": 7, "favorite": "yes", "text": "defaults"},
            {"timestamp": 3, "imageFile": "../../outside.png"},
            {"text": "own type", "mimetype": "text/html", "timestamp": 2.5, "favorite": true}
        ])"));
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const auto entries = store.load();
        QCOMPARE(entries.size(), 3);
        QVERIFY(!entries[0]->isImage());
        QCOMPARE(entries[0]->timestamp().toMSecsSinceEpoch(), 1000);
        QCOMPARE(entries[1]->textContent(), u"defaults"_s);
        QCOMPARE(entries[1]->mimetype(), QString(PasteboardType::plainText));
        QVERIFY(!entries[1]->isFavorite() && entries[1]->timestamp() >= before);
        QCOMPARE(entries[2]->mimetype(), u"text/html"_s);
        QCOMPARE(entries[2]->timestamp().toMSecsSinceEpoch(), 2500);
        QVERIFY(entries[2]->isFavorite());
    }

    void theRegistryWrittenIsAlwaysReadBack()
    {
        QTemporaryDir dir;
        constexpr qint64 limit = 1024 * 1024;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        store.setMaxRegistryBytes(limit);
        // Control characters take six bytes each in JSON: ten texts of 100,000 of them escape to
        // six times the limit. The oldest is pinned.
        ClipboardEntryList entries{text(u"newest"_s), text(u"second"_s)};
        for (int i = 0; i < 10; ++i)
            entries.append(text(QString(100'000, QChar(0x0e + i)), i == 9));
        QSignalSpy leftOut(&store, &ClipboardStore::entriesLeftOut);
        saveAndWait(store, entries);
        QVERIFY(QFileInfo(store.registryURL()).size() <= limit);

        ClipboardStore reread(store.appSupportDir());
        reread.setMaxRegistryBytes(limit);
        const ClipboardEntryList loaded = reread.load();
        // The oldest unpinned entries gave way; the pin stays.
        QCOMPARE(loaded.size(), 3);
        QCOMPARE(loaded.at(0)->textContent(), u"newest"_s);
        QCOMPARE(loaded.at(1)->textContent(), u"second"_s);
        QCOMPARE(loaded.at(2)->textContent(), entries.last()->textContent());
        QVERIFY(loaded.at(2)->isFavorite());
        QCOMPARE(leftOut.count(), 1);
        const auto gone = leftOut.at(0).at(0).value<ClipboardEntryList>();
        QCOMPARE(gone, entries.mid(2, 9));
    }

    void savesAreSnapshotsThatLandInOrder()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        const auto pinned = text(u"pin me"_s);
        for (int i = 1; i <= 20; ++i) {
            ClipboardEntryList entries{pinned};
            for (int j = 1; j < i; ++j)
                entries.append(text(QString::number(j)));
            store.save(entries);
        }
        pinned->setFavorite(true); // after the last save was asked for
        QVERIFY(store.waitForPendingSaves(10000));
        QCOMPARE(readRegistry(store).size(), 20);
        QCOMPARE(readRegistry(store).at(0).toObject().value("favorite"_L1).toBool(), false);
    }

    void aBlobThatCannotBeWrittenKeepsItsBytes()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        // An uncompressed TIFF, far larger than the registry.
        const QByteArray png = test::encodedImage("tiff", Qt::red, 64);
        const auto img = image(png, PasteboardType::tiff);
        QSignalSpy problems(&store, &ClipboardStore::saveProblemChanged);
        {
            test::FullDisk full(4096); // room for the registry, not for the image
            saveAndWait(store, {text(u"a text"_s), img});
        }
        QVERIFY(!store.lastSave());
        QCOMPARE(problems.count(), 1);
        QVERIFY(!img->imageFileURL());
        QCOMPARE(img->loadedImageData(), png);
        QVERIFY(blobs(store).isEmpty());

        // Space is back: the next save writes the image after all.
        saveAndWait(store, {text(u"a text"_s), img});
        QVERIFY(store.lastSave());
        QCOMPARE(problems.count(), 2);
        QCOMPARE(problems.last().at(0).toString(), QString());
        QCOMPARE(*ClipboardStore(store.appSupportDir()).load().at(1)->imageBytes(), png);
    }

    void aFailingSaveIsReportedOnceAndRetried()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        ClipboardEntryList history{text(u"saved before the disk filled up"_s)};
        saveAndWait(store, history);
        QSignalSpy problems(&store, &ClipboardStore::saveProblemChanged);
        {
            test::FullDisk full;
            for (const QString& copy : {u"one"_s, u"two"_s}) {
                history.prepend(text(copy));
                saveAndWait(store, history);
            }
        }
        QCOMPARE(problems.count(), 1);
        QVERIFY(!problems.first().at(0).toString().isEmpty());
        // What was saved before is still whole, not an empty file.
        QCOMPARE(readRegistry(store).size(), 1);
        history.prepend(text(u"three"_s));
        saveAndWait(store, history);
        QCOMPARE(readRegistry(store).size(), 4);
    }

    void hostileRegistriesAreRefusedNotFollowed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to another file") << u"link"_s;
        QTest::newRow("link to /dev/zero") << u"zero"_s;
        QTest::newRow("FIFO") << u"fifo"_s;
    }
    void hostileRegistriesAreRefusedNotFollowed()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        const QString target = dir.filePath(u"elsewhere.json"_s);
        const QByteArray elsewhere = R"([{"text": "for another program"}])";
        QVERIFY(AppPaths::writePrivateFile(target, elsewhere));
        QVERIFY(
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        const QString registry = store.registryURL();
        if (kind == "link"_L1)
            QVERIFY(QFile::link(target, registry));
        else if (kind == "zero"_L1)
            QVERIFY(QFile::link(u"/dev/zero"_s, registry));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(registry).constData(), 0600), 0);

        QVERIFY(store.load().isEmpty());
        saveAndWait(store, {text(u"mine"_s)});
        QVERIFY(store.lastSave());
        QCOMPARE(AppPaths::kindOf(registry), AppPaths::Kind::file);
        QCOMPARE(readRegistry(store).size(), 1);
        const auto kept = AppPaths::readPrivateFile(target, 1024);
        QVERIFY(kept);
        QCOMPARE(*kept, elsewhere);
        QCOMPARE(QFile::permissions(target) & QFile::ReadOther, QFile::ReadOther);
    }

    void aDeletionIsNotUndoneByASaveInFlight()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        ClipboardEntryList busy;
        for (int i = 0; i < 10000; ++i)
            busy.append(text(QString::number(i)));
        const auto img = image(test::encodedImage("png"));
        // The writer is still on the long history when the image is saved and then deleted.
        store.save(busy);
        store.save({img});
        store.deleteImageBlob(*img);
        QVERIFY(store.waitForPendingSaves(30000));
        QCoreApplication::processEvents();
        QVERIFY(blobs(store).isEmpty());
        QVERIFY(readRegistry(store).isEmpty());

        // Copied again later, the same image is saved as usual.
        saveAndWait(store, {img});
        QCOMPARE(blobs(store).size(), 1);
    }

    void blobsNoEntryNamesAreSweptAtStart()
    {
        QTemporaryDir dir;
        const auto img = image(test::encodedImage("png"));
        {
            ClipboardStore store(dir.filePath(u"tessel"_s));
            saveAndWait(store, {img});
            QVERIFY(AppPaths::writePrivateFile(store.imagesDir() + "/orphan.png"_L1, "x"));
            QVERIFY(AppPaths::writePrivateFile(store.imagesDir() + "/a.png.Xy12Ab"_L1, "x"));
        }
        ClipboardStore store(dir.filePath(u"tessel"_s));
        QCOMPARE(store.load().size(), 1);
        QCOMPARE(blobs(store), QStringList{img->hash() + ".png"_L1});

        // A registry that cannot be read names nothing for sure: no blob is touched.
        QVERIFY(AppPaths::writePrivateFile(store.imagesDir() + "/orphan.png"_L1, "x"));
        QVERIFY(AppPaths::writePrivateFile(store.registryURL(), "{broken"));
        QVERIFY(store.load().isEmpty());
        QCOMPARE(blobs(store).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestClipboardStore)
#include "test_clipboard_store.moc"
