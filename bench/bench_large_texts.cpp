// SPDX-License-Identifier: GPL-3.0-or-later
// Texts that web pages and logs put on the clipboard: one letter under 3,000,000 combining marks,
// and twenty texts of 9 MB each, in a history loaded from disk as after a restart. Measures the
// launch warm-up, the popup from the shortcut's action to its first paint, search keystrokes and
// the memory the process holds. Run on an X display (bench/run starts one).
#include "BenchUtil.h"
#include "FirstPaint.h"
#include "app/AppDelegate.h"
#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "core/AppPaths.h"
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
#include "ui/popup/HistorySearch.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

// Resident memory now and at its peak, in MB, from /proc/self/status.
std::pair<double, double> residentMB()
{
    QFile status(u"/proc/self/status"_s);
    double now = 0;
    double peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const double kb = line.mid(6).trimmed().split(' ').value(0).toDouble();
            if (line.startsWith("VmRSS:"))
                now = kb / 1024;
            else if (line.startsWith("VmHWM:"))
                peak = kb / 1024;
        }
    }
    return {now, peak};
}

// Words of a few letters separated by spaces, `bytes` long.
QString prose(qsizetype bytes, quint32 seed)
{
    QRandomGenerator random(seed);
    QString text;
    text.reserve(bytes);
    while (text.size() < bytes) {
        const int letters = 2 + int(random.bounded(8));
        for (int i = 0; i < letters; ++i)
            text.append(QChar(u'a' + random.bounded(26)));
        text.append(u' ');
    }
    return text;
}

// Every service of the popup over the registry of `texts` (newest first), loaded from disk.
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
    double loadMs = 0;

    explicit Popup(const QStringList& texts)
    {
        const QString dir = home.dataHome() + "/tessel"_L1;
        {
            QJsonArray records;
            for (const QString& text : texts)
                records.append(QJsonObject{{u"timestamp"_s, 1.7e9}, {u"text"_s, text}});
            const Result written =
                AppPaths::ensurePrivateDir(dir) &&
                        AppPaths::writePrivateFile(dir + "/registry.json"_L1,
                                                   QJsonDocument(records).toJson())
                    ? Result::success()
                    : Result::failure(u"cannot write the registry"_s);
            if (!written)
                std::fprintf(stderr, "bench_large_texts: %s\n", qPrintable(written.message()));
        }
        settings.set(settings::maxHistoryItems, 10000);
        QElapsedTimer load;
        load.start();
        manager = std::make_unique<ClipboardManager>(pasteboard, workspace, settings,
                                                     std::make_unique<ClipboardStore>(dir));
        loadMs = load.nsecsElapsed() / 1e6;
        permissions.checkPermission();
        QCoreApplication::processEvents();
        actions =
            std::make_unique<PopupActions>(*manager, pasteboard, emojis, windowController, paste);
        delegate =
            std::make_unique<AppDelegate>(settings, language, *manager, windowController, hotkeys,
                                          permissions, paste, emojis, *actions, loginItems);
    }

    // The launch warm-up, then the idle time in which the search forms are prepared: the
    // slowest turn of the event loop in that time is the longest the user could wait.
    std::pair<double, double> warmUp()
    {
        QElapsedTimer timer;
        timer.start();
        delegate->prepareFirstPopup();
        const double warm = timer.nsecsElapsed() / 1e6;
        double slowestTurn = 0;
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < 2000) {
            QElapsedTimer turn;
            turn.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            slowestTurn = std::max(slowestTurn, turn.nsecsElapsed() / 1e6);
        }
        return {warm, slowestTurn};
    }

    // From the shortcut's action to the list's first paint.
    double open()
    {
        bench::FirstPaint<QAbstractItemView> watcher;
        qApp->installEventFilter(&watcher);
        QElapsedTimer timer;
        timer.start();
        delegate->openPopup(PopupTab::clipboard);
        while (!watcher.painted && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = timer.nsecsElapsed() / 1e6;
        qApp->removeEventFilter(&watcher);
        return ms;
    }

    void close()
    {
        windowController.close(false);
        QCoreApplication::processEvents();
    }
};

void measureOpenings(const char* label, Popup& popup)
{
    const auto [warm, slowestTurn] = popup.warmUp();
    const QByteArray prefix = QByteArray(label) + ": ";
    bench::report(QByteArray(prefix + "registry load").constData(), popup.loadMs, "ms");
    bench::report(QByteArray(prefix + "launch warm-up").constData(), warm, "ms");
    bench::report(QByteArray(prefix + "slowest idle turn (search forms)").constData(), slowestTurn,
                  "ms");
    std::vector<double> times;
    for (int run = 0; run < 11; ++run) {
        times.push_back(popup.open());
        popup.close();
    }
    bench::report(QByteArray(prefix + "first opening, action to first paint").constData(),
                  times.front(), "ms");
    std::sort(times.begin() + 1, times.end());
    bench::report(QByteArray(prefix + "later openings, median of 10").constData(), times[5], "ms");
    bench::report(QByteArray(prefix + "later openings, slowest of 10").constData(), times.back(),
                  "ms");
}

void measureSearch(const char* label, Popup& popup)
{
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
    for (int run = 0; run < 5; ++run) {
        for (const QString& query : {u"zzzz"_s, u"ab cd"_s, u"the quick"_s, u"entry 4"_s}) {
            for (const QChar c : query) {
                QElapsedTimer timer;
                timer.start();
                field->insert(QString(c));
                list->viewport()->repaint();
                all.push_back(timer.nsecsElapsed() / 1e6);
            }
            field->clear();
            QCoreApplication::processEvents();
        }
    }
    std::sort(all.begin(), all.end());
    const QByteArray prefix = QByteArray(label) + ": ";
    bench::report(QByteArray(prefix + "search keystroke to repainted list, median").constData(),
                  all[all.size() / 2], "ms");
    bench::report(QByteArray(prefix + "search keystroke to repainted list, slowest").constData(),
                  all.back(), "ms");
    popup.close();
}

void reportMemory(const char* label, const char* when)
{
    const auto [now, peak] = residentMB();
    bench::report(QByteArray(QByteArray(label) + ": resident, " + when).constData(), now, "MB");
    bench::report(QByteArray(QByteArray(label) + ": resident peak so far").constData(), peak, "MB");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    {
        QStringList texts;
        for (int i = 0; i < 99; ++i)
            texts.append(u"Copied text number %1, a line of an ordinary length"_s.arg(i));
        texts.insert(50, u"Z"_s + QString(3'000'000, QChar(0x0301)));
        Popup popup(texts);
        measureOpenings("3,000,000 marks", popup);
    }
    {
        const char* label = "20 texts of 9 MB";
        QStringList texts;
        for (int i = 0; i < 80; ++i)
            texts.append(u"Ordinary entry %1"_s.arg(i));
        for (int i = 0; i < 20; ++i)
            texts.insert(i * 4, prose(9'000'000, quint32(i)));
        Popup popup(texts);
        texts.clear();
        reportMemory(label, "after loading");
        measureOpenings(label, popup);
        reportMemory(label, "after the openings");
        measureSearch(label, popup);
        reportMemory(label, "after searching");
    }
    return 0;
}
