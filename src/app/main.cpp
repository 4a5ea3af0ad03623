#include "app/UnixSignalWatcher.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/Pasteboard.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QLockFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
// How long quitting may wait for the last save to reach the disk.
constexpr int kFinalSaveTimeoutMs = 3000;
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"tessel"_s);
    QApplication::setApplicationDisplayName(u"Tessel"_s);
    QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    // Two instances would overwrite each other's registry: the history has one owner.
    const QString dataDir = AppPaths::dataDir();
    AppPaths::ensurePrivateDir(dataDir);
    QLockFile lock(dataDir + "/tessel.lock"_L1);
    if (!lock.tryLock(0)) {
        qint64 pid = 0;
        QString host;
        QString appName;
        lock.getLockInfo(&pid, &host, &appName);
        std::fprintf(stderr, "Tessel is already running (process %lld); not starting another.\n",
                     static_cast<long long>(pid));
        return 1;
    }

    UnixSignalWatcher signals;
    QObject::connect(&signals, &UnixSignalWatcher::terminationRequested, &app,
                     &QCoreApplication::quit);

    SettingsStore settings(SettingsStore::defaultFilePath());
    const auto pasteboard = PlatformServices::createPasteboard();
    const auto workspace = PlatformServices::createWorkspace();
    ClipboardManager manager(*pasteboard, *workspace, settings,
                             std::make_unique<ClipboardStore>(dataDir));
    manager.startMonitoring();

    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&manager] {
        manager.stopMonitoring();
        manager.store().waitForPendingSaves(kFinalSaveTimeoutMs);
    });
    return QApplication::exec();
}
