// SPDX-License-Identifier: GPL-3.0-or-later
// Clipboard capture on a real X server (needs DISPLAY and xclip). Copies are made by
// tests/tools/clipboard_owner, which prints the moment it owns the clipboard and the moment it
// has served the text to whoever asked.
//
//   bench_capture             Tessel's reader and history in this process: 50 copies, from the
//                             copy to the text read and to the entry recorded; then 500 distinct
//                             copies by an xclip script in 10 s, counting those recorded.
//   bench_capture --external  Another clipboard manager already watching the display (CopyQ):
//                             the same 50 copies, from the copy to the text read by it; then
//                             the same xclip script.
#include "BenchUtil.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/Pasteboard.h"
#include "core/SettingsStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "support/FakeWorkspace.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::bench::nowMs;
using tessel::bench::spinUntil;

namespace {

// The time on a line "<prefix> <ms>" of the owner's output, once it has printed it.
std::optional<double> stamp(const QByteArray& output, const QByteArray& prefix)
{
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith(QByteArray(prefix + ' ')))
            return line.mid(prefix.size() + 1).toDouble();
    }
    return std::nullopt;
}

struct Series {
    std::vector<double> values;
    void report(const char* what) const
    {
        if (values.empty()) {
            std::printf("%-58s %s\n", what, "no samples");
            return;
        }
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-58s median %8.2f ms, worst %8.2f ms (%zu copies)\n", what,
                    sorted[sorted.size() / 2], sorted.back(), sorted.size());
    }
};

// 50 copies; `recordedAt` gives the time the last copy was recorded, when this process can tell.
void copyLatency(const std::function<std::optional<double>()>& recordedAt, bool waitForRecord)
{
    Series served;
    Series recorded;
    std::unique_ptr<QProcess> previous;
    for (int i = 0; i < 50; ++i) {
        auto owner = std::make_unique<QProcess>();
        owner->start(QStringLiteral(CLIPBOARD_OWNER),
                     {u"--text"_s, u"latency copy %1 at %2"_s.arg(i).arg(nowMs())});
        QByteArray output;
        const auto ownedAt = [&] { return stamp(output, "owned"); };
        const auto servedAt = [&] { return stamp(output, "served text"); };
        spinUntil(
            [&] {
                output += owner->readAllStandardOutput();
                return servedAt() &&
                       (!waitForRecord || (recordedAt() && *recordedAt() > *ownedAt()));
            },
            5000);
        if (ownedAt() && servedAt())
            served.values.push_back(*servedAt() - *ownedAt());
        if (waitForRecord && ownedAt() && recordedAt() && *recordedAt() > *ownedAt())
            recorded.values.push_back(*recordedAt() - *ownedAt());
        previous = std::move(owner);
        QElapsedTimer pause;
        pause.start();
        spinUntil([&] { return pause.hasExpired(100); }, 200);
    }
    served.report("copy to text read by the clipboard manager");
    if (waitForRecord)
        recorded.report("copy to entry recorded in the history");
    previous->kill();
    previous->waitForFinished();
}

// 500 distinct copies by a shell script with xclip, paced to one every 20 ms. Returns the
// script's wall time in seconds.
double copyBurst(const QString& tag)
{
    const QString script =
        "start=${EPOCHREALTIME/./}; for i in $(seq 1 500); do "
        "printf 'burst "_L1 +
        tag +
        " %d' $i | xclip -selection clipboard -i >/dev/null 2>&1; "
        "due=$((start + i * 20000)); now=${EPOCHREALTIME/./}; "
        "if ((due > now)); then sleep $(printf '0.%06d' $((due - now))); fi; done"_L1;
    QProcess shell;
    QElapsedTimer wall;
    wall.start();
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(u"bash"_s, {u"-c"_s, script});
    spinUntil([&] { return shell.state() == QProcess::NotRunning; }, 120000);
    const double seconds = double(wall.elapsed()) / 1000.0;
    QElapsedTimer settle;
    settle.start();
    spinUntil([&] { return settle.hasExpired(2000); }, 3000);
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const bool external = app.arguments().contains(u"--external"_s);
    const QString tag = QString::number(qint64(nowMs()));

    if (external) {
        copyLatency([] { return std::nullopt; }, false);
        const double seconds = copyBurst(tag);
        std::printf("%-58s %8.2f s (count the entries \"burst %s ...\" in the other manager)\n",
                    "500 distinct copies by the xclip script", seconds, qPrintable(tag));
        return 0;
    }

    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config"_L1).toUtf8());
    SettingsStore settings(SettingsStore::defaultFilePath());
    settings.set(settings::maxHistoryItems, 1000);
    test::FakeWorkspace workspace;
    const auto pasteboard = PlatformFactory::create({})->createPasteboard();
    if (!pasteboard->reportsChanges()) {
        std::fprintf(stderr, "bench_capture: no X11 clipboard reader here\n");
        return 1;
    }
    ClipboardManager manager(*pasteboard, workspace, settings,
                             std::make_unique<ClipboardStore>(home.path() + "/data"_L1));
    std::optional<double> lastRecorded;
    QObject::connect(&manager, &ClipboardManager::entriesChanged, [&] { lastRecorded = nowMs(); });
    manager.startMonitoring();

    copyLatency([&] { return lastRecorded; }, true);

    const double seconds = copyBurst(tag);
    QSet<QString> burst;
    for (const auto& entry : manager.entries()) {
        const QString text = entry->textContent().value_or(QString());
        if (text.startsWith("burst "_L1 + tag))
            burst.insert(text);
    }
    std::printf("%-58s %d of 500 in %.2f s\n", "500 distinct copies by the xclip script, recorded",
                int(burst.size()), seconds);
    manager.stopMonitoring();
    manager.store().waitForPendingSaves(5000);
    return 0;
}
