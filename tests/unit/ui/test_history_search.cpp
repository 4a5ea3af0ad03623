#include "clipboard/PasteboardTypes.h"
#include "core/HistoryLimits.h"
#include "pickers/SearchText.h"
#include "ui/popup/HistorySearch.h"

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
        QTest::newRow("upper-case query") << u"invoice 2024"_s << u"INVOICE"_s << true;
        QTest::newRow("decomposed text, composed query")
            << u"cafe\u0301 da manha\u0303"_s << u"café"_s << true;
        QTest::newRow("composed text, decomposed query")
            << u"São Paulo"_s << u"sa\u0303o"_s << true;
        // Lower-casing is not Turkish even when the locale is.
        QTest::newRow("dotted capital I") << u"İstanbul"_s << u"i\u0307stanbul"_s << true;
        QTest::newRow("spaces around the query") << u"ab cd"_s << u"  b c\t"_s << true;
        QTest::newRow("in a later line") << u"first\nsecond line"_s << u"second"_s << true;
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

    void imagesDropOutOnlyWhileAQueryIsTyped()
    {
        HistorySearch search;
        const auto picture = image();
        const auto note = text(u"note"_s);
        QVERIFY(!search.isActive());
        QVERIFY(search.matches(*picture));
        QVERIFY(search.matches(*note));

        search.setSearchText(u"n"_s);
        QVERIFY(!search.matches(*picture));
        QVERIFY(search.matches(*note));

        // Blank is no query: everything is back.
        search.setSearchText(u" \t"_s);
        QVERIFY(!search.isActive());
        QVERIFY(search.matches(*picture));
    }

    void aNewQueryIsTestedAgainstTheRememberedTexts()
    {
        HistorySearch search;
        const auto a = text(u"Alpha"_s);
        const auto b = text(u"Beta"_s);
        search.setSearchText(u"al"_s);
        QVERIFY(search.matches(*a));
        QVERIFY(!search.matches(*b));
        search.setSearchText(u"ET"_s);
        QVERIFY(!search.matches(*a));
        QVERIFY(search.matches(*b));
        // An entry with the same text but a new identity is its own entry.
        const auto again = text(u"Alpha"_s);
        search.setSearchText(u"alp"_s);
        QVERIFY(search.matches(*again));
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
        QCOMPARE(HistoryLimits::choicesWith(10000), offered);
        QCOMPARE(HistoryLimits::choicesWith(2000),
                 (QList<qint64>{10, 20, 50, 100, 500, 1000, 2000, 10000}));
        QCOMPARE(HistoryLimits::choicesWith(5),
                 (QList<qint64>{5, 10, 20, 50, 100, 500, 1000, 10000}));
        QCOMPARE(HistoryLimits::choicesWith(20000).last(), 20000);
        QCOMPARE(HistoryLimits::choicesWith(0), offered);
    }
};

QTEST_GUILESS_MAIN(TestHistorySearch)
#include "test_history_search.moc"
