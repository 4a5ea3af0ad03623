// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Desktop.h"
#include "support/SessionBus.h"
#include "support/TesselProcess.h"

#include <QDeadlineTimer>
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
Outcome runCommand(const QStringList& args)
{
    QProcess process;
    auto env = QProcessEnvironment::systemEnvironment();
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
};

QTEST_MAIN(TestRemoteControlE2E)
#include "test_remote_control_e2e.moc"
