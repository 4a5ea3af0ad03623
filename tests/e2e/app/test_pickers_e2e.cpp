#include "support/TesselProcess.h"

#include <QElapsedTimer>
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

bool xdotool(const QStringList& args)
{
    return run(u"xdotool"_s, args);
}

bool clickAt(QPoint point)
{
    return xdotool({u"mousemove"_s, QString::number(point.x()), QString::number(point.y()),
                    u"click"_s, u"1"_s});
}

// A GTK text field of another process, in front with the keyboard, as the user's editor.
class Editor {
public:
    bool open(const QString& title)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
        m_process.setProcessEnvironment(env);
        m_process.start(u"zenity"_s, {u"--entry"_s, u"--title"_s, title, u"--text"_s, title});
        const QString window = commandOutput(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s,
                                                            "^"_L1 + title + "$"_L1})
                                   .section(u'\n', 0, 0);
        return !window.isEmpty() && xdotool({u"windowactivate"_s, u"--sync"_s, window});
    }

    // Confirms the dialog and returns what its field held, exactly (zenity adds a line break).
    QString confirm()
    {
        xdotool({u"key"_s, u"Return"_s});
        if (!m_process.waitForFinished(10000))
            return u"<zenity still running>"_s;
        QString text = QString::fromUtf8(m_process.readAllStandardOutput());
        if (text.endsWith(u'\n'))
            text.chop(1);
        return text;
    }

private:
    QProcess m_process;
};
} // namespace

// The pickers with real programs: the emoji shortcut, a search and Return paste into another
// application's text field; picks stay out of the history; recents survive a restart; kaomoji
// picked with the mouse arrive code point for code point.
class TestPickersE2E : public QObject {
    Q_OBJECT

private:
    // Opens the popup with the emoji shortcut, the pointer at (300, 200).
    static bool openEmojiPopup()
    {
        if (!xdotool({u"mousemove"_s, u"300"_s, u"200"_s}) ||
            !xdotool({u"key"_s, u"super+shift+period"_s}))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (popupGeometry().isEmpty() && timer.elapsed() < 5000)
            QTest::qWait(100);
        // The popup takes the keyboard once it is mapped.
        QTest::qWait(400);
        return !popupGeometry().isEmpty();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void pickEmojiKaomojiAndRecents()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(800);
        QVERIFY(xclipWrite("copied before the picks"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 1, 4000);

        // A Portuguese keyword and Return paste the first match.
        Editor first;
        QVERIFY(first.open(u"Emoji editor"_s));
        QVERIFY(openEmojiPopup());
        QCOMPARE(popupGeometry().topLeft(), QPoint(312, 208)); // at the pointer
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"60"_s, u"gato"_s}));
        QTest::qWait(300);
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        QTest::qWait(700); // the paste lands 0.12 s after the popup closed
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
            Editor editor;
            QVERIFY(editor.open(u"Kaomoji editor %1"_s.arg(column)));
            QVERIFY(openEmojiPopup());
            const QPoint popup = popupGeometry().topLeft();
            QVERIFY(clickAt(popup + QPoint(12 + 306 * 5 / 10, 56))); // the kaomoji tab
            QTest::qWait(500);
            QVERIFY(clickAt(popup + QPoint(60 + 103 * column, 167)));
            QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
            QTest::qWait(700);
            const QString pasted = editor.confirm();
            QCOMPARE(pasted.toUcs4(), faces.at(column - 1).toUcs4());
        }
        QCOMPARE(tessel.registryTexts(), QStringList{u"copied before the picks"_s});

        // After a restart the emoji is the first recent: Down and Return paste it.
        QCOMPARE(tessel.terminate(), 0);
        TesselProcess again(home.path());
        QVERIFY(again.start());
        QTest::qWait(1000);
        Editor later;
        QVERIFY(later.open(u"Recents editor"_s));
        QVERIFY(openEmojiPopup());
        QVERIFY(xdotool({u"key"_s, u"Down"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        QTest::qWait(700);
        QCOMPARE(later.confirm(), cat);
        QCOMPARE(again.terminate(), 0);
    }
};

QTEST_MAIN(TestPickersE2E)
#include "test_pickers_e2e.moc"
