#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "core/AppPaths.h"
#include "support/FullDisk.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
ClipboardEntryPtr text(const QString& t)
{
    return std::make_shared<ClipboardEntry>(PasteboardType::plainText, t, std::nullopt,
                                            std::nullopt, false, QDateTime::currentDateTimeUtc());
}

ClipboardEntryPtr image(const QByteArray& bytes)
{
    return std::make_shared<ClipboardEntry>(PasteboardType::png, std::nullopt, bytes, std::nullopt,
                                            false, QDateTime::currentDateTimeUtc());
}

// A PNG of noise: it does not compress, so it is far larger than any registry in these tests.
QByteArray noisePng()
{
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "PNG");
    return bytes;
}

QJsonArray readRegistry(const ClipboardStore& store)
{
    QFile file(store.registryURL());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).array();
}

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

class TestStoreHostile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aBlobThatCannotBeWrittenKeepsItsBytes()
    {
        QTemporaryDir dir;
        ClipboardStore store(dir.filePath(u"tessel"_s));
        const QByteArray png = noisePng();
        const auto img = image(png);
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
        saveAndWait(store, {text(u"saved before the disk filled up"_s)});
        QSignalSpy problems(&store, &ClipboardStore::saveProblemChanged);
        {
            test::FullDisk full;
            saveAndWait(store, {text(u"one"_s), text(u"saved before the disk filled up"_s)});
            saveAndWait(store, {text(u"two"_s), text(u"one"_s),
                                text(u"saved before the disk filled up"_s)});
        }
        QCOMPARE(problems.count(), 1);
        QVERIFY(!problems.first().at(0).toString().isEmpty());
        // What was saved before is still whole, not an empty file.
        QCOMPARE(readRegistry(store).size(), 1);
        saveAndWait(store, {text(u"three"_s), text(u"two"_s), text(u"one"_s),
                            text(u"saved before the disk filled up"_s)});
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
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(elsewhere);
        file.close();
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
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), elsewhere);
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

QTEST_GUILESS_MAIN(TestStoreHostile)
#include "test_store_hostile.moc"
