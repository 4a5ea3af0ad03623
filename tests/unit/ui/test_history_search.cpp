// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/PasteboardTypes.h"
#include "core/HistoryLimits.h"
#include "pickers/SearchText.h"
#include "ui/popup/HistorySearch.h"
#include "ui/style/IconProvider.h"

#include <QDirIterator>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

ClipboardEntryPtr text(const QString& content)
{
    return std::make_shared<ClipboardEntry>(PasteboardType::plainText, content, std::nullopt,
                                            std::nullopt, false, QDateTime::currentDateTimeUtc());
}

ClipboardEntryPtr image()
{
    return std::make_shared<ClipboardEntry>(PasteboardType::png, std::nullopt, "\x89PNG"_ba,
                                            std::nullopt, false, QDateTime::currentDateTimeUtc());
}

// The area the glyph covers in whole pixels, and the colour of its most opaque pixel: the body
// of a stroke, not its anti-aliased edge.
std::pair<int, QColor> coverage(const QImage& image)
{
    int alpha = 0;
    QColor strongest(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            alpha += c.alpha();
            if (c.alpha() > strongest.alpha())
                strongest = c;
        }
    }
    return {alpha / 255, strongest};
}
} // namespace

class TestHistorySearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesUnderThePickersRules_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("matches");
        QTest::newRow("substring") << u"meeting at noon"_s << u"at no"_s << true;
        QTest::newRow("upper-case text") << u"INVOICE 2024"_s << u"invoice"_s << true;
        QTest::newRow("decomposed text, composed query")
            << u"cafe\u0301 da manha\u0303"_s << u"café"_s << true;
        QTest::newRow("composed text, decomposed query")
            << u"São Paulo"_s << u"sa\u0303o"_s << true;
        // Lower-casing is not Turkish even when the locale is.
        QTest::newRow("dotted capital I") << u"İstanbul"_s << u"i\u0307stanbul"_s << true;
        QTest::newRow("spaces around the query") << u"ab cd"_s << u"  b c\t"_s << true;
        QTest::newRow("accents left out of the query")
            << u"Coração valente"_s << u"coracao"_s << true;
        QTest::newRow("accents in the query only") << u"el nino"_s << u"niño"_s << true;
        QTest::newRow("Spanish, upper case") << u"AÑO NUEVO"_s << u"ano nu"_s << true;
        QTest::newRow("absent") << u"meeting at noon"_s << u"lunch"_s << false;
        QTest::newRow("letters apart") << u"a-b"_s << u"ab"_s << false;
    }

    void matchesUnderThePickersRules()
    {
        QFETCH(QString, content);
        QFETCH(QString, searchText);
        QFETCH(bool, matches);
        HistorySearch search;
        search.setSearchText(searchText);
        QVERIFY(search.isActive());
        QCOMPARE(search.matches(*text(content)), matches);
    }

    void marksAreDroppedWhereverTheyCome_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain, shared") << u"Copied text 42"_s << u"Copied text 42"_s;
        QTest::newRow("Portuguese") << u"Coração, ação"_s << u"Coracao, acao"_s;
        QTest::newRow("Spanish") << u"Niño Año"_s << u"Nino Ano"_s;
        // Precomposed, decomposed, and a singleton that decomposes into a precomposed letter.
        QTest::newRow("three ways to write Å") << u"\u00C5 A\u030A \u212B"_s << u"A A A"_s;
        QTest::newRow("two marks, decomposed in two steps") << u"\u01D6"_s << u"u"_s;
        QTest::newRow("a mark beyond the first plane") << u"e\U0001D167!"_s << u"e!"_s;
        QTest::newRow("emoji variation selector") << u"\u2764\uFE0F"_s << u"\u2764"_s;
        QTest::newRow("Hangul stays whole") << u"한국어"_s << u"한국어"_s;
        QTest::newRow("no compatibility folding") << u"ß \uFB01"_s << u"ß \uFB01"_s;
        QTest::newRow("a lone surrogate is kept")
            << QString(QString(QChar(0xE9)) + QChar(0xD800) + u'x')
            << QString(QString(u'e') + QChar(0xD800) + u'x');
    }

    void marksAreDroppedWhereverTheyCome()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString folded = SearchText::withoutMarks(text);
        QCOMPARE(folded, expected);
        if (qstrcmp(QTest::currentDataTag(), "plain, shared") == 0)
            QCOMPARE(folded.constData(), text.constData()); // no copy made
        // The same as Qt's decomposition with the marks dropped, but for Hangul.
        if (!text.contains(u'한')) {
            QString reference = text.normalized(QString::NormalizationForm_D);
            reference.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
            if (!text.contains(QChar(0xD834))) // the plane-one mark comes as a surrogate pair
                QCOMPARE(folded, reference);
        }
    }

    void hostileTextsAreSearchedInABoundedForm()
    {
        // A letter under millions of marks, and a text of megabytes: each keystroke compares a
        // prefix of bounded size, prepared once.
        const auto marks = text(u"Zalgo text"_s + QString(3'000'000, QChar(0x0301)) + u"tail"_s);
        const auto large = text(u"start "_s + QString(9'000'000, u'x') + u" end"_s);
        HistorySearch search;
        search.setSearchText(u"zalgo tex"_s);
        QVERIFY(search.matches(*marks));
        search.setSearchText(u"start x"_s);
        QVERIFY(search.matches(*large));
        QVERIFY(HistorySearch::comparableText(*marks).size() <= HistorySearch::maxSearchedUnits);
        QVERIFY(HistorySearch::comparableText(*large).size() <= HistorySearch::maxSearchedUnits);
        // What lies beyond the bound is not searched.
        search.setSearchText(u" end"_s);
        QVERIFY(!search.matches(*large));
    }

    void imagesDropOutOnlyWhileAQueryIsTyped()
    {
        HistorySearch search;
        const auto picture = image();
        const auto note = text(u"Note"_s);
        QVERIFY(!search.isActive());
        QVERIFY(search.matches(*picture));
        search.setSearchText(u"n"_s);
        QVERIFY(!search.matches(*picture));
        QVERIFY(search.matches(*note));
        // A new query is tested against the texts it remembers, not the last answer.
        search.setSearchText(u"x"_s);
        QVERIFY(!search.matches(*note));
        // Blank is no query: everything is back.
        search.setSearchText(u" \t"_s);
        QVERIFY(!search.isActive());
        QVERIFY(search.matches(*picture));
    }

    void formsPreparedAheadAreTheSearchsOwn()
    {
        const ClipboardEntryList entries{text(u"Cafe\u0301 Cr\u00e8me"_s), image(),
                                         text(u"already lower"_s), text(u"\u0130stanbul"_s)};
        QObject context;
        bool finished = false;
        HistorySearch::prepareInIdleTime(entries, &context, [&] { finished = true; });
        QTRY_VERIFY(finished);
        for (const auto& entry : entries) {
            if (entry->textContent())
                QCOMPARE(*entry->searchForm(), SearchText::comparable(*entry->textContent()));
        }
        HistorySearch search;
        search.setSearchText(u"CAF\u00c9 cr\u00e8"_s);
        QVERIFY(search.matches(*entries.at(0)));
        QVERIFY(!search.matches(*entries.at(1)));
        QVERIFY(!search.matches(*entries.at(2)));

        // Preparing stops with its context: entries past the first batch are left to the search.
        ClipboardEntryList many;
        for (int i = 0; i < 1000; ++i)
            many.append(text(u"Entry %1"_s.arg(i)));
        auto* shortLived = new QObject;
        bool stoppedEarlyFinished = false;
        HistorySearch::prepareInIdleTime(many, shortLived, [&] { stoppedEarlyFinished = true; });
        delete shortLived;
        for (int turn = 0; turn < 10; ++turn)
            QCoreApplication::processEvents();
        QVERIFY(!many.last()->searchForm());
        QVERIFY(!stoppedEarlyFinished);
    }

    void historyLimitChoicesKeepAStoredValue()
    {
        const QList<qint64> offered{10, 20, 50, 100, 500, 1000, 10000};
        QCOMPARE(HistoryLimits::choicesWith(50), offered);
        QCOMPARE(HistoryLimits::choicesWith(2000),
                 (QList<qint64>{10, 20, 50, 100, 500, 1000, 2000, 10000}));
        QCOMPARE(HistoryLimits::choicesWith(5),
                 (QList<qint64>{5, 10, 20, 50, 100, 500, 1000, 10000}));
        QCOMPARE(HistoryLimits::choicesWith(20000),
                 (QList<qint64>{10, 20, 50, 100, 500, 1000, 10000, 20000}));
        QCOMPARE(HistoryLimits::choicesWith(0), offered);
    }

    void everySymbolDrawsATintedGlyph()
    {
        const QColor tint(0, 200, 0, 128);
        for (const QString& symbol : IconProvider::symbols()) {
            const QPixmap pm = IconProvider::pixmap(symbol, 22, tint, 2.0);
            QCOMPARE(pm.size(), QSize(44, 44));
            QCOMPARE(pm.devicePixelRatio(), 2.0);
            // A glyph covers a visible part of its square but not all of it, in the tint.
            const auto [covered, colour] = coverage(pm.toImage());
            const int area = covered * 255 / tint.alpha(); // as if drawn opaque
            QVERIFY2(area > 44 * 44 / 30 && area < 44 * 44 * 9 / 10, qPrintable(symbol));
            QVERIFY2(qAbs(colour.green() - 200) <= 2 && qAbs(colour.alpha() - 128) <= 2 &&
                         colour.red() <= 2,
                     qPrintable(symbol + u" drawn in "_s + colour.name(QColor::HexArgb)));
            // From the theme or from the shipped art, every symbol has an icon.
            QVERIFY2(coverage(IconProvider::icon(symbol).pixmap(24).toImage()).first > 0,
                     qPrintable(symbol));
        }
        for (const QIcon& icon : {IconProvider::applicationIcon(), IconProvider::trayIcon()})
            QVERIFY(coverage(icon.pixmap(48).toImage()).first > 48 * 48 / 3);
    }

    void everyShippedGlyphIsInTheTable()
    {
        QVERIFY(!IconProvider::applicationIcon().isNull()); // registers the resources
        QStringList shipped;
        for (QDirIterator it(u":/icons"_s); it.hasNext();)
            shipped.append(it.nextFileInfo().completeBaseName());
        QVERIFY(shipped.contains(u"tessel-tray"_s));
        for (const QString& name : std::as_const(shipped))
            QVERIFY2(name.startsWith(u"tessel"_s) || IconProvider::contains(name),
                     qPrintable(name));
    }

    void unknownSymbolsGiveNothing()
    {
        for (const QString& symbol : {u"no.such.symbol"_s, u"../icons/heart"_s, u"tessel"_s}) {
            QVERIFY(IconProvider::pixmap(symbol, 24, Qt::black).isNull());
            QVERIFY(IconProvider::icon(symbol).isNull());
        }
        QVERIFY(IconProvider::pixmap(u"heart"_s, 0, Qt::black).isNull());
    }
};

QTEST_MAIN(TestHistorySearch)
#include "test_history_search.moc"
