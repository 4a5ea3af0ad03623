#include "app/AppDelegate.h"
#include "app/PopupActions.h"
#include "app/UnixSignalWatcher.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/Pasteboard.h"
#include "core/AppPaths.h"
#include "core/LoginItems.h"
#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "hotkey/HotkeyBackend.h"
#include "hotkey/HotkeyManager.h"
#include "localization/LanguageManager.h"
#include "paste/KeySynthesizer.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "permissions/PermissionManager.h"
#include "pickers/EmojiStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "ui/style/IconProvider.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QLockFile>
#include <QStyleFactory>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tessel;

int main(int argc, char* argv[])
{
    // Qt's platform plugin is fixed when the application object starts: choose it first.
    const SessionEnvironment session = SessionEnvironment::current();
    SessionChoice::applyQtPlatform(session, BuiltPlatforms::thisBuild());
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"tessel"_s);
    QApplication::setApplicationDisplayName(u"Tessel"_s);
    QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QApplication::setDesktopFileName(u"tessel"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
    QApplication::setWindowIcon(IconProvider::applicationIcon());
    qSetMessagePattern(u"Tessel: %{if-category}[%{category}] %{endif}%{message}"_s);

    // Two instances would overwrite each other's registry: the history has one owner.
    const QString dataDir = AppPaths::dataDir();
    if (const Result folder = AppPaths::ensurePrivateDir(dataDir); !folder) {
        std::fprintf(stderr, "Tessel cannot keep its history: %s; not starting.\n",
                     qPrintable(folder.message()));
        return 1;
    }
    QLockFile lock(dataDir + "/tessel.lock"_L1);
    if (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError) {
            std::fprintf(stderr, "Tessel cannot create its lock file in %s (%s); not starting.\n",
                         qPrintable(dataDir),
                         lock.error() == QLockFile::PermissionError ? "permission denied"
                                                                    : "unknown error");
            return 1;
        }
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
    LanguageManager language(settings);
    const auto platform = PlatformFactory::create(session);
    const auto pasteboard = platform->createPasteboard();
    const auto workspace = platform->createWorkspace();
    ClipboardManager clipboard(*pasteboard, *workspace, settings,
                               std::make_unique<ClipboardStore>(dataDir));
    WindowController windowController(settings, *workspace);
    const auto hotkeyBackend = platform->createHotkeyBackend();
    HotkeyManager hotkeys(settings, *hotkeyBackend);
    const auto keys = platform->createKeySynthesizer();
    const auto sound = platform->createSoundPlayer();
    PasteSimulator paste(settings, *keys, *workspace, *sound);
    PermissionManager permissions(platform->createTrustProbe());

    EmojiStore emojis(settings);
    PopupActions actions(clipboard, *pasteboard, emojis, windowController, paste);
    const auto loginItems = platform->createLoginItems();

    AppDelegate delegate(settings, language, clipboard, windowController, hotkeys, permissions,
                         paste, emojis, actions, *loginItems);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
