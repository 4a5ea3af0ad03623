// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ImageLoader.h"
#include "clipboard/PasteboardTypes.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
ClipboardEntryPtr imageEntry(std::optional<QByteArray> bytes, std::optional<QString> file = {})
{
    return std::make_shared<ClipboardEntry>(PasteboardType::png, std::nullopt, std::move(bytes),
                                            std::move(file), false,
                                            QDateTime::currentDateTimeUtc());
}

ClipboardEntryPtr pictureEntry(QColor colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return imageEntry(png);
}

void waitUntilIdle(const ImageLoader& loader)
{
    QTRY_VERIFY_WITH_TIMEOUT(loader.isIdle(), 10000);
    QCoreApplication::processEvents(); // the last result's signal
}
} // namespace

class TestImageLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thumbnailsArriveLaterAtTheirBound()
    {
        ImageLoader loader;
        QSignalSpy ready(&loader, &ImageLoader::thumbnailReady);
        const auto entry = pictureEntry(Qt::green, 400, 200);
        // Asking never decodes on the caller's thread: the first answer is always "not yet".
        QVERIFY(!loader.thumbnail(entry, QSize(100, 120)));
        QVERIFY(!loader.thumbnail(entry, QSize(100, 120))); // asked again: still one decode
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.first().first().value<QUuid>(), entry->id());
        const auto thumbnail = loader.thumbnail(entry, QSize(100, 120));
        QVERIFY(thumbnail);
        QCOMPARE(thumbnail->size(), QSize(100, 50));
        QCOMPARE(thumbnail->pixelColor(50, 25), QColor(Qt::green));
        QCOMPARE(entry->imageSize(), QSize(400, 200));
        // Never enlarged.
        QVERIFY(!loader.thumbnail(entry, QSize(800, 800)));
        QTRY_VERIFY(loader.thumbnail(entry, QSize(800, 800)));
        QCOMPARE(loader.thumbnail(entry, QSize(800, 800))->size(), QSize(400, 200));
        waitUntilIdle(loader);
        QCOMPARE(ready.count(), 2);
    }

    void theCacheStaysWithinItsBytes()
    {
        ImageLoader loader;
        loader.setCacheLimit(1024 * 1024);
        QList<ClipboardEntryPtr> entries;
        for (int i = 0; i < 40; ++i)
            entries.append(pictureEntry(QColor::fromHsv(i * 9, 200, 200), 300, 300));
        // 40 thumbnails of 200 x 200 (160 KB each), asked for one screen at a time.
        for (const auto& entry : entries) {
            loader.thumbnail(entry, QSize(200, 200));
            waitUntilIdle(loader);
            QVERIFY(loader.cachedBytes() <= 1024 * 1024);
        }
        QVERIFY(loader.cachedBytes() > 512 * 1024);
        // The rows seen last are the ones kept.
        QVERIFY(loader.thumbnail(entries.last(), QSize(200, 200)));
        loader.clear();
        QCOMPARE(loader.cachedBytes(), 0);
        QVERIFY(!loader.thumbnail(entries.last(), QSize(200, 200)));
    }

    void rowsScrolledPastAreNotDecoded()
    {
        ImageLoader loader;
        QSignalSpy ready(&loader, &ImageLoader::thumbnailReady);
        QList<ClipboardEntryPtr> entries;
        for (int i = 0; i < 60; ++i)
            entries.append(pictureEntry(QColor::fromHsv(i * 5, 200, 200), 200, 100));
        // A fast scroll asks for every row in turn before any decode is back.
        for (const auto& entry : entries)
            loader.thumbnail(entry, QSize(100, 100));
        waitUntilIdle(loader);
        // The first asked (its decode already running) and the newest few; the rest were passed.
        QVERIFY2(ready.count() <= ImageLoader::maxWaitingThumbnails + 1,
                 qPrintable(QString::number(ready.count())));
        QVERIFY(loader.thumbnail(entries.last(), QSize(100, 100)));
        QVERIFY(!loader.thumbnail(entries.at(20), QSize(100, 100))); // asked again, later
    }

    void aClearDuringADecodeKeepsNothing()
    {
        ImageLoader loader;
        const auto entry = pictureEntry(Qt::red, 2000, 2000);
        QVERIFY(!loader.thumbnail(entry, QSize(100, 100)));
        loader.clear(); // the popup closed while its first row was decoding
        waitUntilIdle(loader);
        QCOMPARE(loader.cachedBytes(), 0);
    }

    void undecodableImagesAreTriedOnce()
    {
        QTemporaryDir dir;
        const QString blob = dir.filePath(u"blob.png"_s);
        QFile file(blob);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\n truncated");
        file.close();
        ImageLoader loader;
        QSignalSpy ready(&loader, &ImageLoader::thumbnailReady);
        const auto broken = imageEntry(std::nullopt, blob);
        const auto missing = imageEntry(std::nullopt, dir.filePath(u"gone.png"_s));
        QVERIFY(!loader.thumbnail(broken, QSize(40, 40)));
        QVERIFY(!loader.thumbnail(missing, QSize(40, 40)));
        waitUntilIdle(loader);
        // Told, so that the rows show their text instead of waiting for an image.
        QCOMPARE(ready.count(), 2);
        QVERIFY(broken->isUndecodable() && missing->isUndecodable());
        // Were it decoded again, the replaced file would now give an image.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(test::encodedImage("png"));
        file.close();
        QVERIFY(!loader.thumbnail(broken, QSize(40, 40)));
        QVERIFY(loader.isIdle());
    }

    void loadsDecodeAtTheAskedSizeForTheirOwner()
    {
        ImageLoader loader;
        const auto entry = pictureEntry(Qt::blue, 640, 480);
        std::optional<QImage> full, preview;
        bool fullArrived = false;
        auto owner = std::make_unique<QObject>();
        loader.load(entry, {}, owner.get(), [&](const std::optional<QImage>& image) {
            full = image;
            fullArrived = true;
        });
        loader.load(entry, QSize(64, 64), owner.get(),
                    [&](const std::optional<QImage>& image) { preview = image; });
        QTRY_VERIFY(fullArrived && preview);
        QCOMPARE(full->size(), QSize(640, 480));
        QCOMPARE(preview->size(), QSize(64, 48));
        QCOMPARE(loader.cachedBytes(), 0); // the caller keeps what it asked for

        // An owner gone before the decode is back is not called.
        bool called = false;
        loader.load(entry, {}, owner.get(), [&](const std::optional<QImage>&) { called = true; });
        owner.reset();
        waitUntilIdle(loader);
        QVERIFY(!called);

        // A text, or an image that does not decode, answers nothing.
        auto other = std::make_unique<QObject>();
        std::optional<bool> empty;
        loader.load(imageEntry("not an image"_ba), {}, other.get(),
                    [&](const std::optional<QImage>& image) { empty = !image; });
        QTRY_VERIFY(empty.has_value());
        QVERIFY(*empty);
    }

    void sizesAreReadFromHeadersAhead()
    {
        ImageLoader loader;
        const auto wide = pictureEntry(Qt::gray, 900, 90);
        const auto broken = imageEntry("\x89PNG\r\n\x1a\n not a header"_ba);
        const auto text =
            std::make_shared<ClipboardEntry>(PasteboardType::plainText, u"words"_s, std::nullopt,
                                             std::nullopt, false, QDateTime::currentDateTimeUtc());
        loader.learnSizes({wide, broken, text});
        waitUntilIdle(loader);
        QCOMPARE(wide->imageSize(), QSize(900, 90));
        QVERIFY(!wide->isUndecodable());
        QVERIFY(broken->isUndecodable());
        QVERIFY(!text->imageSize());
        QCOMPARE(loader.cachedBytes(), 0); // no pixels decoded for it
    }
};

QTEST_GUILESS_MAIN(TestImageLoader)
#include "test_image_loader.moc"
