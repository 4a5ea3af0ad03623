// SPDX-License-Identifier: GPL-3.0-or-later
// Clipboard capture on a Wayland compositor with data-control (run inside the headless sway of
// bench/measure_wayland). Each copy is made by tests/tools/wayland_clipboard_owner, a separate
// client that prints the moment its selection was set; Tessel's data-control pasteboard and
// history run in this process and timestamp `entriesChanged`.
#include "BenchUtil.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "core/SettingsStore.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandPasteboard.h"
#include "support/FakeWorkspace.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::bench::nowMs;
using tessel::bench::spinUntil;

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config"_L1).toUtf8());
    SettingsStore settings(SettingsStore::defaultFilePath());
    settings.set(settings::maxHistoryItems, 1000);
    test::FakeWorkspace workspace;
    const auto pasteboard =
        wayland::WaylandPasteboard::create([](std::chrono::milliseconds timeout) {
            return wayland::WaylandConnection::open(timeout);
        });
    if (!pasteboard) {
        std::fprintf(stderr, "bench_wayland_capture: no Wayland compositor with data-control\n");
        return 1;
    }
    ClipboardManager manager(*pasteboard, workspace, settings,
                             std::make_unique<ClipboardStore>(home.path() + "/data"_L1));
    std::optional<double> recordedAt;
    QObject::connect(&manager, &ClipboardManager::entriesChanged, [&] { recordedAt = nowMs(); });
    manager.startMonitoring();

    std::vector<double> samples;
    std::unique_ptr<QProcess> previous;
    for (int i = 0; i < 50; ++i) {
        auto owner = std::make_unique<QProcess>();
        owner->start(
            QStringLiteral(WAYLAND_CLIPBOARD_OWNER),
            {u"text/plain;charset=utf-8"_s, u"latency copy %1 at %2"_s.arg(i).arg(nowMs())});
        QByteArray output;
        std::optional<double> setAt;
        spinUntil(
            [&] {
                output += owner->readAllStandardOutput();
                if (!setAt && output.startsWith("ready "))
                    setAt = output.mid(6).trimmed().toDouble();
                return setAt && recordedAt && *recordedAt > *setAt;
            },
            5000);
        if (setAt && recordedAt && *recordedAt > *setAt)
            samples.push_back(*recordedAt - *setAt);
        // The previous owner ends when this one takes over.
        if (previous)
            spinUntil([&] { return previous->state() == QProcess::NotRunning; }, 2000);
        previous = std::move(owner);
        QElapsedTimer pause;
        pause.start();
        spinUntil([&] { return pause.hasExpired(100); }, 200);
    }
    previous->kill();
    previous->waitForFinished();
    std::sort(samples.begin(), samples.end());
    if (samples.empty()) {
        std::printf("copy to entry recorded in the history: no samples\n");
        return 1;
    }
    std::printf("%-50s median %6.2f ms, worst %6.2f ms (%zu of 50 copies)\n",
                "copy to entry recorded in the history", samples[samples.size() / 2],
                samples.back(), samples.size());
    manager.stopMonitoring();
    manager.store().waitForPendingSaves(5000);
    return 0;
}
