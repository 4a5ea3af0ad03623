#include "clipboard/ClipboardEntry.h"
#include "clipboard/PasteboardTypes.h"
#include "support/TestImages.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

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

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
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

    void imagePreviewNamesTheHash()
    {
        const QByteArray png = test::encodedImage("png");
        const auto entry = imageEntry(png);
        QCOMPARE(entry.previewText(), "[Imagem "_L1 + sha256(png).left(8) + u']');
        QVERIFY(entry.isImage());
        QCOMPARE(entry.hash(), sha256(png));
    }

    void missingBlobIsStillAnImageWithNothingToOffer()
    {
        const auto entry = imageEntry(std::nullopt, u"/nonexistent/blob.png"_s);
        QVERIFY(entry.isImage());
        QCOMPARE(entry.hash(), sha256({}));
        QVERIFY(!entry.image().has_value());
        QVERIFY(entry.pasteboardItem().isEmpty());
    }

    void pasteboardItems()
    {
        const auto text = textEntry(u"héllo"_s).pasteboardItem();
        QCOMPARE(text.types(), QStringList{QString(PasteboardType::plainText)});
        QCOMPARE(*text.data(PasteboardType::plainText), u"héllo"_s.toUtf8());

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
        QCOMPARE(*pngItem.data(PasteboardType::png), png);
        QVERIFY(decoded.loadFromData(*pngItem.data(PasteboardType::tiff), "TIFF"));
        QCOMPARE(decoded.pixelColor(0, 0), QColor(Qt::green));
    }

    void aFailedDecodeIsNotRepeated()
    {
        // Every paint of a row asks again; bytes that failed once must not cost a decode each time.
        QTemporaryDir dir;
        const QString blob = dir.filePath(u"blob.png"_s);
        QFile file(blob);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\n truncated");
        file.close();
        const auto entry = imageEntry(std::nullopt, blob);
        QVERIFY(!entry.image());
        QVERIFY(!entry.thumbnail(QSize(40, 40)));
        // Were it decoded again, the replaced file would now give an image.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(test::encodedImage("png"));
        file.close();
        QVERIFY(!entry.image());
        QVERIFY(!entry.thumbnail(QSize(40, 40)));
    }

    void thumbnailsAreDecodedToFit()
    {
        const auto entry = imageEntry(test::encodedImage("png", Qt::green, 200));
        const auto thumb = entry.thumbnail(QSize(50, 120));
        QVERIFY(thumb);
        QCOMPARE(thumb->size(), QSize(50, 50));
        QCOMPARE(entry.thumbnail(QSize(400, 400))->size(), QSize(200, 200)); // never enlarged
        QVERIFY(!textEntry(u"no image"_s).thumbnail(QSize(50, 50)));
    }

    void oversizedImagesAreNotDecoded()
    {
        // A valid header announcing 100000 x 100000 pixels, with no pixel data behind it.
        QByteArray png = test::encodedImage("png");
        const int ihdr = png.indexOf("IHDR");
        QVERIFY(ihdr > 0);
        const char huge[] = {0x00, 0x01, static_cast<char>(0x86), static_cast<char>(0xA0)};
        png.replace(ihdr + 4, 4, huge, 4);
        png.replace(ihdr + 8, 4, huge, 4);
        const auto entry = imageEntry(png);
        QVERIFY(!entry.image().has_value());
        QCOMPARE(entry.pasteboardItem().types(), QStringList{QString(PasteboardType::png)});
    }
};

QTEST_GUILESS_MAIN(TestClipboardEntry)
#include "test_clipboard_entry.moc"
