// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Desktop.h"
#include "support/TesselProcess.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
bool xdotool(const QStringList& args)
{
    return run(u"xdotool"_s, args);
}

bool clickAt(QPoint point)
{
    return xdotool({u"mousemove"_s, QString::number(point.x()), QString::number(point.y()),
                    u"click"_s, u"1"_s});
}

// Waits for the popup to close and the paste, 0.12 s later, to land.
void waitForPaste()
{
    QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
    QTest::qWait(700);
}

constexpr int kEntries = 10000;

QString entryText(int i)
{
    return u"Invoice INV-%1 for Café Ünïcode, order %2 of the year"_s.arg(i, 5, 10, QChar(u'0'))
        .arg(i * 7);
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(path.section(u'/', 0, -2)) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}
} // namespace

// Tessel as the user meets it, with real programs: open the popup with its shortcut at the
// pointer, choose with keyboard or mouse, and find the choice pasted where the user was typing.
class TestAppE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    // Picks stay out of the history; recents survive a restart; kaomoji picked with the mouse
    // arrive code point for code point.
    void pickEmojiKaomojiAndRecents()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QVERIFY(xclipWrite("copied before the picks"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 1, 4000);

        // A Portuguese keyword and Return paste the first match.
        EntryDialog first;
        QVERIFY(first.open(u"Emoji editor"_s));
        QVERIFY(openPopupWith(u"super+shift+period"_s));
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208));
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"60"_s, u"gato"_s}));
        QTest::qWait(300);
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        waitForPaste();
        const QString cat = u"\U0001F63A"_s;
        QCOMPARE(first.confirm(), cat);

        // Kaomoji with a backslash, and with combining marks, picked with the mouse. The grid's
        // first row holds the first three faces of "Happy / Laugh".
        const QStringList faces{u"( \u0361\u00B0 \u035C\u0296 \u0361\u00B0)"_s,
                                u"\u00AF\\_(\u30C4)_/\u00AF"_s};
        for (int column : {1, 2}) {
            EntryDialog editor;
            QVERIFY(editor.open(u"Kaomoji editor %1"_s.arg(column)));
            QVERIFY(openPopupWith(u"super+shift+period"_s));
            const QPoint popup = popupGeometry().topLeft();
            QVERIFY(clickAt(popup + QPoint(12 + 306 * 5 / 10, 56))); // the kaomoji tab
            QTest::qWait(500);
            QVERIFY(clickAt(popup + QPoint(60 + 103 * column, 167)));
            waitForPaste();
            QCOMPARE(editor.confirm().toUcs4(), faces.at(column - 1).toUcs4());
        }
        // The picks are marked transient: well past a poll and a save, the history is unchanged.
        QCOMPARE(tessel.registryTexts(), QStringList{u"copied before the picks"_s});

        // After a restart the emoji is the first recent: Down and Return paste it.
        QCOMPARE(tessel.terminate(), 0);
        TesselProcess again(home.path());
        QVERIFY(again.start());
        EntryDialog later;
        QVERIFY(later.open(u"Recents editor"_s));
        QVERIFY(openPopupWith(u"super+shift+period"_s));
        QVERIFY(xdotool({u"key"_s, u"Down"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        waitForPaste();
        QCOMPARE(later.confirm(), cat);
        QCOMPARE(again.terminate(), 0);
    }

    void typeAndPasteAnOldEntryOfTenThousand()
    {
        QTemporaryDir home;
        QJsonArray records;
        const double now = double(QDateTime::currentSecsSinceEpoch());
        for (int i = 0; i < kEntries; ++i)
            records.append(QJsonObject{{u"timestamp"_s, now - i}, {u"text"_s, entryText(i)}});
        QVERIFY(
            write(home.filePath(u"data/tessel/registry.json"_s), QJsonDocument(records).toJson()));
        QVERIFY(write(home.filePath(u"config/tessel/settings.json"_s),
                      R"({"maxHistoryItems": 10000})"_ba));
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());

        EntryDialog editor;
        QVERIFY(editor.open(u"Search editor"_s));
        QVERIFY(openPopupWith(u"super+shift+v"_s));
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208)); // below and right of the pointer
        // Lower case for an upper-case text; the entry is near the end of the history.
        QVERIFY(run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"80"_s, u"inv-09876"_s}));
        QTest::qWait(500);
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        QTest::qWait(700); // the paste lands 0.12 s after the popup closed
        QCOMPARE(editor.confirm(), entryText(9876));

        // Chosen, it is the newest entry; nothing was lost from the long history.
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().value(0), entryText(9876), 8000);
        QCOMPARE(tessel.registryTexts().size(), kEntries);
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestAppE2E)
#include "test_app_e2e.moc"
