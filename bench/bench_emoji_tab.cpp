// SPDX-License-Identifier: GPL-3.0-or-later
// The emoji tab on an X display (bench/run starts one): from the shortcut's action to the first
// paint of the grid, one search keystroke to the repainted grid for every prefix of a few common
// words, and the resident memory that scrolling the whole grid once adds (every glyph drawn).
#include "BenchUtil.h"
#include "FirstPaint.h"
#include "app/AppDelegate.h"
#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "localization/LanguageManager.h"
#include "paste/PasteSimulator.h"
#include "permissions/PermissionManager.h"
#include "pickers/EmojiStore.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/FakePasteServices.h"
#include "support/FakeWorkspace.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EmojiPickerView.h"
#include "ui/popup/PickerGridView.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

double residentMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

const QStringList words{u"heart"_s,   u"smile"_s, u"face"_s,    u"flag"_s,  u"cat"_s,
                        u"coração"_s, u"gato"_s,  u"corazón"_s, u"fuego"_s, u"party"_s,
                        u"hand"_s,    u"sun"_s,   u"food"_s,    u"rosto"_s, u"bandera"_s};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    test::TempHome home;
    test::MemoryPasteboard pasteboard;
    test::FakeWorkspace workspace;
    SettingsStore settings(SettingsStore::defaultFilePath());
    LanguageManager language(settings);
    ClipboardManager manager(pasteboard, workspace, settings,
                             std::make_unique<ClipboardStore>(home.dataHome() + "/tessel"_L1));
    WindowController windowController(settings, workspace, PopupStyle::overlayAtPointer);
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys(settings, backend);
    test::FakeKeySynthesizer keys;
    test::CountingSoundPlayer sound;
    PasteSimulator paste(settings, keys, workspace, sound);
    PermissionManager permissions([] { return true; }, [](const QUrl&) { return true; });
    permissions.checkPermission();
    QCoreApplication::processEvents();
    EmojiStore emojis(settings);
    for (int i = 0; i < EmojiStore::maxRecent; ++i)
        emojis.pushRecent(emojis.emojis().at(i * 97));
    PopupActions actions(manager, pasteboard, emojis, windowController, paste);
    test::FakeLoginItems loginItems;
    AppDelegate delegate(settings, language, manager, windowController, hotkeys, permissions, paste,
                         emojis, actions, loginItems);

    // As at launch, before the user can press the shortcut.
    delegate.prepareFirstPopup();
    bench::FirstPaint<PickerGridView> watcher;
    app.installEventFilter(&watcher);
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        watcher.painted = false;
        QElapsedTimer timer;
        timer.start();
        delegate.openPopup(PopupTab::emoji);
        while (!watcher.painted && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        times.push_back(timer.nsecsElapsed() / 1e6);
        windowController.close(false);
        QCoreApplication::processEvents();
    }
    bench::report("emoji tab, first opening: action to first paint of the grid", times.front(),
                  "ms");
    std::sort(times.begin() + 1, times.end());
    bench::report("emoji tab, later openings (median of 20)", times[11], "ms");
    bench::report("emoji tab, later openings (slowest of 20)", times.back(), "ms");

    // Keystrokes: each prefix typed into the search field, then the grid repainted.
    delegate.openPopup(PopupTab::emoji);
    QCoreApplication::processEvents();
    PopupWindow* popup = windowController.window();
    auto* content = popup ? qobject_cast<ContentView*>(popup->content()) : nullptr;
    auto* view = content ? qobject_cast<EmojiPickerView*>(content->tabContent()) : nullptr;
    SearchBar* search = content ? content->searchBar() : nullptr;
    if (!view || !search)
        return 1;
    QLineEdit* field = search->lineEdit();
    double worst = 0;
    double total = 0;
    int count = 0;
    QString worstQuery;
    for (const QString& word : words) {
        for (qsizetype length = 1; length <= std::min<qsizetype>(6, word.size()); ++length) {
            std::vector<double> runs;
            for (int run = 0; run < 7; ++run) {
                field->setText(word.first(length - 1));
                view->grid()->viewport()->repaint();
                QElapsedTimer timer;
                timer.start();
                field->insert(word.at(length - 1));
                view->grid()->viewport()->repaint();
                runs.push_back(timer.nsecsElapsed() / 1e6);
            }
            std::sort(runs.begin(), runs.end());
            const double median = runs[runs.size() / 2];
            total += median;
            ++count;
            if (median > worst) {
                worst = median;
                worstQuery = word.first(length);
            }
        }
    }
    std::printf("%d keystrokes (prefixes of %lld words), median of 7 runs each\n", count,
                static_cast<long long>(words.size()));
    bench::report("search keystroke to repainted grid, mean", total / count, "ms");
    bench::report(
        qPrintable(u"search keystroke to repainted grid, slowest (\"%1\")"_s.arg(worstQuery)),
        worst, "ms");

    // Memory: the whole catalogue scrolled through once, a page at a time.
    field->clear();
    QScrollBar* bar = view->grid()->verticalScrollBar();
    bar->setValue(0);
    view->grid()->viewport()->repaint();
    QCoreApplication::processEvents();
    const double before = residentMegabytes();
    while (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + bar->pageStep());
        view->grid()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    const double after = residentMegabytes();
    bench::report("resident memory, emoji tab open at the top", before, "MB");
    bench::report("resident memory, after scrolling the whole grid once", after, "MB");
    bench::report("added by the scroll (every glyph drawn and cached)", after - before, "MB");
    windowController.close(false);
    return 0;
}
