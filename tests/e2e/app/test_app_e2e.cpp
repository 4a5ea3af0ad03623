#include "support/Desktop.h"
#include "support/TesselProcess.h"

#include <QElapsedTimer>
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

// Presses `shortcut` with the pointer at (300, 200) and waits for the popup to take the keyboard.
bool openPopup(const QString& shortcut)
{
    if (!xdotool({u"mousemove"_s, u"300"_s, u"200"_s}) || !xdotool({u"key"_s, shortcut}))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (popupGeometry().isEmpty() && timer.elapsed() < 5000)
        QTest::qWait(100);
    QTest::qWait(400); // the popup takes the keyboard once it is mapped
    return !popupGeometry().isEmpty();
}

// Waits for the popup to close and the paste, 0.12 s later, to land.
void waitForPaste()
{
    QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
    QTest::qWait(700);
}
} // namespace

// Tessel as the user meets it, with real programs: copy in one application, open the popup with
// its shortcut, choose with keyboard or mouse, and find the choice pasted where the user was
// typing.
class TestAppE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void copyOpenChooseAndPaste()
    {
        if (!haveTool(u"trayer"_s))
            QSKIP("trayer is not installed");
        QProcess tray;
        tray.start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
                                 u"request"_s, u"--height"_s, u"24"_s});
        QVERIFY(tray.waitForStarted());

        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(800);
        QVERIFY(xclipWrite("the older entry"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 1, 4000);
        QVERIFY(xclipWrite("the newest entry"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 2, 4000);

        EntryDialog editor;
        QVERIFY(editor.open(u"Story editor"_s));
        QVERIFY(openPopup(u"super+shift+v"_s));
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208)); // below and right of the pointer
        QVERIFY(xdotool({u"key"_s, u"Down"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        waitForPaste();
        QCOMPARE(editor.confirm(), u"the older entry"_s);

        // Choosing moved the entry to the top of the history.
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(),
                                  (QStringList{u"the older entry"_s, u"the newest entry"_s}), 4000);
        QCOMPARE(tessel.terminate(), 0);
        tray.kill();
        tray.waitForFinished();
    }

    // Picks stay out of the history; recents survive a restart; kaomoji picked with the mouse
    // arrive code point for code point.
    void pickEmojiKaomojiAndRecents()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(800);
        QVERIFY(xclipWrite("copied before the picks"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 1, 4000);

        // A Portuguese keyword and Return paste the first match.
        EntryDialog first;
        QVERIFY(first.open(u"Emoji editor"_s));
        QVERIFY(openPopup(u"super+shift+period"_s));
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208));
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"60"_s, u"gato"_s}));
        QTest::qWait(300);
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        waitForPaste();
        const QString cat = u"\U0001F63A"_s;
        QCOMPARE(first.confirm(), cat);

        // The pick is marked transient: well past a poll and a save, the history is unchanged.
        QTest::qWait(1500);
        QCOMPARE(tessel.registryTexts(), QStringList{u"copied before the picks"_s});

        // Kaomoji with a backslash, and with combining marks, picked with the mouse. The grid's
        // first row holds the first three faces of "Happy / Laugh".
        const QStringList faces{u"( \u0361\u00B0 \u035C\u0296 \u0361\u00B0)"_s,
                                u"\u00AF\\_(\u30C4)_/\u00AF"_s};
        for (int column : {1, 2}) {
            EntryDialog editor;
            QVERIFY(editor.open(u"Kaomoji editor %1"_s.arg(column)));
            QVERIFY(openPopup(u"super+shift+period"_s));
            const QPoint popup = popupGeometry().topLeft();
            QVERIFY(clickAt(popup + QPoint(12 + 306 * 5 / 10, 56))); // the kaomoji tab
            QTest::qWait(500);
            QVERIFY(clickAt(popup + QPoint(60 + 103 * column, 167)));
            waitForPaste();
            QCOMPARE(editor.confirm().toUcs4(), faces.at(column - 1).toUcs4());
        }
        QCOMPARE(tessel.registryTexts(), QStringList{u"copied before the picks"_s});

        // After a restart the emoji is the first recent: Down and Return paste it.
        QCOMPARE(tessel.terminate(), 0);
        TesselProcess again(home.path());
        QVERIFY(again.start());
        QTest::qWait(1000);
        EntryDialog later;
        QVERIFY(later.open(u"Recents editor"_s));
        QVERIFY(openPopup(u"super+shift+period"_s));
        QVERIFY(xdotool({u"key"_s, u"Down"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        waitForPaste();
        QCOMPARE(later.confirm(), cat);
        QCOMPARE(again.terminate(), 0);
    }
};

QTEST_MAIN(TestAppE2E)
#include "test_app_e2e.moc"
