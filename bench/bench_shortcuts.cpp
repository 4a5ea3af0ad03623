// SPDX-License-Identifier: GPL-3.0-or-later
// Latency of the X11 services, on a real X server (needs DISPLAY, a window manager, xdotool and
// zenity): a global shortcut press until its handler runs, and schedulePaste until the text is
// fetched by a GTK text field in another process.
#include "BenchUtil.h"
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Workspace.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::bench::spinUntil;

namespace {
class WatchedText final : public QMimeData {
public:
    mutable qint64 servedAt = -1;
    const QElapsedTimer* clock = nullptr;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (servedAt < 0)
            servedAt = clock->nsecsElapsed();
        return QMimeData::retrieveData(mimeType, type);
    }
};

class SilentSound final : public SoundPlayer {
public:
    void playPop() override {}
};

struct Stats {
    double median;
    double p95;
};

Stats stats(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values[(values.size() * 95) / 100]};
}

void benchShortcut(SettingsStore& settings)
{
    x11::X11HotkeyBackend backend;
    HotkeyManager manager(settings, backend);
    int presses = 0;
    manager.start([&presses](HotkeyManager::Action) { ++presses; });

    // Another client types the keys, as the keyboard would.
    xcb_connection_t* keyboard = xcb_connect(nullptr, nullptr);
    const auto fake = [keyboard](uint8_t type, uint8_t keycode) {
        xcb_test_fake_input(keyboard, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    };
    constexpr uint8_t superKey = 133, shiftKey = 50, vKey = 55; // evdev US keycodes
    std::vector<double> micros;
    for (int i = 0; i < 100; ++i) {
        const int before = presses;
        QElapsedTimer timer;
        timer.start();
        fake(XCB_KEY_PRESS, superKey);
        fake(XCB_KEY_PRESS, shiftKey);
        fake(XCB_KEY_PRESS, vKey);
        fake(XCB_KEY_RELEASE, vKey);
        fake(XCB_KEY_RELEASE, shiftKey);
        fake(XCB_KEY_RELEASE, superKey);
        xcb_flush(keyboard);
        if (!spinUntil([&] { return presses > before; })) {
            std::printf("shortcut press never reached the handler\n");
            break;
        }
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    xcb_disconnect(keyboard);
    if (micros.empty())
        return;
    const Stats s = stats(micros);
    bench::report("Super+Shift+V press to handler, median of 100", s.median / 1000.0, "ms");
    bench::report("Super+Shift+V press to handler, 95th percentile", s.p95 / 1000.0, "ms");
}

void benchPaste(SettingsStore& settings)
{
    x11::X11Workspace workspace;
    x11::X11KeySynthesizer keys;
    SilentSound sound;
    PasteSimulator paster(settings, keys, workspace, sound);
    std::vector<double> sent;
    std::vector<double> arrived;
    for (int i = 0; i < 10; ++i) {
        QProcess zenity;
        zenity.start(u"zenity"_s, {u"--entry"_s, u"--title"_s, u"Tessel bench target"_s});
        QProcess::execute(u"xdotool"_s,
                          {u"search"_s, u"--sync"_s, u"--name"_s, u"^Tessel bench target$"_s,
                           u"windowactivate"_s, u"--sync"_s});
        QElapsedTimer clock;
        auto* mime = new WatchedText;
        mime->clock = &clock;
        mime->setText(u"pasted by the benchmark"_s);
        QGuiApplication::clipboard()->setMimeData(mime);

        qint64 sentAt = -1;
        const auto connection = QObject::connect(&paster, &PasteSimulator::pasted,
                                                 [&] { sentAt = clock.nsecsElapsed(); });
        clock.start();
        paster.schedulePaste();
        // The field fetches the text on key-down; the chord counts as sent after its key-up.
        const bool ok = spinUntil([&] { return mime->servedAt >= 0 && sentAt >= 0; });
        QObject::disconnect(connection);
        zenity.kill();
        zenity.waitForFinished();
        if (!ok) {
            std::printf("the paste never reached the text field\n");
            return;
        }
        sent.push_back(double(sentAt) / 1e6);
        arrived.push_back(double(mime->servedAt) / 1e6);
    }
    bench::report("schedulePaste to chord released (120 ms delay + 20 ms hold), median",
                  stats(sent).median, "ms");
    bench::report("schedulePaste to text fetched by zenity's field, median of 10",
                  stats(arrived).median, "ms");
    bench::report("the same, slowest of 10", *std::max_element(arrived.begin(), arrived.end()),
                  "ms");
}
} // namespace

int main(int argc, char* argv[])
{
    // Global shortcuts and synthetic input exist only on X11, whatever bench/run defaults to.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(u"settings.json"_s));
    settings.set(settings::playSoundEffects, false);
    benchShortcut(settings);
    benchPaste(settings);
    return 0;
}
