#include "support/TesselProcess.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
// The geometry of tessel's visible 330x450 popup, or an empty rectangle.
QRect popupGeometry()
{
    const QStringList windows =
        commandOutput(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"tessel"_s})
            .split(u'\n', Qt::SkipEmptyParts);
    static const QRegularExpression position(u"Position: (-?\\d+),(-?\\d+)"_s);
    static const QRegularExpression size(u"Geometry: (\\d+)x(\\d+)"_s);
    for (const QString& window : windows) {
        const QString info = commandOutput(u"xdotool"_s, {u"getwindowgeometry"_s, window});
        const auto p = position.match(info);
        const auto s = size.match(info);
        if (p.hasMatch() && s.hasMatch() && s.captured(1) == "330"_L1 && s.captured(2) == "450"_L1)
            return QRect(p.captured(1).toInt(), p.captured(2).toInt(), 330, 450);
    }
    return {};
}
} // namespace

// The whole story with real programs: copy in one application, open Tessel with its shortcut,
// choose an older entry with the keyboard, and find it pasted where the user was typing.
class TestPopupStoryE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing =
            missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"zenity"_s, u"trayer"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void copyOpenChooseAndPaste()
    {
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

        // The application the user types in: a GTK text field of another process.
        QProcess editor;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
        editor.setProcessEnvironment(env);
        editor.start(u"zenity"_s,
                     {u"--entry"_s, u"--title"_s, u"Story editor"_s, u"--text"_s, u"Paste here"_s});
        const QString window = commandOutput(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s,
                                                            u"^Story editor$"_s})
                                   .section(u'\n', 0, 0);
        QVERIFY(!window.isEmpty());
        QVERIFY(run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window}));

        QVERIFY(run(u"xdotool"_s, {u"mousemove"_s, u"300"_s, u"200"_s}));
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 5000);
        // Below and to the right of the pointer.
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208));

        QTest::qWait(300); // the popup takes the keyboard once it is mapped
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Down"_s}));
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        // The paste lands 0.12 s after the popup closed; then the user confirms the dialog.
        QTest::qWait(700);
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        if (!editor.waitForFinished(10000))
            run(u"import"_s, {u"-window"_s, u"root"_s, u"/tmp/story-failure.png"_s});
        QCOMPARE(editor.state(), QProcess::NotRunning);
        QCOMPARE(QString::fromUtf8(editor.readAllStandardOutput()).trimmed(), u"the older entry"_s);

        // Choosing moved the entry to the top of the history.
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(),
                                  (QStringList{u"the older entry"_s, u"the newest entry"_s}), 4000);
        QCOMPARE(tessel.terminate(), 0);
        tray.kill();
        tray.waitForFinished();
    }
};

QTEST_MAIN(TestPopupStoryE2E)
#include "test_popup_story_e2e.moc"
