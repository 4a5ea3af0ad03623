// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/VirtualKeymap.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandToplevels.h"
#include "support/Desktop.h"
#include "support/SessionBus.h"
#include "support/TesselProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <virtual-keyboard-unstable-v1-client-protocol.h>
#include <wayland-client.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::commandOutput;
using tessel::test::run;

namespace {
const QString kTesselId = QStringLiteral(TESSEL_APP_ID);

// A keyboard of the test's own, with a Dvorak layout, where V is not on the key it has in the US
// layout. The compositor hands the keymap of the keyboard that typed last to every client,
// XWayland included, which maps its X keyboard from it; the paste typed with XTEST must still
// read as Ctrl+V. (wtype would leave XWayland a keymap of only the keys it typed: no Control.)
class DvorakKeyboard {
public:
    explicit DvorakKeyboard(wayland::WaylandConnection& connection)
        : m_connection(connection)
    {
        m_clock.start();
        auto* manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            connection.bind(QLatin1StringView(zwp_virtual_keyboard_manager_v1_interface.name),
                            &zwp_virtual_keyboard_manager_v1_interface, 1));
        const QByteArray keymap = wayland::VirtualKeymap("dvorak").text();
        const int fd = memfd_create("test-keymap", MFD_CLOEXEC);
        if (!manager || !connection.seat() || keymap.isEmpty() || fd < 0 ||
            ::write(fd, keymap.constData(), size_t(keymap.size())) != keymap.size())
            return;
        m_keyboard =
            zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, connection.seat());
        zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       uint32_t(keymap.size()));
        ::close(fd);
        zwp_virtual_keyboard_manager_v1_destroy(manager);
        wl_display_roundtrip(connection.display());
    }
    ~DvorakKeyboard()
    {
        if (m_keyboard)
            zwp_virtual_keyboard_v1_destroy(m_keyboard);
        m_connection.flush();
    }
    bool isValid() const { return m_keyboard && !m_connection.hasFailed(); }

    void tap(uint32_t evdevKey)
    {
        for (const auto state : {WL_KEYBOARD_KEY_STATE_PRESSED, WL_KEYBOARD_KEY_STATE_RELEASED})
            zwp_virtual_keyboard_v1_key(m_keyboard, uint32_t(m_clock.elapsed()), evdevKey, state);
        wl_display_roundtrip(m_connection.display());
    }

private:
    wayland::WaylandConnection& m_connection;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    QElapsedTimer m_clock;
};

// The lines a running process has printed so far.
QStringList linesOf(QProcess& process, QByteArray& seen)
{
    seen += process.readAllStandardOutput();
    return QString::fromUtf8(seen).split(u'\n', Qt::SkipEmptyParts);
}
} // namespace

// Auto-paste on a compositor without a virtual keyboard (KDE Plasma's, for one): sway, with its
// virtual keyboard hidden from Tessel by TESSEL_WAYLAND_IGNORE_GLOBALS, and XWayland. The paste
// is typed with XTEST, into X11 windows only.
class TestXWaylandPaste : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<wayland::WaylandConnection> m_connection;
    std::unique_ptr<wayland::WaylandToplevels> m_toplevels;
    std::unique_ptr<DvorakKeyboard> m_keyboard;
    std::unique_ptr<test::SessionBus> m_bus;
    std::unique_ptr<test::TesselProcess> m_tessel;
    QProcess m_receiver;
    QByteArray m_received;
    QProcess m_foot;

    QString activeAppId() const { return m_toplevels->appIdOf(m_toplevels->activeId()); }

    // An X11 text field, active.
    void startReceiver()
    {
        m_received.clear();
        m_receiver.start(qEnvironmentVariable("TESSEL_BINARY_DIR") +
                             "/tests/tools/x11_text_receiver"_L1,
                         {u"Tessel XWayland target"_s});
        QVERIFY(m_receiver.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            activeAppId().contains("x11_text_receiver"_L1, Qt::CaseInsensitive), 15000);
    }

    // Opens Tessel's popup over the active window with the command a desktop binds to a key.
    void openPopup()
    {
        QVERIFY(run(test::TesselProcess::executable(), {u"--toggle"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(activeAppId(), kTesselId, 10000);
    }

    // Tessel takes what is on the clipboard at its start as already seen: copy until recorded.
    void copyUntilRecorded(const QString& text)
    {
        const QDeadlineTimer deadline(30000);
        while (m_tessel->registryTexts().value(0) != text && !deadline.hasExpired()) {
            QVERIFY(run(u"wl-copy"_s, {text}));
            QTest::qWait(500);
        }
        QCOMPARE(m_tessel->registryTexts().value(0), text);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QGuiApplication::platformName().startsWith("wayland"_L1))
            QSKIP("needs a Wayland compositor (WAYLAND_DISPLAY) with the wlroots protocols");
        for (const auto* tool :
             {"swaymsg", "Xwayland", "foot", "wl-copy", "wl-paste", "dbus-daemon"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QString::fromLatin1(tool) + " is not installed"_L1));
        }
        // sway exports its XWayland display to what it starts.
        const QString file = m_dir.filePath(u"display"_s);
        QVERIFY(run(u"swaymsg"_s, {u"exec printf %s \"$DISPLAY\" > '%1'"_s.arg(file)}));
        QString display;
        QTRY_VERIFY_WITH_TIMEOUT(!(display = commandOutput(u"cat"_s, {file})).isEmpty(), 10000);
        qputenv("DISPLAY", display.toLocal8Bit());

        m_connection = wayland::WaylandConnection::open();
        QVERIFY(m_connection);
        m_toplevels = std::make_unique<wayland::WaylandToplevels>(*m_connection);
        QVERIFY(m_toplevels->isAvailable());
        m_keyboard = std::make_unique<DvorakKeyboard>(*m_connection);
        QVERIFY(m_keyboard->isValid());

        m_bus = std::make_unique<test::SessionBus>();
        QVERIFY(m_bus->isRunning());
        m_tessel = std::make_unique<test::TesselProcess>(m_dir.filePath(u"home"_s));
        auto env = m_tessel->process().processEnvironment();
        env.insert(u"TESSEL_WAYLAND_IGNORE_GLOBALS"_s, u"zwp_virtual_keyboard_manager_v1"_s);
        m_tessel->process().setProcessEnvironment(env);
        QVERIFY(m_tessel->skipPlatformNotes());
        QVERIFY(m_tessel->start());
        copyUntilRecorded(u"older entry ✓"_s);
        copyUntilRecorded(u"newer entry"_s);
    }

    void cleanupTestCase()
    {
        if (m_tessel)
            QCOMPARE(m_tessel->terminate(), 0);
        m_keyboard.reset();
        m_toplevels.reset();
    }

    void cleanup()
    {
        for (QProcess* client : {&m_receiver, &m_foot}) {
            if (client->state() != QProcess::NotRunning) {
                client->kill();
                client->waitForFinished();
            }
        }
        // The next case's windows must not be mistaken for these.
        QTRY_VERIFY_WITH_TIMEOUT(activeAppId().isEmpty(), 5000);
    }

    // The popup opens over an X11 text field; Down and Return paste the second entry there:
    // typed with XTEST once the compositor has given the X focus back to the field, as Ctrl+V
    // although the keyboard's layout is Dvorak, and read from the clipboard that XWayland shares
    // with the compositor.
    void pastesIntoTheActiveX11Window()
    {
        startReceiver();
        // The user has pressed a key in the field: XWayland's keyboard map is now the Dvorak
        // one, not that of the XTEST keyboard Tessel types with.
        m_keyboard->tap(KEY_LEFTSHIFT);
        openPopup();
        m_keyboard->tap(KEY_DOWN);
        m_keyboard->tap(KEY_ENTER);
        QTRY_COMPARE_WITH_TIMEOUT(linesOf(m_receiver, m_received).value(0), u"older entry ✓"_s,
                                  10000);
        QVERIFY2(!m_tessel->errorOutput().contains("could not be typed"),
                 m_tessel->errorOutput().constData());
    }

    // Over a native Wayland window (foot) the paste is not typed, not even into the X11 window
    // that was active before: Tessel says why, and the entry waits on the clipboard.
    void leavesAWaylandWindowAlone()
    {
        startReceiver();
        const QString footReceived = m_dir.filePath(u"foot.txt"_s);
        m_foot.start(u"foot"_s, {u"sh"_s, u"-c"_s, u"cat > \"$0\""_s, footReceived});
        QVERIFY(m_foot.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(activeAppId(), u"foot"_s, 10000);

        const QString chosen = u"entry for foot"_s;
        copyUntilRecorded(chosen);
        openPopup();
        m_keyboard->tap(KEY_ENTER);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_tessel->errorOutput().contains("the active window is not an X11 window"), 10000);
        QCOMPARE(commandOutput(u"wl-paste"_s, {u"-n"_s}), chosen);

        // A Return in foot ends the line `cat` writes: empty, as nothing was typed before it.
        QCOMPARE(activeAppId(), u"foot"_s);
        m_keyboard->tap(KEY_ENTER);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(footReceived).size() > 0, 5000);
        QCOMPARE(commandOutput(u"cat"_s, {footReceived}), QString());
        QCOMPARE(linesOf(m_receiver, m_received), QStringList());
    }
};

int main(int argc, char* argv[])
{
    tessel::test::useSwaySession();
    QGuiApplication app(argc, argv);
    TestXWaylandPaste test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_xwayland_paste.moc"
