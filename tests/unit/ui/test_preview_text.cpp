// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PreviewText.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

// The beginning of an entry that a preview lays out, and the size it tells.
class TestPreviewText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aLongTextIsCutToItsFirstLines()
    {
        QStringList lines;
        for (int i = 1; i <= 40; ++i)
            lines.append(u"line %1"_s.arg(i));
        const PreviewText::Prefix prefix = PreviewText::prefix(lines.join(u"\r\n"_s), 30, 8000);
        QVERIFY(prefix.cut);
        const QStringList shown = prefix.text.split(QChar::LineSeparator);
        QCOMPARE(shown.size(), 30);
        QCOMPARE(shown.first(), u"line 1"_s);
        QCOMPARE(shown.last(), u"line 30"_s);
        QVERIFY(!prefix.text.contains(u'\r') && !prefix.text.contains(u'\n'));
    }

    void aLongLineIsCutToTheCharacterBound()
    {
        // A pair of surrogates straddling the bound is left out whole.
        const QString text = QString(9, u'a') + u"😀"_s + QString(4 * 1024 * 1024, u'b');
        const PreviewText::Prefix prefix = PreviewText::prefix(text, 30, 10);
        QVERIFY(prefix.cut);
        QCOMPARE(prefix.text, QString(9, u'a'));
        QCOMPARE(PreviewText::prefix(text, 30, 11).text, QString(9, u'a') + u"😀"_s);
    }

    void aShortTextIsShownWhole()
    {
        const PreviewText::Prefix prefix = PreviewText::prefix(u"one\ntwo"_s, 30, 8000);
        QVERIFY(!prefix.cut);
        QCOMPARE(prefix.text, u"one"_s + QChar::LineSeparator + u"two"_s);
    }

    void theSizeCountsLinesAndCharacters()
    {
        const PreviewText::Size size = PreviewText::sizeOf(u"ab😀\ncd\n"_s);
        QCOMPARE(size.lines, 3);
        QCOMPARE(size.characters, 7);
        QCOMPARE(PreviewText::sizeOf(QString()).lines, 0);
    }
};

QTEST_GUILESS_MAIN(TestPreviewText)
#include "test_preview_text.moc"
