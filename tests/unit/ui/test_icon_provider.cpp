#include "ui/IconProvider.h"

#include <QDirIterator>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;
using tessel::IconProvider;

namespace {

// The colour of the most opaque pixel: the body of a stroke, not its anti-aliased edge.
QColor strongestPixel(const QImage& image)
{
    QColor best(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > best.alpha())
                best = c;
        }
    return best;
}

// The area the glyph covers in whole pixels; anti-aliased edges count in part.
int coverage(const QImage& image)
{
    int alpha = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            alpha += qAlpha(image.pixel(x, y));
    return alpha / 255;
}

} // namespace

class TestIconProvider : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Listing ":/icons" needs the resources registered, which IconProvider does when it
        // first reads them; this makes each test function runnable on its own.
        QVERIFY(!IconProvider::applicationIcon().isNull());
    }

    void rendersEverySymbol_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("dpr");
        for (const QString& symbol : IconProvider::symbols()) {
            QTest::addRow("%s@11", qPrintable(symbol)) << symbol << 11 << 1.0;
            QTest::addRow("%s@22x2", qPrintable(symbol)) << symbol << 22 << 2.0;
        }
    }

    void rendersEverySymbol()
    {
        QFETCH(QString, symbol);
        QFETCH(int, size);
        QFETCH(qreal, dpr);
        const QPixmap pm = IconProvider::pixmap(symbol, size, Qt::red, dpr);
        QVERIFY(!pm.isNull());
        QCOMPARE(pm.size(), QSize(qRound(size * dpr), qRound(size * dpr)));
        QCOMPARE(pm.devicePixelRatio(), dpr);
        const QImage image = pm.toImage();
        // A glyph covers a visible part of its square but not all of it.
        const int area = image.width() * image.height();
        QVERIFY2(coverage(image) > area / 30, qPrintable(symbol));
        QVERIFY2(coverage(image) < area * 9 / 10, qPrintable(symbol));
    }

    void tintColoursTheGlyph()
    {
        const QColor tint(0, 200, 0, 128);
        for (const QString& symbol : IconProvider::symbols()) {
            const QColor c = strongestPixel(IconProvider::pixmap(symbol, 24, tint).toImage());
            QVERIFY2(qAbs(c.red() - tint.red()) <= 2 && qAbs(c.green() - tint.green()) <= 2 &&
                         qAbs(c.blue() - tint.blue()) <= 2 && qAbs(c.alpha() - tint.alpha()) <= 2,
                     qPrintable(symbol + u" drawn in "_s + c.name(QColor::HexArgb)));
        }
    }

    void everyShippedGlyphIsInTheTable()
    {
        // The other way round: an SVG added to the resources but forgotten in the table.
        QStringList shipped;
        for (QDirIterator it(u":/icons"_s); it.hasNext();)
            shipped.append(it.nextFileInfo().completeBaseName());
        QVERIFY(shipped.contains(u"tessel"_s));
        QVERIFY(shipped.contains(u"tessel-tray"_s));
        for (const QString& name : std::as_const(shipped))
            if (!name.startsWith(u"tessel"_s))
                QVERIFY2(IconProvider::contains(name), qPrintable(name));
    }

    void unknownSymbolsAndSizesGiveNothing_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("size");
        QTest::newRow("unknown") << u"no.such.symbol"_s << 24;
        QTest::newRow("path") << u"../icons/heart"_s << 24;
        QTest::newRow("application icon is not a glyph") << u"tessel"_s << 24;
        QTest::newRow("zero size") << u"heart"_s << 0;
    }

    void unknownSymbolsAndSizesGiveNothing()
    {
        QFETCH(QString, symbol);
        QFETCH(int, size);
        QVERIFY(IconProvider::pixmap(symbol, size, Qt::black).isNull());
        if (size > 0) {
            QVERIFY(IconProvider::icon(symbol).isNull());
            QVERIFY(IconProvider::resourcePath(symbol).isEmpty());
            QVERIFY(IconProvider::themeName(symbol).isEmpty());
        }
    }

    void iconsFallBackToTheShippedArt()
    {
        // From the theme or from the shipped art, every symbol has an icon that draws something.
        for (const QString& symbol : IconProvider::symbols()) {
            const QIcon icon = IconProvider::icon(symbol);
            QVERIFY2(!icon.isNull(), qPrintable(symbol));
            QVERIFY2(coverage(icon.pixmap(24).toImage()) > 0, qPrintable(symbol));
        }
        for (const QIcon& icon : {IconProvider::applicationIcon(), IconProvider::trayIcon()}) {
            const QImage image = icon.pixmap(48).toImage();
            QVERIFY(!image.isNull());
            QVERIFY(coverage(image) > image.width() * image.height() / 3);
        }
    }
};

QTEST_MAIN(TestIconProvider)
#include "test_icon_provider.moc"
