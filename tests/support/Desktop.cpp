// SPDX-License-Identifier: GPL-3.0-or-later
#include "Desktop.h"

#include "TesselProcess.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace tessel::test {

void useSwaySession()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "wayland");
    if (!qEnvironmentVariableIsSet("SWAYSOCK")) {
        const QDir runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
        const QStringList sockets =
            runtime.entryList({u"sway-ipc.*.sock"_s}, QDir::System | QDir::Files);
        if (!sockets.isEmpty())
            qputenv("SWAYSOCK", runtime.filePath(sockets.first()).toLocal8Bit());
    }
}

QRect popupGeometry()
{
    const QStringList windows =
        commandOutput(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"tessel"_s})
            .split(u'\n', Qt::SkipEmptyParts);
    static const QRegularExpression position(u"Position: (-?\\d+),(-?\\d+)"_s);
    static const QRegularExpression geometry(u"Geometry: (\\d+)x(\\d+)"_s);
    for (const QString& window : windows) {
        const QString info = commandOutput(u"xdotool"_s, {u"getwindowgeometry"_s, window});
        const auto p = position.match(info);
        const auto g = geometry.match(info);
        if (!p.hasMatch() || !g.hasMatch())
            continue;
        // 330x450, or larger in the same proportions where the desktop's font is larger.
        const int width = g.captured(1).toInt();
        const int height = g.captured(2).toInt();
        if (width >= 330 && std::abs(width * 450 - height * 330) <= 450 * 2)
            return QRect(p.captured(1).toInt(), p.captured(2).toInt(), width, height);
    }
    return {};
}

bool openPopupWith(const QString& shortcut, int presses)
{
    if (!run(u"xdotool"_s, {u"mousemove"_s, u"300"_s, u"200"_s}))
        return false;
    for (int press = 0; press < presses; ++press) {
        if (!run(u"xdotool"_s, {u"key"_s, shortcut}))
            return false;
        if (QTest::qWaitFor([] { return !popupGeometry().isEmpty(); }, 5000)) {
            QTest::qWait(400);
            return true;
        }
    }
    return false;
}

EntryDialog::~EntryDialog()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool EntryDialog::open(const QString& title)
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
    m_process.setProcessEnvironment(env);
    m_process.start(u"zenity"_s, {u"--entry"_s, u"--title"_s, title, u"--text"_s, title});
    const QString window = commandOutput(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s,
                                                        "^"_L1 + title + "$"_L1})
                               .section(u'\n', 0, 0);
    return !window.isEmpty() && run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window});
}

QString EntryDialog::confirm()
{
    run(u"xdotool"_s, {u"key"_s, u"Return"_s});
    if (!m_process.waitForFinished(10000)) {
        run(u"import"_s, {u"-window"_s, u"root"_s, u"/tmp/entry-dialog-failure.png"_s});
        return u"<zenity still running>"_s;
    }
    QString text = QString::fromUtf8(m_process.readAllStandardOutput());
    if (text.endsWith(u'\n')) // zenity's own line break
        text.chop(1);
    return text;
}

} // namespace tessel::test
