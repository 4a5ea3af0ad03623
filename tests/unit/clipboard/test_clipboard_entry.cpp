// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardEntry.h"
#include "clipboard/ImageDecoder.h"
#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"
#include "clipboard/TargetList.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <thread>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
ClipboardEntry textEntry(const QString& text)
{
    return ClipboardEntry(PasteboardType::plainText, text, std::nullopt, std::nullopt, false,
                          QDateTime::currentDateTimeUtc());
}

ClipboardEntry imageEntry(std::optional<QByteArray> bytes, std::optional<QString> file = {},
                          QLatin1StringView type = PasteboardType::png)
{
    return ClipboardEntry(type, std::nullopt, std::move(bytes), std::move(file), false,
                          QDateTime::currentDateTimeUtc());
}

} // namespace

class TestClipboardEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void preview_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("preview");
        const QString a48(48, u'a');
        QTest::newRow("48 characters pass") << a48 << a48;
        QTest::newRow("49 are cut to 47 and an ellipsis")
            << QString(49, u'b') << QString(47, u'b') + u'\u2026';
        QTest::newRow("whitespace runs collapse") << u"a \n\n\t b"_s << u"a b"_s;
        QTest::newRow("unicode spaces collapse") << u"a\u00a0\u2003b\u3000"_s << u"a b"_s;
        // A family emoji is one user-perceived character made of several code points.
        const QString family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
        QTest::newRow("cut keeps graphemes whole")
            << family.repeated(50) << family.repeated(47) + u'\u2026';
    }

    void preview()
    {
        QFETCH(QString, text);
        QFETCH(QString, preview);
        QCOMPARE(textEntry(text).previewText(), preview);
    }

    void previewsOfHostileTextsStayShort_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("preview");
        const QString acute(8, QChar(0x0301));
        // A web page can put one letter under millions of accents on the clipboard; laying that
        // out froze every opening of the popup.
        QTest::newRow("one letter, 3,000,000 marks")
            << u"a"_s + QString(3'000'000, QChar(0x0301)) << u"a"_s + acute + u'\u2026';
        QTest::newRow("marks on every letter")
            << QString(u"e"_s + QString(40, QChar(0x0301))).repeated(60)
            << QString(u"e"_s + acute).repeated(47) + u'\u2026';
        QTest::newRow("a few marks stay") << u"a\u0323\u0302b"_s << u"a\u0323\u0302b"_s;
        QTest::newRow("megabytes of white space between two words")
            << u"a"_s + QString(4'000'000, u' ') + u"b"_s << u"a\u2026"_s;
        QTest::newRow("megabytes of text")
            << u"word "_s.repeated(2'000'000) << u"word "_s.repeated(10).left(47) + u'\u2026';
    }

    void previewsOfHostileTextsStayShort()
    {
        QFETCH(QString, text);
        QFETCH(QString, preview);
        QCOMPARE(textEntry(text).previewText(), preview);
    }

    void imagesAreNamedByTheirHash()
    {
        const QByteArray png = test::encodedImage("png");
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex());
        QCOMPARE(imageEntry(png).hash(), hash);
        QVERIFY(imageEntry(png).previewText().isEmpty());
        // A blob that is gone is still an image, with nothing to offer.
        const auto lost = imageEntry(std::nullopt, u"/nonexistent/blob.png"_s);
        QVERIFY(lost.isImage() && lost.pasteboardItem().isEmpty());
    }

    void pasteboardItems()
    {
        // Undecodable bytes are still offered, under the PNG type alone.
        const auto broken = imageEntry("not an image"_ba).pasteboardItem();
        QCOMPARE(broken.types(), QStringList{QString(PasteboardType::png)});
        QCOMPARE(*broken.data(PasteboardType::png), "not an image"_ba);

        // Captured as TIFF: the TIFF bytes as they were, and real PNG for the PNG type.
        const QByteArray tiff = test::encodedImage("tiff", Qt::blue);
        const auto image = imageEntry(tiff, {}, PasteboardType::tiff).pasteboardItem();
        QCOMPARE(image.types(),
                 (QStringList{QString(PasteboardType::tiff), QString(PasteboardType::png)}));
        QCOMPARE(*image.data(PasteboardType::tiff), tiff);
        QImage decoded;
        QVERIFY(decoded.loadFromData(*image.data(PasteboardType::png), "PNG"));
        QCOMPARE(decoded.pixelColor(0, 0), QColor(Qt::blue));

        // Captured as PNG: the PNG bytes as they were, and a TIFF rendering.
        const QByteArray png = test::encodedImage("png", Qt::green);
        const auto pngItem = imageEntry(png).pasteboardItem();
        QCOMPARE(pngItem.types(),
                 (QStringList{QString(PasteboardType::tiff), QString(PasteboardType::png)}));
        QCOMPARE(*pngItem.data(PasteboardType::png), png);
        QVERIFY(decoded.loadFromData(*pngItem.data(PasteboardType::tiff), "TIFF"));
        QCOMPARE(decoded.pixelColor(0, 0), QColor(Qt::green));
    }

    void aChosenImageHoldsNoConvertedCopy()
    {
        // A 2000 x 2000 picture is 16 MB decoded and as TIFF; its PNG is a few kilobytes. Only the
        // bytes captured are held by the item; the conversion is made for each program that asks.
        QImage picture(2000, 2000, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        const auto item = imageEntry(png).pasteboardItem();
        qsizetype held = 0;
        for (const PasteboardValue& value : item.values())
            held += value.bytes.size();
        QCOMPARE(held, png.size());
        const auto tiff = item.data(PasteboardType::tiff);
        QVERIFY(tiff && tiff->size() > 100 * png.size());
        QImage decoded;
        QVERIFY(decoded.loadFromData(*tiff, "TIFF"));
        QCOMPARE(decoded.size(), QSize(2000, 2000));
        QCOMPARE(decoded.pixelColor(1999, 1999), QColor(Qt::darkCyan));
    }

    void oversizedImagesAreNotDecodedNorConverted()
    {
        // Valid headers announcing `side` x `side` pixels, with no pixel data behind them.
        const auto bigEndian = [](quint32 value) {
            const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8),
                                  char(value)};
            return QByteArray(bytes, 4);
        };
        const auto announcing = [&](quint32 side) {
            QByteArray png = test::encodedImage("png");
            const int ihdr = png.indexOf("IHDR");
            png.replace(ihdr + 4, 8, QByteArray(bigEndian(side) + bigEndian(side)));
            quint32 crc = 0xFFFFFFFF; // of the chunk's type and data (CRC-32, as zlib's)
            for (const char byte : png.mid(ihdr, 4 + 13)) {
                crc ^= quint8(byte);
                for (int bit = 0; bit < 8; ++bit)
                    crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
            }
            png.replace(ihdr + 4 + 13, 4, bigEndian(~crc));
            return png;
        };
        const QByteArray huge = announcing(100000);
        QVERIFY(!ImageDecoder::probe(huge));
        QVERIFY(!ImageDecoder::decode(huge, QSize(100, 100)));
        QCOMPARE(imageEntry(huge).pasteboardItem().types(),
                 QStringList{QString(PasteboardType::png)});
        // 6000 x 6000 is shown, but a program waiting for it as TIFF would wait for seconds.
        const QByteArray large = announcing(6000);
        QCOMPARE(ImageDecoder::probe(large), QSize(6000, 6000));
        const auto item = imageEntry(large).pasteboardItem();
        QCOMPARE(item.types(), QStringList{QString(PasteboardType::png)});
        QCOMPARE(*item.data(PasteboardType::png), large);
    }

    void targetListBecomesTypesAndReadTargets_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("textTarget");
        QTest::addColumn<QString>("pngTarget");

        const QString text = PasteboardType::plainText;
        QTest::newRow("GTK text: every alias is one type, UTF-8 preferred")
            << QStringList{u"TIMESTAMP"_s,  u"TARGETS"_s,
                           u"MULTIPLE"_s,   u"SAVE_TARGETS"_s,
                           u"STRING"_s,     u"TEXT"_s,
                           u"text/plain"_s, u"text/plain;charset=utf-8"_s,
                           u"UTF8_STRING"_s}
            << QStringList{text} << u"UTF8_STRING"_s << QString();
        QTest::newRow("MIME names in another case, the UTF-8 one preferred")
            << QStringList{u"TEXT/PLAIN"_s, u"text/plain;charset=UTF-8"_s} << QStringList{text}
            << u"text/plain;charset=UTF-8"_s << QString();
        QTest::newRow("legacy Latin-1 only")
            << QStringList{u"STRING"_s} << QStringList{text} << u"STRING"_s << QString();
        QTest::newRow("image with markers keeps the owner's order and names")
            << QStringList{u"x-kde-passwordManagerHint"_s, u"image/png"_s,
                           u"application/x-qt-image"_s, u"image/bmp"_s, u"image/png"_s}
            << QStringList{u"x-kde-passwordManagerHint"_s, QString(PasteboardType::png),
                           u"image/bmp"_s}
            << QString() << u"image/png"_s;
    }

    void targetListBecomesTypesAndReadTargets()
    {
        QFETCH(QStringList, targets);
        QFETCH(QStringList, types);
        QFETCH(QString, textTarget);
        QFETCH(QString, pngTarget);
        const auto offer = TargetList::fromTargets(targets);
        QCOMPARE(offer.types, types);
        QCOMPARE(offer.text.target, textTarget);
        QCOMPARE(offer.pngTarget, pngTarget);
    }

    void handOverStampsSnapshotsOnItsOwnThreadInOrder()
    {
        SnapshotHandOver handOver;
        QList<ClipboardSnapshot> delivered;
        QList<bool> onMainThread;
        handOver.setHandler([&](const ClipboardSnapshot& s) {
            delivered.append(s);
            onMainThread.append(QThread::currentThread() == thread());
        });
        const qint64 start = handOver.changeCount();
        // The reader's thread only stamps and queues; the handler runs on the main thread.
        std::thread reader([&] {
            for (quint64 serial = 1; serial <= 3; ++serial) {
                handOver.changeSeen(serial);
                ClipboardSnapshot s;
                s.text = QString::number(serial);
                handOver.contentsRead(serial, std::move(s));
            }
        });
        reader.join();
        QVERIFY(delivered.isEmpty()); // nothing runs on the reader's thread
        QTRY_COMPARE(delivered.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(delivered[i].text, QString::number(i + 1));
            QCOMPARE(delivered[i].changeCount, start + i + 1);
            QVERIFY(onMainThread[i]);
        }
    }

    void handOverDropsContentsOfAReplacedChange()
    {
        SnapshotHandOver handOver;
        QList<ClipboardSnapshot> delivered;
        handOver.setHandler([&](const ClipboardSnapshot& s) { delivered.append(s); });
        handOver.changeSeen(1);
        handOver.changeSeen(2);
        handOver.contentsRead(1, {});
        QCoreApplication::processEvents();
        QVERIFY(delivered.isEmpty());

        // An own write after a change was seen moves the count past the snapshot's stamp.
        handOver.contentsRead(2, {});
        handOver.countOwnWrite();
        QCoreApplication::processEvents();
        QCOMPARE(delivered.size(), 1);
        QVERIFY(delivered[0].changeCount < handOver.changeCount());
    }
};

QTEST_GUILESS_MAIN(TestClipboardEntry)
#include "test_clipboard_entry.moc"
