// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "support/Desktop.h"
#include "support/SessionBus.h"
#include "support/StalledServer.h"
#include "support/TesselProcess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
struct Outcome {
    int exitCode = -1;
    QString error;
};

// Runs `tessel` with `args` as a key binding of the desktop would, to the end.
Outcome runCommand(const QStringList& args,
                   QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    env.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(env);
    process.start(TesselProcess::executable(), args);
    if (!process.waitForFinished(15000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// The resident memory of process `pid`, in KiB; 0 when it cannot be read.
qint64 residentKiB(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

// The commands a user binds in the desktop's keyboard settings, against a running Tessel on a
// session bus of the test's own.
class TestRemoteControlE2E : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SessionBus> m_bus;

    // Starts Tessel and waits until it answers on the bus.
    bool startTessel(TesselProcess& tessel)
    {
        if (!tessel.start())
            return false;
        QDeadlineTimer deadline(15000);
        while (!m_bus->hasOwner(QStringLiteral(TESSEL_APP_ID)) && !deadline.hasExpired())
            QTest::qWait(50);
        return !deadline.hasExpired();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"dbus-daemon"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        m_bus = std::make_unique<SessionBus>();
        QVERIFY2(m_bus->isRunning(), "dbus-daemon did not start");
    }

    void cleanupTestCase() { m_bus.reset(); }

    // Quitting a Tessel that is not running has nothing to do (the commands that open a window
    // start one instead).
    void withoutARunningTessel()
    {
        const Outcome outcome = runCommand({u"--quit"_s});
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.error.contains(u"not running"_s), qPrintable(outcome.error));
        QVERIFY2(!outcome.error.trimmed().contains(u'\n'), qPrintable(outcome.error));
    }

    void toggleAndEmojiOpenAndClose()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(startTessel(tessel));

        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 5000);
        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);

        // The emoji tab: asking for the history then switches tabs instead of closing.
        QCOMPARE(runCommand({u"--emoji"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 5000);
        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTest::qWait(1000);
        QVERIFY(!popupGeometry().isEmpty());
        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(popupGeometry().isEmpty(), 5000);

        // A second start with the same history ends at once and leaves the first one alone.
        TesselProcess second(home.path());
        const auto [status, error] = second.refusedStart();
        QCOMPARE(status, 1);
        QVERIFY2(error.contains("already running"), error.constData());
        QVERIFY(tessel.isRunning());
        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!popupGeometry().isEmpty(), 5000);
    }

    void windowsAreTitledOnceInTheInterfaceLanguage()
    {
        QTemporaryDir home;
        tessel::SettingsStore(home.filePath(u"config/tessel/settings.json"_s))
            .set(tessel::settings::appLanguage, u"es"_s);
        TesselProcess tessel(home.path());
        QVERIFY(startTessel(tessel));
        QCOMPARE(runCommand({u"--preferences"_s}).exitCode, 0);
        // The title the window manager shows, exactly: no " — Tessel" after it.
        const auto titled = [](const QString& pattern) {
            return !commandOutput(u"xdotool"_s, {u"search"_s, u"--name"_s, pattern}).isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(titled(u"Ajustes de Tessel"_s), 5000);
        QVERIFY(titled(u"^Ajustes de Tessel$"_s));
        QCOMPARE(tessel.terminate(), 0);
    }

    void quitSavesTheHistory()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(startTessel(tessel));
        QVERIFY(xclipWrite("kept across quit"_ba));
        // Capture is event driven; the debounced save may still be pending when the quit comes.
        QTest::qWait(300);
        QCOMPARE(runCommand({u"--quit"_s}).exitCode, 0);
        QCOMPARE(tessel.waitForExit(10000), 0);
        QCOMPARE(tessel.registryTexts(), QStringList{u"kept across quit"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!m_bus->hasOwner(QStringLiteral(TESSEL_APP_ID)), 5000);
    }

    // A session bus that lets clients in and never answers: the command says so within seconds,
    // and Tessel starts without the bus instead of waiting on it.
    void aBusThatNeverAnswersIsPassedOver()
    {
        QTemporaryDir dir;
        StalledServer silent(dir.filePath(u"bus"_s));
        QVERIFY(silent.isListening());
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + dir.filePath(u"bus"_s));

        const Outcome outcome = runCommand({u"--toggle"_s}, env);
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.error.contains(u"session bus"_s), qPrintable(outcome.error));
        QVERIFY2(!outcome.error.trimmed().contains(u'\n'), qPrintable(outcome.error));

        QTemporaryDir home;
        TesselProcess tessel(home.path());
        auto tesselEnv = tessel.process().processEnvironment();
        tesselEnv.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, env.value(u"DBUS_SESSION_BUS_ADDRESS"_s));
        tessel.process().setProcessEnvironment(tesselEnv);
        QVERIFY(tessel.start());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(tessel.registryPath()), 15000);
        QVERIFY(xclipWrite("copied without a bus"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(), QStringList{u"copied without a bus"_s},
                                  5000);
        QCOMPARE(tessel.terminate(), 0);
    }

    // 20,000 calls at once, as a runaway script or key binding makes them: each is answered,
    // and they cost Tessel neither minutes nor memory.
    void aFloodOfCallsIsCoalesced()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        // AddressSanitizer keeps up to 256 MB of freed blocks resident before reusing them: on a
        // loaded machine fewer calls merge, the popup opens and closes more often, and that hold
        // alone passes the bound. A small hold leaves what Tessel itself keeps.
        auto env = tessel.process().processEnvironment();
        env.insert(u"ASAN_OPTIONS"_s,
                   env.value(u"ASAN_OPTIONS"_s) + u":quarantine_size_mb=16"_s);
        tessel.process().setProcessEnvironment(env);
        QVERIFY(startTessel(tessel));
        QTest::qWait(1000);
        const qint64 before = residentKiB(tessel.process().processId());
        QDBusConnection bus = QDBusConnection::connectToBus(m_bus->address(), u"flood"_s);
        QVERIFY(bus.isConnected());
        const QString service = QStringLiteral(TESSEL_APP_ID);
        const QString path = u'/' + QString(service).replace(u'.', u'/');
        QList<QDBusPendingCall> calls;
        calls.reserve(20000);
        QElapsedTimer flood;
        flood.start();
        for (int i = 0; i < 20000; ++i)
            calls.append(bus.asyncCall(
                QDBusMessage::createMethodCall(service, path, service, u"Toggle"_s), 120000));
        for (QDBusPendingCall& call : calls) {
            call.waitForFinished();
            QVERIFY2(!call.isError(), qPrintable(call.error().message()));
        }
        const qint64 answered = flood.elapsed();
        QDBusConnection::disconnectFromBus(u"flood"_s);
        QTest::qWait(2000);
        const qint64 grown = residentKiB(tessel.process().processId()) - before;
        // scripts/reliability reports these.
        qInfo("flood: all answered in %lld ms; Tessel's resident memory grew by %lld MB", answered,
              grown / 1024);
        QVERIFY2(answered < 60000, qPrintable(u"answered in %1 ms"_s.arg(answered)));
        QVERIFY2(grown < 200 * 1024, qPrintable(u"grew by %1 KiB"_s.arg(grown)));
        // Still at the user's command.
        const bool wasOpen = !popupGeometry().isEmpty();
        QCOMPARE(runCommand({u"--toggle"_s}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(popupGeometry().isEmpty(), wasOpen, 5000);
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestRemoteControlE2E)
#include "test_remote_control_e2e.moc"
