// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeySynthesizer.h"
#include "platform/wayland/WaylandToplevels.h"
#include "platform/wayland/WaylandWorkspace.h"
#include "support/Desktop.h"
#include "support/FakePasteServices.h"
#include "support/SessionBus.h"
#include "support/TesselProcess.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::commandOutput;
using tessel::test::run;

namespace {
const QString kOwnAppId = u"tessel-wayland-test"_s;

bool isOwn(const QString& appId)
{
    return appId == kOwnAppId;
}

// The compositor's node of the first window whose app_id is `appId`, whether it floats, and the
// border sway draws around it ("csd" or "none" for none; sway's default is "normal", with a title).
struct SwayWindow {
    QRect rect;
    bool floating = false;
    bool found = false;
    QString border;
};

void findWindow(const QJsonObject& node, const QString& appId, bool floating, SwayWindow& out,
                QRect& output)
{
    if (node.value("type"_L1).toString() == "output"_L1 &&
        node.value("name"_L1).toString() != "__i3"_L1) {
        const QJsonObject r = node.value("rect"_L1).toObject();
        output = QRect(r.value("x"_L1).toInt(), r.value("y"_L1).toInt(),
                       r.value("width"_L1).toInt(), r.value("height"_L1).toInt());
    }
    if (node.value("app_id"_L1).toString() == appId && !out.found) {
        const QJsonObject r = node.value("rect"_L1).toObject();
        out = {QRect(r.value("x"_L1).toInt(), r.value("y"_L1).toInt(), r.value("width"_L1).toInt(),
                     r.value("height"_L1).toInt()),
               floating, true, node.value("border"_L1).toString()};
    }
    for (const auto& child : node.value("nodes"_L1).toArray())
        findWindow(child.toObject(), appId, floating, out, output);
    for (const auto& child : node.value("floating_nodes"_L1).toArray())
        findWindow(child.toObject(), appId, true, out, output);
}

// Copies `text` until the running Tessel has recorded it (it takes what is on the clipboard at
// its start as already seen).
bool copyUntilRecorded(test::TesselProcess& tessel, const QString& text)
{
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (!run(u"wl-copy"_s, {text}))
            return false;
        const QDeadlineTimer step(1500);
        while (!step.hasExpired()) {
            if (tessel.registryTexts().value(0) == text)
                return true;
            QTest::qWait(100);
        }
    }
    return false;
}

// Whether the screen shows what lies beneath the four corners of the window at `window` (a
// translucent window with cut corners) while its left edge shows the window itself.
bool cornersShowThrough(const QRect& window, const QString& file)
{
    // Two pixels of what lies around the window, for its colour.
    const QRect area = window.adjusted(-2, -2, 2, 2);
    const QString geometry =
        u"%1,%2 %3x%4"_s.arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
    if (!run(u"grim"_s, {u"-g"_s, geometry, file}))
        return false;
    const QImage shot(file);
    if (shot.size() != area.size())
        return false;
    const QRgb beneath = shot.pixel(0, 0);
    const int right = shot.width() - 3;
    const int bottom = shot.height() - 3;
    return shot.pixel(2, 2) == beneath && shot.pixel(right, 2) == beneath &&
           shot.pixel(2, bottom) == beneath && shot.pixel(right, bottom) == beneath &&
           shot.pixel(3, shot.height() / 2) != beneath;
}

// A window of this process that records the keys it is sent; repeats made by the toolkit aside.
class KeyRecorder : public QWidget {
public:
    KeyRecorder() { setFocusPolicy(Qt::StrongFocus); }
    QList<std::pair<QEvent::Type, QKeyCombination>> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { record(event); }
    void keyReleaseEvent(QKeyEvent* event) override { record(event); }

private:
    void record(const QKeyEvent* event)
    {
        if (!event->isAutoRepeat())
            keys.append({event->type(), event->keyCombination()});
    }
};

std::pair<SwayWindow, QRect> swayWindow(const QString& appId)
{
    const QJsonDocument tree =
        QJsonDocument::fromJson(commandOutput(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s}).toUtf8());
    SwayWindow window;
    QRect output;
    findWindow(tree.object(), appId, false, window, output);
    return {window, output};
}
} // namespace

// Paste, focus and the popup on a real wlroots compositor (sway), with foot as the application
// the user types in.
class TestWaylandPaste : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<wayland::WaylandConnection> m_connection;
    std::unique_ptr<wayland::WaylandToplevels> m_toplevels;
    std::unique_ptr<wayland::WaylandKeySynthesizer> m_keys;
    QProcess m_target;
    quint64 m_targetWindow = 0;
    QString m_received;

    void startTarget()
    {
        m_received = m_dir.filePath(u"received.txt"_s);
        QFile::remove(m_received);
        // `cat` in a terminal: what reaches it is what the terminal received.
        m_target.start(u"foot"_s, {u"sh"_s, u"-c"_s, u"cat > \"$0\""_s, m_received});
        QVERIFY(m_target.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(m_toplevels->appIdOf(m_toplevels->activeId()), u"foot"_s, 10000);
        m_targetWindow = m_toplevels->activeId();
    }

    // Ends lines in the terminal until `cat` has written a non-empty one, and compares the lines
    // it received. The terminal fetches a paste from the clipboard's owner, so a Return typed
    // after the paste may overtake it: that only adds an empty line.
    void expectReceived(const QString& text)
    {
        QFile file(m_received);
        QStringList lines;
        const QDeadlineTimer deadline(10000);
        while (lines.isEmpty() && !deadline.hasExpired()) {
            QVERIFY(run(u"wtype"_s, {u"-k"_s, u"Return"_s}));
            QTest::qWait(200);
            if (file.open(QIODevice::ReadOnly)) {
                lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
                file.close();
            }
        }
        QCOMPARE(lines, QStringList{text});
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QGuiApplication::platformName().startsWith("wayland"_L1))
            QSKIP("needs a Wayland compositor (WAYLAND_DISPLAY) with the wlroots protocols");
        for (const auto* tool : {"swaymsg", "foot", "wtype", "wl-copy", "grim"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QString::fromLatin1(tool) + " is not installed"_L1));
        }
        m_connection = wayland::WaylandConnection::open();
        QVERIFY(m_connection);
        m_toplevels = std::make_unique<wayland::WaylandToplevels>(*m_connection);
        QVERIFY(m_toplevels->isAvailable());
        // Made before any window, as Tessel does at start: on a seat without a hardware keyboard
        // its virtual keyboard is the one every client binds.
        m_keys = std::make_unique<wayland::WaylandKeySynthesizer>(*m_connection, m_toplevels.get(),
                                                                  &isOwn);
        QVERIFY(m_keys->isAvailable());
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
    }

    void cleanupTestCase()
    {
        m_keys.reset();
        m_toplevels.reset();
    }

    void cleanup()
    {
        if (m_target.state() != QProcess::NotRunning) {
            m_target.kill();
            m_target.waitForFinished();
        }
        // The next test's terminal must not be mistaken for this one.
        QTRY_VERIFY_WITH_TIMEOUT(!m_toplevels->exists(m_targetWindow), 5000);
    }

    // The whole hand-over: the popup floats centred and takes the keyboard, closing it gives
    // the keyboard back to foot, and the paste lands there as Ctrl+Shift+V (foot is a terminal).
    void pastesIntoTheWindowThePopupWasOpenedOver()
    {
        startTarget();
        const QString text = u"Tessel ação ✓ wayland"_s;
        QVERIFY(run(u"wl-copy"_s, {text}));

        wayland::WaylandWorkspace workspace(m_toplevels.get(), &isOwn);
        WindowController controller(*m_settings, workspace, PopupStyle::floatingWindow);
        controller.open(PopupTab::clipboard, new QLabel(u"popup"_s));
        QCOMPARE(controller.window()->style(), PopupStyle::floatingWindow);
        QTRY_COMPARE_WITH_TIMEOUT(workspace.frontmostApplicationId(), kOwnAppId, 5000);
        // The paste's target is still foot while the popup has the keyboard, also once the
        // popup is opened again over itself (on another tab).
        QCOMPARE(workspace.focusedApplicationIds(), QStringList{u"foot"_s});
        workspace.rememberActiveWindow();
        QCOMPARE(workspace.focusedApplicationIds(), QStringList{u"foot"_s});

        const auto [popup, output] = swayWindow(kOwnAppId);
        QVERIFY(popup.found);
        QVERIFY(popup.floating);
        // Neither a title bar nor a border of sway's around the rounded corners, and the corners
        // are round on screen, not squares of the popup's colour.
        QVERIFY2(popup.border == "csd"_L1 || popup.border == "none"_L1, qPrintable(popup.border));
        QTRY_VERIFY_WITH_TIMEOUT(cornersShowThrough(popup.rect, m_dir.filePath(u"popup.png"_s)),
                                 5000);
        QCOMPARE(popup.rect.size(), PopupWindow::contentSize());
        QVERIFY2(qAbs(popup.rect.center().x() - output.center().x()) <= 2 &&
                     qAbs(popup.rect.center().y() - output.center().y()) <= 2,
                 qPrintable(u"popup at %1,%2 on an output centred at %3,%4"_s.arg(popup.rect.x())
                                .arg(popup.rect.y())
                                .arg(output.center().x())
                                .arg(output.center().y())));

        test::CountingSoundPlayer sound;
        PasteSimulator paster(*m_settings, *m_keys, workspace, sound);
        QSignalSpy pasted(&paster, &PasteSimulator::pasted);
        controller.close(true);
        paster.schedulePaste();
        QTRY_COMPARE_WITH_TIMEOUT(pasted.count(), 1, 5000);
        QCOMPARE(workspace.frontmostApplicationId(), u"foot"_s);
        expectReceived(text);
    }

    // The user's story: Super+Shift+V, bound in sway to `tessel --toggle`, opens the popup over
    // the terminal; Down and Return paste the second entry there.
    void shortcutDownReturnPastesTheSecondEntry()
    {
        if (!test::haveTool(u"dbus-daemon"_s))
            QSKIP("dbus-daemon is not installed");
        test::SessionBus bus;
        QVERIFY(bus.isRunning());
        QTemporaryDir home;
        test::TesselProcess tessel(home.path());
        QVERIFY(tessel.skipPlatformNotes());
        QVERIFY(tessel.start());
        const QString older = u"older entry ✓"_s;
        const QString newer = u"newer entry"_s;
        QVERIFY2(copyUntilRecorded(tessel, older), qPrintable(tessel.registryTexts().join(u'|')));
        QVERIFY2(copyUntilRecorded(tessel, newer), qPrintable(tessel.registryTexts().join(u'|')));

        startTarget();
        const QString toggle = u"exec env DBUS_SESSION_BUS_ADDRESS='%1' '%2' --toggle"_s.arg(
            bus.address(), test::TesselProcess::executable());
        // Not repeated while held: on a busy machine the keys' release may come late, and a
        // second toggle would close the popup again.
        QVERIFY(run(u"swaymsg"_s, {u"bindsym --no-warn --no-repeat Mod4+Shift+v "_s + toggle}));
        QVERIFY(run(u"wtype"_s, {u"-M"_s, u"logo"_s, u"-M"_s, u"shift"_s, u"v"_s, u"-m"_s,
                                 u"shift"_s, u"-m"_s, u"logo"_s}));
        const QString tesselId = QStringLiteral(TESSEL_APP_ID);
        QTRY_COMPARE_WITH_TIMEOUT(m_toplevels->appIdOf(m_toplevels->activeId()), tesselId, 10000);
        QVERIFY(swayWindow(tesselId).first.floating);

        QVERIFY(run(u"wtype"_s, {u"-k"_s, u"Down"_s}));
        QVERIFY(run(u"wtype"_s, {u"-k"_s, u"Return"_s}));
        // Tessel may still be reading those keys (a busy machine, a sanitiser): the Returns that
        // end the terminal's line must not reach the popup too and choose a second time.
        QTRY_COMPARE_WITH_TIMEOUT(m_toplevels->appIdOf(m_toplevels->activeId()), u"foot"_s, 10000);
        expectReceived(older);
        QCOMPARE(tessel.terminate(), 0);
    }

    void escapeAndLosingTheFocusClose()
    {
        // A workspace of its own, where no other window takes over once the terminal closes.
        QVERIFY(run(u"swaymsg"_s, {u"workspace tessel-alone"_s}));
        startTarget();
        wayland::WaylandWorkspace workspace(m_toplevels.get(), &isOwn);
        WindowController controller(*m_settings, workspace, PopupStyle::floatingWindow);

        controller.open(PopupTab::clipboard, new QLabel(u"popup"_s));
        QTRY_COMPARE_WITH_TIMEOUT(workspace.frontmostApplicationId(), kOwnAppId, 5000);
        QTRY_VERIFY(controller.window()->isActiveWindow());
        QVERIFY(run(u"wtype"_s, {u"-k"_s, u"Escape"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isOpen(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(workspace.frontmostApplicationId(), u"foot"_s, 5000);

        controller.open(PopupTab::clipboard, new QLabel(u"popup"_s));
        QTRY_VERIFY_WITH_TIMEOUT(controller.isOpen() && controller.window()->isActiveWindow(),
                                 5000);
        // The user clicks another window: the compositor gives it the keyboard.
        QVERIFY(run(u"swaymsg"_s, {u"[app_id=\"foot\"] focus"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isOpen(), 5000);

        // The terminal closes: no window is active any more.
        QTRY_COMPARE_WITH_TIMEOUT(m_toplevels->activeId(), m_targetWindow, 5000);
        m_target.kill();
        m_target.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!m_toplevels->exists(m_targetWindow), 5000);
        QCOMPARE(m_toplevels->appIdOf(m_toplevels->activeId()), QString());
        QCOMPARE(m_toplevels->activeId(), quint64(0));
        QCOMPARE(workspace.frontmostApplicationId(), QString());
        QVERIFY(run(u"swaymsg"_s, {u"workspace 1"_s}));
    }

    // While no window is active, the keys wait for one (for a second at most).
    void keysWaitForAnActiveWindow()
    {
        startTarget();
        const QString text = u"typed once the terminal is back"_s;
        QVERIFY(run(u"wl-copy"_s, {text}));
        QVERIFY(run(u"swaymsg"_s, {u"workspace tessel-empty"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(m_toplevels->activeId(), quint64(0), 5000);
        QString error = u"<not sent>"_s;
        m_keys->sendPaste(PasteChord::controlShiftV, [&](const QString& e) { error = e; });
        QTest::qWait(200);
        QCOMPARE(error, u"<not sent>"_s);
        QVERIFY(run(u"swaymsg"_s, {u"workspace back_and_forth"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(error, QString(), 5000);
        expectReceived(text);
    }

    // Every key of the chord is let go again.
    void theChordIsReleased()
    {
        KeyRecorder recorder;
        recorder.show();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.isActiveWindow(), 5000);
        // A synthesiser to which this process's window is another application's.
        wayland::WaylandKeySynthesizer keys(*m_connection, m_toplevels.get(),
                                            [](const QString&) { return false; });
        QString error = u"<not sent>"_s;
        keys.sendPaste(PasteChord::controlV, [&](const QString& e) { error = e; });
        QTRY_COMPARE_WITH_TIMEOUT(error, QString(), 5000);
        const auto pressed = std::pair(QEvent::KeyPress, Qt::ControlModifier | Qt::Key_V);
        QTRY_VERIFY_WITH_TIMEOUT(recorder.keys.contains(pressed), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(recorder.keys.size() > recorder.keys.indexOf(pressed) + 1, 2000);
        const auto released = recorder.keys.at(recorder.keys.indexOf(pressed) + 1);
        QCOMPARE(released.first, QEvent::KeyRelease);
        QCOMPARE(released.second.key(), Qt::Key_V);
    }
};

int main(int argc, char* argv[])
{
    tessel::test::useSwaySession();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(kOwnAppId);
    TestWaylandPaste test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wayland_paste.moc"
