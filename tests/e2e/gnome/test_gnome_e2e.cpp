// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "support/Desktop.h"
#include "support/TesselProcess.h"
#include "support/TestImages.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
// Capture follows the copy at once and the save 0.4 s later; allow for a loaded machine.
constexpr int kSavedWithinMs = 6000;

constexpr uint kKeyDown = 0xff54;
constexpr uint kKeyReturn = 0xff0d;
constexpr uint kKeyShift = 0xffe1;
constexpr uint kKeyControl = 0xffe3;
constexpr uint kKeyV = 0x76;

const QString kService = u"org.gnome.Mutter.RemoteDesktop"_s;

// Calls `method` of mutter's remote-desktop service and returns its reply or error.
QDBusMessage callMutter(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call);
}

// The user's keyboard. Headless mutter has no input device: its remote-desktop service (what
// gnome-remote-desktop drives) adds a virtual keyboard to the seat for as long as this session
// lasts, and its keys reach the focused window, Wayland or X11, as a real keyboard's do.
// Without a keyboard the seat gives no client the focus, and wl-copy finds no surface to use.
class MutterKeyboard {
public:
    ~MutterKeyboard()
    {
        if (!m_session.isEmpty())
            call(u"Stop"_s);
    }

    bool start()
    {
        const QDBusMessage created =
            callMutter(u"/org/gnome/Mutter/RemoteDesktop"_s, kService, u"CreateSession"_s);
        if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty())
            return false;
        m_session = created.arguments().constFirst().value<QDBusObjectPath>().path();
        // The device appears with its first key.
        return call(u"Start"_s) && tap(kKeyShift);
    }

    bool tap(uint keysym) { return press(keysym, true) && press(keysym, false); }

    bool chord(uint modifier, uint keysym)
    {
        return press(modifier, true) && tap(keysym) && press(modifier, false);
    }

private:
    QString m_session;

    bool press(uint keysym, bool down) { return call(u"NotifyKeyboardKeysym"_s, {keysym, down}); }

    bool call(const QString& method, const QVariantList& arguments = {})
    {
        return callMutter(m_session, kService + ".Session"_L1, method, arguments).type() ==
               QDBusMessage::ReplyMessage;
    }
};

// Whether the window mutter gave the keyboard to is Tessel's.
bool tesselIsActive()
{
    const QString active = commandOutput(u"xdotool"_s, {u"getactivewindow"_s});
    return !active.isEmpty() &&
           commandOutput(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"tessel"_s})
               .split(u'\n')
               .contains(active);
}

bool wlCopy(const QByteArray& bytes, const QString& type = u"text/plain"_s)
{
    return run(u"wl-copy"_s, {u"--type"_s, type}, bytes);
}
} // namespace

// Tessel on GNOME's compositor, which offers no clipboard protocol to applications: it runs on
// mutter's XWayland with the X11 backend, records what X11 and Wayland clients copy, opens with
// `tessel --toggle` (what the user binds in GNOME's keyboard settings) and pastes into X11
// applications.
class TestGnomeE2E : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<TesselProcess> m_tessel;
    MutterKeyboard m_keyboard;

    // Copies with xclip until Tessel has recorded it (it takes what is on the clipboard at its
    // start as already seen), so that the tests start once it listens.
    bool waitUntilRecording()
    {
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            if (!xclipWrite("tessel is listening"))
                return false;
            if (QTest::qWaitFor(
                    [this] { return m_tessel->registryTexts().contains(u"tessel is listening"_s); },
                    1500))
                return true;
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("TESSEL_GNOME_SESSION"))
            QSKIP("needs the headless mutter that scripts/test starts (start_gnome_desktop)");
        for (const QString& tool : {u"xclip"_s, u"xdotool"_s, u"zenity"_s, u"wl-copy"_s}) {
            if (!haveTool(tool))
                QSKIP(qPrintable(tool + " is not installed"_L1));
        }
        QVERIFY2(m_keyboard.start(), "mutter's remote-desktop service gave no keyboard");
        // The paste target is an X11 application; GTK would otherwise choose Wayland.
        qputenv("GDK_BACKEND", "x11");
        qputenv("QT_LOGGING_RULES", "tessel.app.debug=true;tessel.paste.debug=true");
        m_tessel = std::make_unique<TesselProcess>(m_home.path());
        QVERIFY(m_tessel->start());
        QVERIFY2(waitUntilRecording(), m_tessel->errorOutput().constData());
    }

    void cleanupTestCase()
    {
        if (m_tessel && m_tessel->isRunning())
            QCOMPARE(m_tessel->terminate(), 0);
    }

    // The compositor offers no data-control: Qt runs on XWayland with the X11 backend, and the
    // shortcuts, which would only fire over X11 windows, are left to the desktop's settings.
    void startsOnXWaylandWithTheX11Backend()
    {
        QVERIFY2(m_tessel->errorOutput().contains("platform backend: x11, on Qt's xcb"),
                 m_tessel->errorOutput().constData());
        QVERIFY2(m_tessel->errorOutput().contains("open Tessel with the command tessel --toggle"),
                 m_tessel->errorOutput().constData());
        const QByteArray said = m_tessel->process().readAllStandardOutput();
        QVERIFY2(!said.contains("EventHandler"), said.constData());
    }

    // The first start on this desktop explains in the popup what works here; Return carries on
    // to the history, and the explanation, once read, is remembered.
    void firstStartExplainsWhatWorksHere()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(tesselIsActive(), 5000);
        QVERIFY(m_keyboard.tap(kKeyReturn));
        const QString file = m_home.filePath(u"config/tessel/settings.json"_s);
        QTRY_COMPARE_WITH_TIMEOUT(
            tessel::SettingsStore(file).value(tessel::settings::seenPlatformNotes),
            u"platform_xwayland_note"_s, 5000);
        QVERIFY(run(TesselProcess::executable(), {u"--toggle"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
    }

    // mutter mirrors the Wayland clipboard into XWayland, every type of it.
    void recordsCopiesOfX11AndWaylandClients()
    {
        QVERIFY(xclipWrite("copied in an X11 client"));
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0), u"copied in an X11 client"_s,
                                  kSavedWithinMs);
        QVERIFY(wlCopy(encodedImage("png", Qt::darkGreen, 48), u"image/png"_s));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_tessel->registry().at(0).toObject().value("mimetype"_L1).toString(), u"public.png"_s,
            kSavedWithinMs);
        QVERIFY(wlCopy("copied in a Wayland client ✓"));
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0),
                                  u"copied in a Wayland client ✓"_s, kSavedWithinMs);
        QVERIFY(xclipWrite("copied in an X11 client, again"));
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0),
                                  u"copied in an X11 client, again"_s, kSavedWithinMs);
    }

    // The user's story: the desktop's shortcut runs `tessel --toggle` over an X11 text field;
    // Down and Return on the keyboard paste the second entry there.
    void toggleThenDownAndReturnPastesTheSecondEntry()
    {
        EntryDialog target;
        QVERIFY(target.open(u"Tessel GNOME paste target"_s));
        QVERIFY(run(TesselProcess::executable(), {u"--toggle"_s}));
        // Found among XWayland's windows: the popup is an X11 one.
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 10000);

        // A window that mutter activates, in the middle of the screen: XWayland only knows the
        // pointer's position over X11 windows.
        const QStringList screen =
            commandOutput(u"xdotool"_s, {u"getdisplaygeometry"_s}).split(u' ');
        QCOMPARE(screen.size(), 2);
        const QPoint middle(screen.at(0).toInt() / 2, screen.at(1).toInt() / 2);
        const QRect popup = popupGeometry();
        QVERIFY2((popup.center() - middle).manhattanLength() <= 4,
                 qPrintable(u"popup at %1,%2"_s.arg(popup.x()).arg(popup.y())));

        QTRY_VERIFY_WITH_TIMEOUT(tesselIsActive(), 5000);
        QVERIFY(m_keyboard.tap(kKeyDown));
        QVERIFY(m_keyboard.tap(kKeyReturn));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        // Confirming while Tessel still holds Control would send Ctrl+Return.
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->errorOutput().count("paste chord sent"), 1, 5000);
        QCOMPARE(target.confirm(), u"copied in a Wayland client ✓"_s);
    }

    // Most GNOME applications are Wayland clients. Over them the popup still gets the keys (it is
    // a window that mutter activates, not an X11 overlay, which would get none), Return puts the
    // entry on the clipboard and gives the focus back, and the user pastes: Tessel's own
    // keystroke reaches X11 windows only.
    void popupOverAWaylandApplicationTakesTheKeys()
    {
        QVERIFY(xclipWrite("older, for a Wayland application"));
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0),
                                  u"older, for a Wayland application"_s, kSavedWithinMs);
        QVERIFY(xclipWrite("newer"));
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0), u"newer"_s, kSavedWithinMs);

        QLineEdit field;
        field.setWindowTitle(u"Wayland text field"_s);
        field.resize(400, 40);
        field.show();
        QTRY_VERIFY_WITH_TIMEOUT(field.isActiveWindow(), 10000);

        QVERIFY(run(TesselProcess::executable(), {u"--toggle"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(tesselIsActive(), 10000);
        // The field hears of it through its own connection, a moment later.
        QTRY_VERIFY_WITH_TIMEOUT(!field.isActiveWindow(), 5000);
        QVERIFY(m_keyboard.tap(kKeyDown));
        QVERIFY(m_keyboard.tap(kKeyReturn));
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(field.isActiveWindow(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_tessel->errorOutput().count("paste chord sent"), 2, 5000);
        QVERIFY(m_keyboard.chord(kKeyControl, kKeyV));
        QTRY_COMPARE_WITH_TIMEOUT(field.text(), u"older, for a Wayland application"_s, 5000);
    }
};

int main(int argc, char* argv[])
{
    // The test's own window is the Wayland application; Tessel chooses its platform itself.
    if (qEnvironmentVariableIsSet("TESSEL_GNOME_SESSION"))
        qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    TestGnomeE2E test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_gnome_e2e.moc"
