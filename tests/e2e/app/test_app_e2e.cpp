// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Desktop.h"
#include "support/StalledServer.h"
#include "support/TesselProcess.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

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

// A registry of `texts`, newest first.
QByteArray registryOf(const QStringList& texts)
{
    QJsonArray records;
    for (const QString& text : texts)
        records.append(QJsonObject{{u"timestamp"_s, 1.7e9}, {u"text"_s, text}});
    return QJsonDocument(records).toJson();
}

// A display number no X server uses.
int freeDisplay()
{
    for (int n = 140; n < 200; ++n) {
        if (!QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(n)) &&
            !QFile::exists(u"/tmp/.X%1-lock"_s.arg(n)))
            return n;
    }
    return -1;
}

// How a start of Tessel in `env` ended: its exit code (-1 when it did not end within 15 s) and
// what it printed on standard error.
std::pair<int, QString> startIn(const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(TesselProcess::executable(), {});
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
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

    // The lock file is private; what sits in its place is named, not waited on; a damaged one
    // left behind is taken over.
    void theLockIsPrivateAndWhatBlocksItIsNamed()
    {
        QTemporaryDir home;
        const QString lock = home.filePath(u"data/tessel/tessel.lock"_s);
        {
            TesselProcess tessel(home.path());
            QVERIFY(tessel.start());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);
            QCOMPARE(QFile::permissions(lock) & 0x0077, QFile::Permissions{});
            QCOMPARE(tessel.terminate(), 0);
        }
        QFile::remove(lock);
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        {
            TesselProcess tessel(home.path());
            const auto [status, error] = tessel.refusedStart();
            QCOMPARE(status, 1);
            QVERIFY2(error.contains("FIFO") && error.contains(QFile::encodeName(lock)),
                     error.constData());
        }
        QFile::remove(lock);
        QVERIFY(QDir().mkdir(lock));
        {
            TesselProcess tessel(home.path());
            const auto [status, error] = tessel.refusedStart();
            QCOMPARE(status, 1);
            QVERIFY2(error.contains("folder"), error.constData());
        }
        QVERIFY(QDir().rmdir(lock));
        QVERIFY(write(lock, "\x01garbage"_ba));
        QFile damaged(lock);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QVERIFY(damaged.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                    QFileDevice::FileModificationTime));
        damaged.close();
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(3000);
        QVERIFY(tessel.isRunning());
        QCOMPARE(tessel.terminate(), 0);
    }

    void withoutADisplayOneLineAndStatusOne_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::newRow("neither variable") << QString() << QString();
        QTest::newRow("a display nobody serves") << u":%1"_s.arg(freeDisplay()) << QString();
        QTest::newRow("a compositor socket that is missing") << QString() << u"wayland-none"_s;
        QTest::newRow("a compositor socket, no runtime folder") << QString() << u"wayland-0"_s;
    }

    void withoutADisplayOneLineAndStatusOne()
    {
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QTemporaryDir home;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        if (!display.isEmpty())
            env.insert(u"DISPLAY"_s, display);
        if (!wayland.isEmpty())
            env.insert(u"WAYLAND_DISPLAY"_s, wayland);
        if (QByteArray(QTest::currentDataTag()).contains("no runtime folder"))
            env.remove(u"XDG_RUNTIME_DIR"_s);
        const auto [status, error] = startIn(env);
        QCOMPARE(status, 1);
        QVERIFY2(error.trimmed().count(u'\n') == 0, qPrintable(error));
        QVERIFY2(error.contains(u"graphical session"_s), qPrintable(error));
    }

    // The X server dies 150 ms after a copy, long before the save would have come: Qt ends the
    // process, and the copy is on disk first.
    void aCopyJustBeforeTheDisplayDiesIsSaved()
    {
        const int n = freeDisplay();
        QProcess xvfb;
        xvfb.start(u"Xvfb"_s, {u":%1"_s.arg(n), u"-nolisten"_s, u"tcp"_s});
        QVERIFY(xvfb.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(n)), 10000);
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        auto env = tessel.process().processEnvironment();
        env.insert(u"DISPLAY"_s, u":%1"_s.arg(n));
        tessel.process().setProcessEnvironment(env);
        QVERIFY(tessel.start());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(tessel.registryPath()), 10000);
        QTest::qWait(500);
        QVERIFY(run(u"xclip"_s,
                    {u"-display"_s, u":%1"_s.arg(n), u"-selection"_s, u"clipboard"_s, u"-i"_s},
                    "copied as the display died"_ba));
        QTest::qWait(150);
        xvfb.kill();
        QVERIFY(xvfb.waitForFinished(5000));
        QCOMPARE(tessel.waitForExit(10000), 1);
        QCOMPARE(tessel.registryTexts(), QStringList{u"copied as the display died"_s});
    }

    // A compositor socket that lets clients in and never answers: Tessel starts on X11 at once.
    void aStalledCompositorIsPassedOver()
    {
        QTemporaryDir runtime;
        StalledServer stalled(runtime.filePath(u"wayland-stalled"_s));
        QVERIFY(stalled.isListening());
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        auto env = tessel.process().processEnvironment();
        env.insert(u"WAYLAND_DISPLAY"_s, runtime.filePath(u"wayland-stalled"_s));
        tessel.process().setProcessEnvironment(env);
        QVERIFY(tessel.start());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(tessel.registryPath()), 15000);
        QVERIFY(xclipWrite("copied past a stalled compositor"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(),
                                  QStringList{u"copied past a stalled compositor"_s}, 5000);
        QCOMPARE(tessel.terminate(), 0);
    }

    // A history folder Tessel cannot write or make its own (a read-only home): the history it
    // can read is still there to paste from; nothing is written.
    void aHistoryThatCannotBeWrittenStillStarts()
    {
        // Root writes through any mode, and an owner may always change the mode back: the folder
        // belongs to root and Tessel runs as an ordinary user.
        if (::getuid() != 0)
            QSKIP("needs root, to run Tessel as another user than the history folder's owner");
        QTemporaryDir home;
        const QString data = home.filePath(u"data/tessel"_s);
        QVERIFY(write(data + "/registry.json"_L1, registryOf({u"readable"_s, u"history"_s})));
        QVERIFY(QDir().mkpath(home.filePath(u"config"_s)));
        QVERIFY(run(u"chown"_s, {u"-R"_s, u"65534:65534"_s, home.path()}));
        QVERIFY(run(u"chown"_s, {u"-R"_s, u"0:0"_s, data}));
        QVERIFY(run(u"chmod"_s, {u"0755"_s, home.path(), data}));
        QVERIFY(run(u"chmod"_s, {u"0644"_s, data + "/registry.json"_L1}));
        QProcess process;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"XDG_RUNTIME_DIR"_s);
        process.setProcessEnvironment(env);
        process.start(u"setpriv"_s, {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                                     TesselProcess::executable()});
        QVERIFY(process.waitForStarted(5000));
        QTest::qWait(3000);
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY(xclipWrite("kept in memory"_ba));
        QTest::qWait(1000);
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
        const QString error = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(error.contains(u"cannot save its history"_s), qPrintable(error));
        QCOMPARE(TesselProcess(home.path()).registryTexts(),
                 (QStringList{u"readable"_s, u"history"_s}));
    }
};

QTEST_MAIN(TestAppE2E)
#include "test_app_e2e.moc"
