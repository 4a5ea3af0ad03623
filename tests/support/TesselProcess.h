// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QProcess>

namespace tessel::test {

// The real `tessel` executable, run with its history in a directory of the test's.
class TesselProcess {
public:
    explicit TesselProcess(const QString& home);
    ~TesselProcess();

    // Starts Tessel and waits until it says it is listening for copies and commands, so that a
    // test never races its start-up; false when it did not get there (it exited, or 30 s passed).
    bool start();
    // Marks every explanation of a limited desktop as read before the start, for the tests of
    // other stories: the popup then opens only when they open it. False when it cannot be saved.
    bool skipPlatformNotes();
    // SIGTERM, as at log-out; returns the exit code (-1 when it did not exit in time).
    int terminate();
    // The exit code once Tessel has ended by itself within `timeoutMs`; -1 when it is still
    // running or crashed.
    int waitForExit(int timeoutMs);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // What a start that is refused printed on standard error, and its exit code.
    std::pair<int, QByteArray> refusedStart();
    QString registryPath() const
    {
        return m_home + QLatin1StringView("/data/tessel/registry.json");
    }
    QString imagesDir() const { return m_home + QLatin1StringView("/data/tessel/images"); }
    // The registry's records; empty when there is no readable registry yet.
    QJsonArray registry() const;
    // The "text" of each record, "<image>" for images.
    QStringList registryTexts() const;
    QProcess& process() { return m_process; }
    // All that Tessel has written on standard error so far (it is also passed on to the test's).
    const QByteArray& errorOutput();

    static QString executable();

private:
    bool launch();

    QString m_home;
    QProcess m_process;
    QByteArray m_errorOutput;
};

// Runs a command to completion; false when it could not start or failed.
bool run(const QString& program, const QStringList& args, const QByteArray& input = {});
// Starts `xclip` owning the CLIPBOARD with `bytes` under `target` (it stays until replaced).
bool xclipWrite(const QByteArray& bytes, const QString& target = QStringLiteral("UTF8_STRING"));
// What a command printed on standard output, trimmed; empty when it could not run.
QString commandOutput(const QString& program, const QStringList& args);
// Why a desktop test cannot run here (no X server, a missing tool), or empty when it can.
QString missingForDesktopTest(const QStringList& tools);
// Whether `name` is an executable on PATH.
bool haveTool(const QString& name);

} // namespace tessel::test
