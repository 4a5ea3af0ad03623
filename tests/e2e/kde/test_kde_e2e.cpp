// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/SavedShortcut.h"
#include "platform/desktop/KGlobalAccelHotkeyBackend.h"
#include "platform/wayland/FakeInputKeySynthesizer.h"
#include "platform/wayland/WaylandConnection.h"
#include "support/TesselProcess.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::TesselProcess;

namespace {
// Linux evdev codes, as KWin's fake input takes them.
constexpr uint32_t kKeyLeftCtrl = 29;
constexpr uint32_t kKeyA = 30;
constexpr uint32_t kKeyC = 46;
constexpr uint32_t kKeyDown = 108;
constexpr uint32_t kKeyReturn = 28;
// Qt 5's Meta and Shift bits and its V key, as KDE's service stores them.
constexpr int kMetaShiftV = 0x10000000 | 0x02000000 | 0x56;
constexpr int kControlAltJ = 0x04000000 | 0x08000000 | 0x4a;
constexpr int kControlAltK = 0x04000000 | 0x08000000 | 0x4b;

const QString kTesselComponent = QStringLiteral(TESSEL_APP_ID);

QDBusMessage callKGlobalAccel(const QString& path, const QString& interface, const QString& method,
                              const QVariantList& arguments = {})
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(u"org.kde.kglobalaccel"_s, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

// The keys KDE's service holds for `action` of `component`.
QList<int> keysOf(const QString& component, const QString& action)
{
    const QDBusMessage reply =
        callKGlobalAccel(u"/kglobalaccel"_s, u"org.kde.KGlobalAccel"_s, u"shortcut"_s,
                         {QStringList{component, action, QString(), QString()}});
    return reply.arguments().isEmpty() ? QList<int>()
                                       : qdbus_cast<QList<int>>(reply.arguments().constFirst());
}

// Presses a registered shortcut through the service, as the desktop does for the user's keys.
bool invokeShortcut(const QString& component, const QString& action)
{
    const QDBusMessage path = callKGlobalAccel(u"/kglobalaccel"_s, u"org.kde.KGlobalAccel"_s,
                                               u"getComponent"_s, {component});
    if (path.type() != QDBusMessage::ReplyMessage || path.arguments().isEmpty())
        return false;
    return callKGlobalAccel(path.arguments().constFirst().value<QDBusObjectPath>().path(),
                            u"org.kde.kglobalaccel.Component"_s, u"invokeShortcut"_s, {action})
               .type() == QDBusMessage::ReplyMessage;
}

// The installed desktop entry, with the build's executable in place of the installed one. KWin
// grants its fake input to the programs whose entries ask for it, by executable path.
QString installDesktopEntry(const QString& executable)
{
    QFile built(qEnvironmentVariable("TESSEL_BINARY_DIR") + "/resources/"_L1 + kTesselComponent +
                ".desktop"_L1);
    if (!built.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(built.readAll());
    static const QRegularExpression exec(u"^(Exec|TryExec)=\\S+"_s,
                                         QRegularExpression::MultilineOption);
    text.replace(exec, u"\\1="_s + executable);
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/applications"_L1;
    QDir().mkpath(dir);
    QFile installed(dir + u'/' + kTesselComponent + ".desktop"_L1);
    if (!installed.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    installed.write(text.toUtf8());
    return installed.fileName();
}

// The test's own entry: it types the user's keys through the same fake input.
bool installTestEntry()
{
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/applications"_L1;
    QFile entry(dir + "/tessel-kde-test.desktop"_L1);
    if (!entry.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    entry.write(u"[Desktop Entry]\nType=Application\nName=Tessel KDE test\nNoDisplay=true\n"
                u"Exec=%1\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n"_s
                    .arg(QCoreApplication::applicationFilePath())
                    .toUtf8());
    return true;
}

// The command line of an action of a desktop entry ("history", "emoji", "preferences").
QStringList actionCommand(const QString& entry, const QString& action)
{
    QFile file(entry);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inAction = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'['))
            inAction = line == "[Desktop Action "_L1 + action + u']';
        else if (inAction && line.startsWith("Exec="_L1))
            return line.mid(5).split(u' ', Qt::SkipEmptyParts);
    }
    return {};
}
} // namespace

// Tessel on KDE Plasma (KWin 5.27, headless): its two shortcuts are actions of KDE's shortcut
// service, the paste goes through KWin's fake input (granted by the desktop entry), and the
// clipboard through data-control, as on wlroots compositors.
class TestKdeE2E : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_entry;
    std::unique_ptr<wayland::WaylandConnection> m_connection;
    std::unique_ptr<wayland::FakeInputKeySynthesizer> m_keys;
    std::unique_ptr<TesselProcess> m_tessel;
    QLineEdit m_field;

    // Gives the test's text field the keyboard; Tessel's windows, once closed, hand it back.
    void focusField()
    {
        m_field.show();
        m_field.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(m_field.isActiveWindow(), 10000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("TESSEL_KDE_SESSION"))
            QSKIP("needs the headless KWin that scripts/test starts (start_kde_desktop)");
        m_entry = installDesktopEntry(TesselProcess::executable());
        QVERIFY2(!m_entry.isEmpty(), "the built desktop entry could not be installed");
        QVERIFY(installTestEntry());
        // KWin looks the entries up in KDE's service cache, which notices new files only by the
        // times of their folders: an entry rewritten in place, or written while KWin was still
        // building the cache at its start, would stay unseen. Rebuilding it, as installers do,
        // tells KWin over the session bus to read it again.
        QCOMPARE(QProcess::execute(u"kbuildsycoca5"_s, {u"--noincremental"_s}), 0);
        // Until KWin has reopened the cache, a new connection is not offered the interface.
        QVERIFY2(QTest::qWaitFor(
                     [this] {
                         m_keys.reset();
                         m_connection = wayland::WaylandConnection::open();
                         if (!m_connection)
                             return false;
                         m_keys = std::make_unique<wayland::FakeInputKeySynthesizer>(
                             *m_connection, nullptr);
                         if (m_keys->isAvailable())
                             return true;
                         QTest::qWait(300);
                         return false;
                     },
                     15000),
                 "KWin did not grant the test its fake input");

        m_field.setWindowTitle(u"Tessel KDE paste target"_s);
        m_field.resize(400, 40);
        focusField();

        qputenv("QT_LOGGING_RULES", "tessel.paste.debug=true");
        m_tessel = std::make_unique<TesselProcess>(m_home.path());
        QVERIFY(m_tessel->skipPlatformNotes());
        QVERIFY(m_tessel->start());
    }

    void cleanupTestCase()
    {
        if (m_tessel && m_tessel->isRunning())
            m_tessel->terminate();
        m_keys.reset();
        // Qt's Wayland clipboard keeps the field's last copy until it is replaced.
        QGuiApplication::clipboard()->clear();
    }

    // The shortcuts appear in Plasma's settings as actions of Tessel's component, with Tessel's
    // keys; Tessel runs natively, with KWin's fake input for the paste.
    void registersItsShortcutsWithPlasma()
    {
        QTRY_COMPARE_WITH_TIMEOUT(keysOf(kTesselComponent, u"toggle"_s), QList<int>{kMetaShiftV},
                                  15000);
        QVERIFY(!keysOf(kTesselComponent, u"emoji"_s).isEmpty());
        QVERIFY2(m_tessel->errorOutput().contains("platform backend: wayland"),
                 m_tessel->errorOutput().constData());
    }

    // A copy in a Wayland application, which has the keyboard, is recorded.
    void recordsACopyWithoutTheFocus()
    {
        focusField();
        for (const QString& text : {u"older entry ✓"_s, u"newer entry"_s}) {
            m_field.setText(text);
            m_keys->tap(kKeyA, {kKeyLeftCtrl});
            m_keys->tap(kKeyC, {kKeyLeftCtrl});
            QTRY_COMPARE_WITH_TIMEOUT(m_tessel->registryTexts().value(0), text, 10000);
        }
        QVERIFY(m_field.isActiveWindow());
    }

    // The user's story: the shortcut, pressed through Plasma's shortcut service, opens the popup
    // over the text field; Down and Return paste the second entry there.
    void shortcutDownReturnPastesTheSecondEntry()
    {
        focusField();
        m_field.clear();
        QVERIFY(invokeShortcut(kTesselComponent, u"toggle"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!m_field.isActiveWindow(), 10000);
        m_keys->tap(kKeyDown);
        m_keys->tap(kKeyReturn);
        QTRY_VERIFY_WITH_TIMEOUT(m_field.isActiveWindow(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m_field.text(), u"older entry ✓"_s, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(m_tessel->errorOutput().contains("paste chord sent"), 5000);
    }

    // The preferences' recorder changes a shortcut in Plasma's settings, a press of the new one
    // arrives, and keys another program holds there (the running Tessel's) are refused. Run on a
    // component of the test's, beside the running Tessel's.
    void recorderChangesTheShortcutInPlasma()
    {
        const QString component = u"tessel-kde-test"_s;
        const auto controlAlt = [](quint32 keyCode) {
            SavedShortcut shortcut;
            shortcut.keyCode = keyCode;
            shortcut.carbonModifiers = ShortcutModifier::control | ShortcutModifier::option;
            return shortcut;
        };
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath(u"settings.json"_s));
        settings.set(settings::savedClipboardShortcut, controlAlt(38).toJson()); // J
        settings.set(settings::savedEmojiShortcut, controlAlt(37).toJson());     // L
        desktop::KGlobalAccelHotkeyBackend backend(QDBusConnection::sessionBus(), component,
                                                   u"Tessel test"_s);
        HotkeyManager hotkeys(settings, backend);
        QList<HotkeyManager::Action> pressed;
        hotkeys.start([&pressed](HotkeyManager::Action action) { pressed << action; });
        QTRY_VERIFY_WITH_TIMEOUT(hotkeys.isClipboardRegistered(), 10000);
        QCOMPARE(keysOf(component, u"toggle"_s), QList<int>{kControlAltJ});

        QVERIFY(!hotkeys.updateClipboardShortcut(controlAlt(40))); // K
        QTRY_COMPARE_WITH_TIMEOUT(keysOf(component, u"toggle"_s), QList<int>{kControlAltK}, 10000);
        QTRY_VERIFY(hotkeys.isClipboardRegistered());

        QVERIFY(invokeShortcut(component, u"emoji"_s));
        QTRY_COMPARE_WITH_TIMEOUT(pressed.size(), 1, 5000);
        QCOMPARE(pressed.constFirst(), HotkeyManager::Action::emoji);

        QSignalSpy answers(&hotkeys, &HotkeyManager::registrationChanged);
        QVERIFY(!hotkeys.updateClipboardShortcut(SavedShortcut::defaultClipboard()));
        const auto clipboardAnswer = [&answers]() -> std::optional<bool> {
            for (const QList<QVariant>& answer : std::as_const(answers)) {
                if (answer.at(0).value<HotkeyManager::Action>() == HotkeyManager::Action::clipboard)
                    return answer.at(1).toBool();
            }
            return std::nullopt;
        };
        QTRY_VERIFY_WITH_TIMEOUT(clipboardAnswer().has_value(), 10000);
        QCOMPARE(*clipboardAnswer(), false);
    }

    // A menu action of the installed entry opens the popup when Tessel was not running; one
    // started while Tessel runs hands its command over and ends.
    void desktopActionStartsTessel()
    {
        QCOMPARE(m_tessel->terminate(), 0);
        const QStringList history = actionCommand(m_entry, u"history"_s);
        const QStringList emoji = actionCommand(m_entry, u"emoji"_s);
        QCOMPARE(history.value(0), TesselProcess::executable());
        QCOMPARE(history.mid(1), QStringList{u"--toggle"_s});
        QCOMPARE(emoji.mid(1), QStringList{u"--emoji"_s});

        focusField();
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
        env.remove(u"QT_QPA_PLATFORM"_s);
        if (const QString options = env.value(u"TESSEL_APP_LSAN_OPTIONS"_s); !options.isEmpty())
            env.insert(u"LSAN_OPTIONS"_s, options);
        QProcess first;
        QProcess second;
        for (QProcess* process : {&first, &second})
            process->setProcessEnvironment(env);
        // The first action starts Tessel with the popup open; the second, started while it runs,
        // hands its command over and ends. (Started together, their order would decide whether
        // the toggle closes the popup the other opened.)
        first.start(history.value(0), history.mid(1));
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!m_field.isActiveWindow(), 30000);
        QCOMPARE(first.state(), QProcess::Running);
        second.start(emoji.value(0), emoji.mid(1));
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        QVERIFY(test::run(TesselProcess::executable(), {u"--quit"_s}));
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
    }
};

int main(int argc, char* argv[])
{
    // The test's own window is a native Wayland application.
    if (qEnvironmentVariableIsSet("TESSEL_KDE_SESSION"))
        qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    TestKdeE2E test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_kde_e2e.moc"
