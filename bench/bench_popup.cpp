// Opening the popup with 1,000 entries in the history: from the shortcut's action to the first
// paint of the list. Run on an X display (bench/run starts one).
#include "BenchUtil.h"
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
#include "support/FakePasteServices.h"
#include "support/FakeWorkspace.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QListView>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
constexpr int kEntries = 1000;

// Notes the first paint of any list viewport inside a popup window.
class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (qobject_cast<PopupWindow*>(widget->window()) &&
                qobject_cast<QAbstractItemView*>(widget->parentWidget()))
                painted = true;
        }
        return false;
    }
};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    test::TempHome home;
    test::MemoryPasteboard pasteboard;
    test::FakeWorkspace workspace;
    SettingsStore settings(SettingsStore::defaultFilePath());
    settings.set(settings::maxHistoryItems, kEntries);
    LanguageManager language(settings);
    ClipboardManager manager(pasteboard, workspace, settings,
                             std::make_unique<ClipboardStore>(home.dataHome() + "/tessel"_L1));
    for (int i = 0; i < kEntries; ++i) {
        PasteboardItem item;
        item.setString(PasteboardType::plainText,
                       u"Copied text number %1, long enough to wrap onto a second line of the "
                       "card in the popup"_s.arg(i));
        pasteboard.writeExternal(item);
        manager.poll();
    }
    WindowController windowController(settings, workspace);
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys(settings, backend);
    test::FakeKeySynthesizer keys;
    test::CountingSoundPlayer sound;
    PasteSimulator paste(settings, keys, workspace, sound);
    PermissionManager permissions([] { return true; }, [](const QUrl&) { return true; });
    permissions.checkPermission();
    QCoreApplication::processEvents();
    EmojiStore emojis(settings);
    PopupActions actions(manager, pasteboard, emojis, windowController, paste);
    AppDelegate delegate(settings, language, manager, windowController, hotkeys, permissions, paste,
                         emojis, actions);

    // As at launch, before the user can press the shortcut.
    delegate.prepareFirstPopup();
    FirstPaint watcher;
    app.installEventFilter(&watcher);
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        watcher.painted = false;
        QElapsedTimer timer;
        timer.start();
        delegate.openPopup(PopupTab::clipboard);
        while (!watcher.painted && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        times.push_back(timer.nsecsElapsed() / 1e6);
        windowController.close(false);
        QCoreApplication::processEvents();
    }
    bench::report("first opening: action to first paint of the list", times.front(), "ms");
    std::sort(times.begin() + 1, times.end());
    bench::report("later openings (median of 20): action to first paint", times[11], "ms");
    bench::report("later openings (slowest of 20)", times.back(), "ms");
    return 0;
}
