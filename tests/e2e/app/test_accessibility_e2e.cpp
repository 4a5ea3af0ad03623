// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"
#include "core/SettingsStore.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"
#include "support/Desktop.h"
#include "support/SessionBus.h"
#include "support/TesselProcess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

namespace {
// The Tab presses from the search field to "Clear all", from there to the header's gear, and
// from the preferences' first focus (About) to "Auto-paste on select".
constexpr int clearAllTabs = 1;
constexpr int gearTabs = 1;
constexpr int pasteTabs = 2;

bool key(const QString& chord)
{
    const bool pressed = run(u"xdotool"_s, {u"key"_s, chord});
    QTest::qWait(300);
    return pressed;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(path.section(u'/', 0, -2)) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// A history of `texts`, newest first, for Tessel to start with.
bool writeHistory(const QString& home, const QStringList& texts)
{
    QJsonArray records;
    double time = 1.7e9;
    for (const QString& text : texts)
        records.append(QJsonObject{{u"timestamp"_s, time--}, {u"text"_s, text}});
    return write(home + "/data/tessel/registry.json"_L1, QJsonDocument(records).toJson());
}

QStringList pinned(const TesselProcess& tessel)
{
    QStringList texts;
    for (const auto& record : tessel.registry()) {
        if (record.toObject().value("favorite"_L1).toBool())
            texts << record.toObject().value("text"_L1).toString();
    }
    return texts;
}

// Tessel's visible windows: the popup, a menu of its, the preferences.
int visibleWindows()
{
    return int(
        commandOutput(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"tessel"_s})
            .split(u'\n', Qt::SkipEmptyParts)
            .size());
}

QString probe()
{
    return qEnvironmentVariable("TESSEL_SOURCE_DIR") + "/tests/e2e/app/atspi_probe.py"_L1;
}

// The bus a desktop starts for its screen reader, on the test's own session bus; its address is
// handed to Tessel and to the probe, so that neither takes another bus the X server's root window
// may name.
class AccessibilityBus {
public:
    AccessibilityBus()
    {
        m_launcher.start(u"/usr/libexec/at-spi-bus-launcher"_s, {u"--launch-immediately"_s});
        QDBusConnection session = QDBusConnection::connectToBus(
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), u"accessibility-bus-probe"_s);
        const QDBusMessage call = QDBusMessage::createMethodCall(
            u"org.a11y.Bus"_s, u"/org/a11y/bus"_s, u"org.a11y.Bus"_s, u"GetAddress"_s);
        const bool answered = QTest::qWaitFor(
            [&] {
                const QDBusMessage reply = session.call(call, QDBus::Block, 2000);
                if (reply.type() == QDBusMessage::ReplyMessage)
                    m_address = reply.arguments().value(0).toString();
                return !m_address.isEmpty();
            },
            10000);
        if (!answered)
            qWarning("the accessibility bus did not start");
    }
    ~AccessibilityBus()
    {
        m_launcher.terminate();
        if (!m_launcher.waitForFinished(3000))
            m_launcher.kill();
    }
    QString address() const { return m_address; }

private:
    QProcess m_launcher;
    QString m_address;
};

// The probe's listener: what a screen reader hears.
class Listener {
public:
    explicit Listener(const QString& busAddress)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"AT_SPI_BUS_ADDRESS"_s, busAddress);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(u"python3"_s, {probe(), u"listen"_s});
    }
    ~Listener()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool waitUntilListening()
    {
        return QTest::qWaitFor(
            [this] {
                return (m_output += m_process.readAllStandardOutput()).startsWith("ready\n");
            },
            10000);
    }
    // The names of the sources of the events of `type` so far (focus: both kinds of focus
    // event).
    QStringList heard(const QString& type)
    {
        m_output += m_process.readAllStandardOutput();
        QStringList names;
        for (const QByteArray& line : m_output.split('\n')) {
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            const QString kind = event.value("type"_L1).toString();
            // A state that was lost, not gained.
            if (kind.startsWith("object:state-changed"_L1) && event.value("detail"_L1).toInt() == 0)
                continue;
            if (kind == type || (type == "focus"_L1 && kind.contains("focus"_L1)))
                names << event.value("role"_L1).toString() + u':' +
                             event.value("name"_L1).toString();
        }
        return names;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

QJsonObject tree(const QString& busAddress, qint64 pid)
{
    QProcess process;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"AT_SPI_BUS_ADDRESS"_s, busAddress);
    process.setProcessEnvironment(env);
    process.start(u"python3"_s, {probe(), u"tree"_s, QString::number(pid)});
    process.waitForFinished(30000);
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

// The popup in the tree: the application's visible window with a list.
QJsonObject popupIn(const QJsonObject& tree)
{
    for (const auto& window : tree.value("windows"_L1).toArray()) {
        const QJsonObject object = window.toObject();
        if (object.value("states"_L1).toArray().contains(u"showing"_s) &&
            !object.value("lists"_L1).toArray().isEmpty())
            return object;
    }
    return {};
}

QString selectedIn(const QJsonObject& window)
{
    const QJsonArray lists = window.value("lists"_L1).toArray();
    return lists.isEmpty() ? QString() : lists.first().toObject().value("selected"_L1).toString();
}
} // namespace

// Tessel as a screen-reader user and a keyboard user meet it, on the X desktop, with the
// keyboard alone.
class TestAccessibilityE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xdotool"_s, u"python3"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        if (!run(u"python3"_s, {u"-c"_s, u"import pyatspi"_s}))
            QSKIP("python3-pyatspi is not installed (scripts/deps.txt)");
    }

    // The popup opens as a window of Tessel's; Down speaks the second row; on the emoji tab the
    // highlighted cell is spoken by its Portuguese name.
    void aScreenReaderHearsTheRowsAndTheEmojiNames()
    {
        SessionBus session;
        QVERIFY(session.isRunning());
        AccessibilityBus bus;
        QVERIFY(!bus.address().isEmpty());
        QTemporaryDir home;
        QVERIFY(
            writeHistory(home.path(), {u"newest entry"_s, u"second entry"_s, u"oldest entry"_s}));
        SettingsStore(home.filePath(u"config/tessel/settings.json"_s))
            .set(settings::appLanguage, u"pt"_s);
        TesselProcess tessel(home.path());
        QVERIFY(tessel.skipPlatformNotes());
        auto env = tessel.process().processEnvironment();
        // Tessel finds the bus through the session bus, as on a desktop: Qt 6.4 joins a bus
        // named in AT_SPI_BUS_ADDRESS without ever turning its bridge on.
        env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
        tessel.process().setProcessEnvironment(env);
        QVERIFY(tessel.start());
        Listener listener(bus.address());
        QVERIFY(listener.waitUntilListening());
        QTest::qWait(1000); // Tessel hears of the listener and starts sending events

        QVERIFY(openPopupWith(u"super+shift+v"_s));
        // A window, as Qt shows every window to screen readers: a frame.
        QTRY_VERIFY_WITH_TIMEOUT(!listener.heard(u"window:activate"_s).isEmpty(), 5000);
        QVERIFY(listener.heard(u"window:activate"_s).first().startsWith(u"frame:"_s));
        QVERIFY(key(u"Down"_s));
        QTRY_VERIFY_WITH_TIMEOUT(listener.heard(u"focus"_s).contains(u"list item:second entry"_s),
                                 5000);
        const QJsonObject history = popupIn(tree(bus.address(), tessel.process().processId()));
        QVERIFY2(!history.isEmpty(), "the popup is not among Tessel's windows on the bus");
        QCOMPARE(history.value("role"_L1).toString(), u"frame"_s);
        QVERIFY(history.value("states"_L1).toArray().contains(u"active"_s));
        QCOMPARE(selectedIn(history), u"second entry"_s);

        // The first emoji the tab shows, by its name in Portuguese.
        QTemporaryDir scratch;
        SettingsStore scratchSettings(scratch.filePath(u"settings.json"_s));
        EmojiStore emojis(scratchSettings);
        const QList<qsizetype> shown = EmojiFilter::visibleEmojis(emojis.catalogue(), {}, {});
        QVERIFY(!shown.isEmpty());
        const QString first = emojis.emojis().at(shown.first()).character;
        const QString name = emojis.name(first, u"pt"_s);
        QVERIFY(!name.isEmpty() && name != emojis.name(first, u"en"_s));
        QVERIFY(key(u"alt+2"_s));
        QVERIFY(key(u"Down"_s));
        QTRY_VERIFY_WITH_TIMEOUT(listener.heard(u"focus"_s).contains(u"list item:"_s + name), 5000);
        QCOMPARE(selectedIn(popupIn(tree(bus.address(), tessel.process().processId()))), name);
        QCOMPARE(tessel.terminate(), 0);
    }

    // The keyboard alone, no pointer: tabs, pin, delete, the row menu, the clear question, the
    // preferences.
    void theKeyboardAloneDoesEverything()
    {
        QTemporaryDir home;
        QVERIFY(writeHistory(home.path(),
                             {u"alpha"_s, u"bravo"_s, u"charlie"_s, u"delta"_s, u"echo"_s}));
        TesselProcess tessel(home.path());
        QVERIFY(tessel.skipPlatformNotes());
        QVERIFY(tessel.start());
        QVERIFY(openPopupWith(u"super+shift+v"_s));
        QVERIFY(key(u"Down"_s) && key(u"ctrl+p"_s));
        QTRY_COMPARE_WITH_TIMEOUT(pinned(tessel), QStringList{u"bravo"_s}, 5000);
        QVERIFY(key(u"Down"_s) && key(u"Delete"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(),
                                  (QStringList{u"alpha"_s, u"bravo"_s, u"delta"_s, u"echo"_s}),
                                  5000);
        // The row's menu, and Escape closes it alone.
        QVERIFY(key(u"Menu"_s));
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(), 2, 5000);
        QVERIFY(key(u"Escape"_s));
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(), 1, 5000);
        QVERIFY(!popupGeometry().isEmpty());

        // On the favourites the one pinned entry is the first row, and Return chooses it: it
        // becomes the newest.
        QVERIFY(key(u"alt+5"_s) && key(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().value(0), u"bravo"_s, 5000);
        // Over there and back: the history's second row is chosen.
        QVERIFY(openPopupWith(u"super+shift+v"_s));
        QVERIFY(key(u"ctrl+Next"_s) && key(u"alt+1"_s));
        QVERIFY(key(u"Down"_s) && key(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().value(0), u"alpha"_s, 5000);

        // "Clear all" from the keyboard; Escape answers its question as Cancel does.
        QVERIFY(openPopupWith(u"super+shift+v"_s));
        for (int i = 0; i < clearAllTabs; ++i)
            QVERIFY(key(u"Tab"_s));
        QVERIFY(key(u"Return"_s) && key(u"Escape"_s));
        QVERIFY(!popupGeometry().isEmpty());
        QCOMPARE(tessel.registryTexts().size(), 4);
        // Asked again, Tab goes to "Clear" and Return clears all but the pinned entry.
        QVERIFY(key(u"Return"_s) && key(u"Tab"_s) && key(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(), QStringList{u"bravo"_s}, 5000);
        QVERIFY(!popupGeometry().isEmpty());

        // The preferences, from the gear; a setting changed with Space; Escape closes them.
        for (int i = 0; i < gearTabs; ++i)
            QVERIFY(key(u"Tab"_s));
        QVERIFY(key(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(), 1, 5000);
        QVERIFY(popupGeometry().isEmpty());
        const QString settingsPath = home.filePath(u"config/tessel/settings.json"_s);
        const bool pasteBefore = SettingsStore(settingsPath).value(settings::pasteOnSelect);
        for (int i = 0; i < pasteTabs; ++i)
            QVERIFY(key(u"Tab"_s));
        QVERIFY(key(u"space"_s));
        QTRY_COMPARE_WITH_TIMEOUT(SettingsStore(settingsPath).value(settings::pasteOnSelect),
                                  !pasteBefore, 5000);
        QVERIFY(key(u"Escape"_s));
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(), 0, 5000);
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestAccessibilityE2E)
#include "test_accessibility_e2e.moc"
