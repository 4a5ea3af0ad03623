// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the popup with 100, 1,000 and 10,000 entries in the history: from the shortcut's action
// to the first paint of the list; then one search keystroke at 10,000, from the character typed to
// the list repainted. Run on an X display (bench/run starts one).
#include "BenchUtil.h"
#include "FirstPaint.h"
#include "app/AppDelegate.h"
#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
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
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

// A history of `texts` texts, with `images` distinct 800x500 pictures spread evenly through it.
void fillHistory(test::MemoryPasteboard& pasteboard, ClipboardManager& manager, int texts,
                 int images)
{
    const int every = images > 0 ? texts / images : texts + 1;
    for (int i = 0; i < texts; ++i) {
        PasteboardItem item;
        item.setString(PasteboardType::plainText,
                       u"Copied text number %1, long enough to wrap onto a second line of the "
                       "card in the popup"_s.arg(i));
        pasteboard.writeExternal(item);
        manager.poll();
        if (i % every == every - 1 && i / every < images) {
            QImage picture(800, 500, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv((i / every) * 7 % 360, 200, 200));
            QByteArray png;
            QBuffer buffer(&png);
            picture.save(&buffer, "PNG");
            PasteboardItem image;
            image.setData(PasteboardType::png, png);
            pasteboard.writeExternal(image);
            manager.poll();
        }
    }
}

// Every service of the popup, over a history of `texts` texts and `images` images.
struct Popup {
    test::TempHome home;
    test::MemoryPasteboard pasteboard;
    test::FakeWorkspace workspace;
    SettingsStore settings{SettingsStore::defaultFilePath()};
    LanguageManager language{settings};
    std::unique_ptr<ClipboardManager> manager;
    WindowController windowController{settings, workspace, PopupStyle::overlayAtPointer};
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys{settings, backend};
    test::FakeKeySynthesizer keys;
    test::CountingSoundPlayer sound;
    PasteSimulator paste{settings, keys, workspace, sound};
    PermissionManager permissions{[] { return true; }, [](const QUrl&) { return true; }};
    EmojiStore emojis{settings};
    std::unique_ptr<PopupActions> actions;
    std::unique_ptr<AppDelegate> delegate;
    test::FakeLoginItems loginItems;

    Popup(int texts, int images)
    {
        settings.set(settings::maxHistoryItems, texts + images);
        manager = std::make_unique<ClipboardManager>(
            pasteboard, workspace, settings,
            std::make_unique<ClipboardStore>(home.dataHome() + "/tessel"_L1));
        fillHistory(pasteboard, *manager, texts, images);
        permissions.checkPermission();
        QCoreApplication::processEvents();
        actions =
            std::make_unique<PopupActions>(*manager, pasteboard, emojis, windowController, paste);
        delegate =
            std::make_unique<AppDelegate>(settings, language, *manager, windowController, hotkeys,
                                          permissions, paste, emojis, *actions, loginItems);
    }
};

// Action to first paint of the list: the first opening after the launch warm-up, then the median
// and the slowest of 20 more.
void measureOpening(int texts, int images)
{
    Popup popup(texts, images);
    // As at launch, before the user can press the shortcut.
    popup.delegate->prepareFirstPopup();
    bench::FirstPaint<QAbstractItemView> watcher;
    qApp->installEventFilter(&watcher);
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        watcher.painted = false;
        QElapsedTimer timer;
        timer.start();
        popup.delegate->openPopup(PopupTab::clipboard);
        while (!watcher.painted && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        times.push_back(timer.nsecsElapsed() / 1e6);
        popup.windowController.close(false);
        QCoreApplication::processEvents();
    }
    qApp->removeEventFilter(&watcher);
    const QByteArray label =
        QByteArray::number(texts) + " texts, " + QByteArray::number(images) + " images: ";
    bench::report(QByteArray(label + "first opening, action to first paint").constData(),
                  times.front(), "ms");
    std::sort(times.begin() + 1, times.end());
    bench::report(QByteArray(label + "later openings, median of 20").constData(), times[11], "ms");
    bench::report(QByteArray(label + "later openings, slowest of 20").constData(), times.back(),
                  "ms");
}

// One character typed into the search field until the narrowed list has repainted, for every
// prefix of a few queries, median of 7 runs each.
void measureSearch(int texts, int images)
{
    Popup popup(texts, images);
    popup.delegate->prepareFirstPopup();
    // As after launch: the idle time before the first press, when the search forms are prepared.
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    popup.delegate->openPopup(PopupTab::clipboard);
    QCoreApplication::processEvents();
    auto* content = qobject_cast<ContentView*>(popup.windowController.window()->content());
    SearchBar* bar = content ? content->searchBar() : nullptr;
    QWidget* tab = content ? content->tabContent() : nullptr;
    auto* list = tab ? tab->findChild<QListView*>() : nullptr;
    if (!bar || !list)
        return;
    QLineEdit* field = bar->lineEdit();
    std::vector<double> all;
    double slowest = 0;
    const QStringList queries{u"number 4321"_s, u"card"_s, u"copied"_s, u"zzz"_s, u"wrap onto"_s};
    for (int run = 0; run < 7; ++run) {
        for (const QString& query : queries) {
            for (const QChar c : query) {
                QElapsedTimer timer;
                timer.start();
                field->insert(QString(c));
                list->viewport()->repaint();
                const double ms = timer.nsecsElapsed() / 1e6;
                all.push_back(ms);
                slowest = std::max(slowest, ms);
            }
            field->clear();
            QCoreApplication::processEvents();
        }
    }
    std::sort(all.begin(), all.end());
    bench::report("search keystroke to repainted list, median", all[all.size() / 2], "ms");
    bench::report("search keystroke to repainted list, 95th percentile", all[all.size() * 95 / 100],
                  "ms");
    bench::report("search keystroke to repainted list, slowest", slowest, "ms");
    popup.windowController.close(false);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    measureOpening(100, 0);
    measureOpening(1000, 0);
    measureOpening(10000, 50);
    measureSearch(10000, 50);
    return 0;
}
