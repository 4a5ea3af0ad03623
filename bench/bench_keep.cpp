// SPDX-License-Identifier: GPL-3.0-or-later
// A copy outliving its owner, on a real X server (needs DISPLAY and xclip): Tessel's X11
// pasteboard, history and keeper run in this process; a third X client, on a thread of its own,
// asks for the clipboard over and over from the moment the owner quits until it gets the copy
// back. Text copies are made by tests/tools/clipboard_owner, which prints the moment it closes
// its connection; image copies by `xclip -quiet`, timed from the moment it is told to quit.
//
//   bench_keep    30 texts, then 10 PNG images already saved in the history (read back from
//                 their files), each from the owner's exit to the copy read again.
#include "BenchUtil.h"
#include "clipboard/ClipboardKeeper.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/Pasteboard.h"
#include "core/SettingsStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "support/FakeWorkspace.h"
#include "support/TestImages.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <cstring>
#include <thread>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::bench::nowMs;
using tessel::bench::spinUntil;

namespace {

// Converts the CLIPBOARD to `target` from a connection of its own until it gets `expected`,
// and returns the moment it did (CLOCK_MONOTONIC ms), or a negative value after 5 s.
double readUntilServed(const QByteArray& target, const QByteArray& expected)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const auto intern = [c](const QByteArray& name) {
        auto* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    };
    const xcb_atom_t clipboard = intern("CLIPBOARD"), wanted = intern(target),
                     property = intern("BENCH_KEEP");
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window,
                      xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const double start = nowMs();
    double servedAt = -1;
    while (servedAt < 0 && nowMs() - start < 5000) {
        xcb_convert_selection(c, window, clipboard, wanted, property, XCB_CURRENT_TIME);
        xcb_flush(c);
        xcb_atom_t answered = XCB_NONE;
        for (bool notified = false; !notified && nowMs() - start < 5000;) {
            xcb_generic_event_t* event = xcb_wait_for_event(c);
            if (!event)
                break;
            if ((event->response_type & 0x7f) == XCB_SELECTION_NOTIFY) {
                answered = reinterpret_cast<xcb_selection_notify_event_t*>(event)->property;
                notified = true;
            }
            std::free(event);
        }
        if (answered == XCB_NONE) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        auto* reply = xcb_get_property_reply(c,
                                             xcb_get_property(c, 1, window, property,
                                                              XCB_GET_PROPERTY_TYPE_ANY, 0,
                                                              uint32_t(expected.size() / 4 + 1)),
                                             nullptr);
        if (reply && xcb_get_property_value_length(reply) == expected.size() &&
            std::memcmp(xcb_get_property_value(reply), expected.constData(), expected.size()) == 0)
            servedAt = nowMs();
        std::free(reply);
    }
    xcb_disconnect(c);
    return servedAt;
}

struct Series {
    std::vector<double> values;
    void report(const char* what) const
    {
        if (values.empty()) {
            std::printf("%-62s no samples\n", what);
            return;
        }
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-62s median %7.2f ms, worst %7.2f ms (%zu)\n", what,
                    sorted[sorted.size() / 2], sorted.back(), sorted.size());
    }
};

// Runs `read` on a thread while this thread's event loop serves Tessel's side; returns its time.
double served(const QByteArray& target, const QByteArray& expected)
{
    std::atomic<double> at{0};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        at = readUntilServed(target, expected);
        done = true;
    });
    spinUntil([&] { return done.load(); }, 10000);
    reader.join();
    return at;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config"_L1).toUtf8());
    SettingsStore settings(SettingsStore::defaultFilePath());
    test::FakeWorkspace workspace;
    const auto pasteboard = PlatformFactory::create({})->createPasteboard();
    if (!pasteboard->canKeepContents()) {
        std::fprintf(stderr, "bench_keep: no X11 clipboard of Tessel's own here\n");
        return 1;
    }
    ClipboardManager manager(*pasteboard, workspace, settings,
                             std::make_unique<ClipboardStore>(home.path() + "/data"_L1));
    ClipboardKeeper keeper(*pasteboard, manager);
    manager.startMonitoring();

    Series texts;
    for (int i = 0; i < 30; ++i) {
        const QByteArray text = "kept copy " + QByteArray::number(i);
        QProcess owner;
        owner.start(QStringLiteral(CLIPBOARD_OWNER),
                    {u"--text"_s, QString::fromLatin1(text), u"--exit-after"_s, u"300"_s});
        spinUntil([&] { return owner.state() == QProcess::NotRunning; }, 5000);
        const QByteArray said = owner.readAllStandardOutput();
        const qsizetype at = said.indexOf("exiting ");
        const double servedAt = served("UTF8_STRING", text);
        if (at >= 0 && servedAt > 0)
            texts.values.push_back(servedAt - said.mid(at + 8).trimmed().toDouble());
        spinUntil([] { return false; }, 50);
    }
    texts.report("owner exit to text served again");

    Series images;
    for (int i = 0; i < 10; ++i) {
        const QByteArray png = test::encodedImage("png", QColor::fromHsv(i * 30, 200, 200), 700);
        QProcess owner;
        owner.start(u"xclip"_s, {u"-quiet"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s,
                                 u"image/png"_s, u"-i"_s});
        owner.write(png);
        owner.closeWriteChannel();
        // Recorded, then saved: the image is read back from its file.
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex());
        spinUntil(
            [&] {
                return !manager.entries().isEmpty() && manager.entries().first()->hash() == hash;
            },
            5000);
        spinUntil([&] { return !manager.entries().first()->loadedImageData(); }, 5000);
        const double quitAt = nowMs();
        owner.terminate();
        const double servedAt = served("image/png", png);
        owner.waitForFinished(1000);
        if (servedAt > 0)
            images.values.push_back(servedAt - quitAt);
    }
    images.report("owner told to quit to a 700x700 PNG served again");
    manager.stopMonitoring();
    manager.store().waitForPendingSaves(5000);
    return 0;
}
