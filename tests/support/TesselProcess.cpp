// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TesselProcess.h"

#include "core/SettingsStore.h"

#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tessel::test {

namespace {
// Tessel's debug line once start-up is over (src/app/main.cpp).
constexpr char kReadyLine[] = "listening for copies and commands";
} // namespace

TesselProcess::TesselProcess(const QString& home)
    : m_home(home)
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, m_home + "/data"_L1);
    env.insert(u"XDG_CONFIG_HOME"_s, m_home + "/config"_L1);
    env.remove(u"QT_QPA_PLATFORM"_s);
    const QString rules = env.value(u"QT_LOGGING_RULES"_s);
    env.insert(u"QT_LOGGING_RULES"_s,
               (rules.isEmpty() ? QString() : rules + u';') + u"tessel.app.debug=true"_s);
    // The leak checker's options for Tessel itself where a test gives it its own
    // (tests/CMakeLists.txt).
    if (const QString options = env.value(u"TESSEL_APP_LSAN_OPTIONS"_s); !options.isEmpty())
        env.insert(u"LSAN_OPTIONS"_s, options);
    m_process.setProcessEnvironment(env);
    QObject::connect(&m_process, &QProcess::readyReadStandardError, [this] { errorOutput(); });
}

TesselProcess::~TesselProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString TesselProcess::executable()
{
    return qEnvironmentVariable("TESSEL_BINARY_DIR") + "/src/app/tessel"_L1;
}

bool TesselProcess::launch()
{
    m_errorOutput.clear();
    m_process.start(executable(), {});
    return m_process.waitForStarted(5000);
}

bool TesselProcess::start()
{
    if (!launch())
        return false;
    const auto ready = [this] { return errorOutput().contains(kReadyLine); };
    return QTest::qWaitFor([&] { return ready() || m_process.state() == QProcess::NotRunning; },
                           30000) &&
           ready();
}

const QByteArray& TesselProcess::errorOutput()
{
    const QByteArray chunk = m_process.readAllStandardError();
    if (!chunk.isEmpty()) {
        std::fwrite(chunk.constData(), 1, chunk.size(), stderr);
        m_errorOutput += chunk;
    }
    return m_errorOutput;
}

bool TesselProcess::skipPlatformNotes()
{
    SettingsStore settings(m_home + "/config/tessel/settings.json"_L1);
    settings.set(
        settings::seenPlatformNotes,
        u"platform_xwayland_note platform_shortcuts_note platform_paste_unavailable_note"_s);
    return bool(settings.lastWrite());
}

int TesselProcess::terminate()
{
    ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
    return m_process.waitForFinished(10000) ? m_process.exitCode() : -1;
}

int TesselProcess::waitForExit(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

std::pair<int, QByteArray> TesselProcess::refusedStart()
{
    if (!launch() || !m_process.waitForFinished(10000))
        return {-1, {}};
    return {m_process.exitCode(), errorOutput()};
}

QJsonArray TesselProcess::registry() const
{
    QFile file(registryPath());
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).array()
                                          : QJsonArray();
}

QStringList TesselProcess::registryTexts() const
{
    QStringList texts;
    for (const auto& record : registry())
        texts.append(record.toObject().value("text"_L1).toString(u"<image>"_s));
    return texts;
}

bool run(const QString& program, const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(5000))
        return false;
    process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool xclipWrite(const QByteArray& bytes, const QString& target)
{
    // xclip forks a child that keeps serving the selection; the parent exits once it owns it.
    return run(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-t"_s, target, u"-i"_s}, bytes);
}

QString commandOutput(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool haveTool(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

QString missingForDesktopTest(const QStringList& tools)
{
    if (QGuiApplication::platformName() != "xcb"_L1)
        return u"needs an X server (run through scripts/test)"_s;
    for (const QString& tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool + " is not installed"_L1;
    }
    return {};
}

} // namespace tessel::test
