// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Desktop.h"
#include "support/SessionBus.h"
#include "support/StalledServer.h"
#include "support/TesselProcess.h"

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
        const QString missing = missingForDesktopTest({u"xclip"_s, u"dbus-daemon"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        m_bus = std::make_unique<SessionBus>();
        QVERIFY2(m_bus->isRunning(), "dbus-daemon did not start");
    }

    void cleanupTestCase() { m_bus.reset(); }

    void withoutARunningTessel()
    {
        const Outcome outcome = runCommand({u"--toggle"_s});
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
};

QTEST_MAIN(TestRemoteControlE2E)
#include "test_remote_control_e2e.moc"
