// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/DisplayLossGuard.h"
#include "app/HistoryLock.h"
#include "app/MemoryPressure.h"
#include "app/PopupActions.h"
#include "app/RemoteControl.h"
#include "app/SessionBusProbe.h"
#include "app/UnixSignalWatcher.h"
#include "clipboard/ClipboardKeeper.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/Pasteboard.h"
#include "core/AppPaths.h"
#include "core/ColourSchemeSource.h"
#include "core/Log.h"
#include "core/LoginItems.h"
#include "core/ProcessMemory.h"
#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "hotkey/DesktopKeybindings.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyBackend.h"
#include "hotkey/HotkeyManager.h"
#include "localization/LanguageManager.h"
#include "localization/QtTranslations.h"
#include "paste/KeySynthesizer.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "permissions/PermissionManager.h"
#include "pickers/EmojiStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "ui/style/Appearance.h"
#include "ui/style/ControlStyle.h"
#include "ui/style/IconProvider.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
// How long a command waits for a Tessel that another command is starting.
constexpr int kStartingInstanceWaitMs = 10000;

void setIdentity()
{
    QCoreApplication::setApplicationName(u"tessel"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
}

// What the command line asks for: an exit status (an option handled without a display, the lock
// file or the history), or a start, with the command for the new instance to carry out once it
// runs (a desktop entry's action chosen while Tessel was not running).
struct Launch {
    std::optional<int> exitStatus;
    std::optional<RemoteCommand> firstCommand;
};

// The commands that open a window start Tessel when none is running; quitting one that is not
// running has nothing to do.
bool startsTessel(RemoteCommand command)
{
    return command != RemoteCommand::quit;
}

Launch handleCommandLine(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    setIdentity();
    const CommandLine commandLine = CommandLine::parse(QCoreApplication::arguments());
    switch (commandLine.kind) {
    case CommandLine::Kind::start:
        return {};
    case CommandLine::Kind::help:
    case CommandLine::Kind::version:
        std::fputs(qPrintable(commandLine.text), stdout);
        return {0, std::nullopt};
    case CommandLine::Kind::error:
        std::fprintf(stderr, "tessel: %s Try: tessel --help\n", qPrintable(commandLine.text));
        return {1, std::nullopt};
    case CommandLine::Kind::remote:
        break;
    }
    bool noneRunning = false;
    if (const Result sent = RemoteControlService::send(commandLine.command, &noneRunning); !sent) {
        if (noneRunning && startsTessel(commandLine.command))
            return {std::nullopt, commandLine.command};
        std::fprintf(stderr, "%s\n", qPrintable(sent.message()));
        return {1, std::nullopt};
    }
    return {0, std::nullopt};
}

// Another Tessel took the lock first (two actions chosen at once): hands it the command once its
// remote control is up. Returns the exit status.
int forwardToStartingInstance(RemoteCommand command)
{
    const QDeadlineTimer deadline(kStartingInstanceWaitMs);
    Result sent = Result::success();
    do {
        bool noneRunning = false;
        sent = RemoteControlService::send(command, &noneRunning);
        if (sent || !noneRunning)
            break;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    if (!sent) {
        std::fprintf(stderr, "%s\n", qPrintable(sent.message()));
        return 1;
    }
    return 0;
}

// The Qt platform the application object will start: -platform on the command line, else
// QT_QPA_PLATFORM; empty for Qt's own choice.
QString qtPlatformOf(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        for (const QString& option : {u"-platform"_s, u"--platform"_s}) {
            if (argument == option && i + 1 < argc)
                return QString::fromLocal8Bit(argv[i + 1]);
            if (argument.startsWith(option + u'='))
                return argument.sliced(option.size() + 1);
        }
    }
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// What keeps the history from being written, when it can still be read: false (after one line
// saying why not to start) when the folder is a link or something else is in its place.
bool checkHistoryFolder(const QString& dataDir, bool& readOnly)
{
    const Result folder = AppPaths::ensurePrivateDir(dataDir);
    readOnly = !folder;
    if (folder)
        return true;
    const AppPaths::Kind kind = AppPaths::kindOf(dataDir);
    if (kind != AppPaths::Kind::missing && kind != AppPaths::Kind::folder) {
        std::fprintf(stderr, "Tessel cannot keep its history: %s; not starting.\n",
                     qPrintable(folder.message()));
        return false;
    }
    // A read-only home: the history that is there is still worth showing and pasting from.
    std::fprintf(stderr,
                 "Tessel cannot save its history (%s); it starts with the history it can read "
                 "and keeps new copies in memory only.\n",
                 qPrintable(folder.message()));
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    ProcessMemory::shareOneHeap();
    const Launch launch = handleCommandLine(argc, argv);
    if (const auto status = launch.exitStatus) {
        // Qt D-Bus's thread can still run while the global statics are destroyed and then warns
        // about types it can no longer construct; a command has nothing left to clean up.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(*status);
    }

    // Qt's tray icon, desktop theme and accessibility connect to the session bus on the main
    // thread, and libdbus waits without limit on a bus that lets clients in and then says nothing.
    if (const Result bus = SessionBusProbe::check(SessionBusProbe::socketPath()); !bus) {
        std::fprintf(stderr,
                     "Tessel: the session bus does not answer (%s); running without it, so the "
                     "tray icon may be missing and tessel --toggle cannot reach this Tessel.\n",
                     qPrintable(bus.message()));
        SessionBusProbe::disableForThisProcess();
    }

    // Qt's platform plugin is fixed when the application object starts: choose it first.
    const SessionEnvironment session = SessionEnvironment::current();
    SessionChoice::applyQtPlatform(session, BuiltPlatforms::thisBuild());
    if (const QString missing = session.unreachableDisplay(qtPlatformOf(argc, argv));
        !missing.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(missing));
        return 1;
    }
    QApplication app(argc, argv);
    setIdentity();
    // No application display name: Qt would append it to every window title ("Tessel Settings —
    // Tessel"), and Tessel's titles name the program already.
    QApplication::setDesktopFileName(QStringLiteral(TESSEL_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new ControlStyle);
    QApplication::setWindowIcon(IconProvider::applicationIcon());
    qSetMessagePattern(u"Tessel: %{if-category}[%{category}] %{endif}%{message}"_s);

    const QString dataDir = AppPaths::dataDir();
    bool readOnly = false;
    if (!checkHistoryFolder(dataDir, readOnly))
        return 1;
    // Two instances would overwrite each other's registry: the history has one owner. Where
    // nothing can be written, there is nothing to overwrite.
    HistoryLock lock(dataDir);
    if (!readOnly) {
        if (const Result locked = lock.acquire(); !locked) {
            if (launch.firstCommand && lock.heldByAnother()) {
                const int status = forwardToStartingInstance(*launch.firstCommand);
                std::fflush(stderr);
                std::_Exit(status);
            }
            std::fprintf(stderr, "%s\n", qPrintable(locked.message()));
            return 1;
        }
    }

    UnixSignalWatcher signals;
    QObject::connect(&signals, &UnixSignalWatcher::terminationRequested, &app,
                     &QCoreApplication::quit);

    SettingsStore settings(SettingsStore::defaultFilePath());
    LanguageManager language(settings);
    const QtTranslations qtTexts(language);
    // Before any window: menus, tooltips and drop-down lists take the theme from the start.
    const auto desktopScheme = PlatformFactory::createColourSchemeSource();
    const Appearance appearance(settings, desktopScheme.get());
    const auto platform = PlatformFactory::create(session, &settings);
    qCDebug(lcApp, "platform backend: %s, on Qt's %s", qPrintable(platform->name()),
            qPrintable(QGuiApplication::platformName()));
    const auto pasteboard = platform->createPasteboard();
    const auto workspace = platform->createWorkspace();
    ClipboardManager clipboard(*pasteboard, *workspace, settings,
                               std::make_unique<ClipboardStore>(dataDir));
    // What a program copied stays on the clipboard after it quits.
    ClipboardKeeper keeper(*pasteboard, clipboard);
    // Qt ends the process by itself when the display server goes: what is not saved yet goes
    // to disk first.
    const DisplayLossGuard displayLoss(
        [&clipboard] { clipboard.saveAndWait(DisplayLossGuard::saveTimeoutMs); });
    // Where Tessel can neither place the popup at the pointer nor take the keyboard by itself
    // (Wayland, and XWayland inside it), the popup is a window the compositor activates.
    WindowController windowController(settings, *workspace,
                                      platform->capabilities().popupAtPointer
                                          ? PopupStyle::overlayAtPointer
                                          : PopupStyle::floatingWindow);
    const auto hotkeyBackend = platform->createHotkeyBackend();
    HotkeyManager hotkeys(settings, *hotkeyBackend);
    const auto keys = platform->createKeySynthesizer();
    const auto sound = platform->createSoundPlayer();
    PasteSimulator paste(settings, *keys, *workspace, *sound);
    PermissionManager permissions(platform->createTrustProbe());
    permissions.setCapabilities(platform->capabilities());

    EmojiStore emojis(settings);
    PopupActions actions(clipboard, *pasteboard, emojis, windowController, paste);
    const auto loginItems = platform->createLoginItems();

    const auto keybindings = platform->createDesktopKeybindings();
    DesktopShortcuts desktopShortcuts(settings, hotkeys, keybindings.get(),
                                      QCoreApplication::applicationFilePath());

    AppDelegate delegate(settings, language, clipboard, windowController, hotkeys, permissions,
                         paste, emojis, actions, *loginItems);
    delegate.setDesktopShortcuts(&desktopShortcuts);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();

    // Claimed once everything is ready, so that the first call finds the popup working.
    auto carryOut = [&delegate](RemoteCommand command) {
        switch (command) {
        case RemoteCommand::toggle:
            delegate.openClipboard();
            break;
        case RemoteCommand::emoji:
            delegate.openEmoji();
            break;
        case RemoteCommand::preferences:
            delegate.openPreferences();
            break;
        case RemoteCommand::quit:
            delegate.quit();
            break;
        }
    };
    RemoteControlService remote(carryOut);
    if (const Result registered = remote.registerOnSessionBus(); !registered)
        qCInfo(lcApp, "tessel --toggle and the other commands cannot reach this Tessel: %s",
               qPrintable(registered.message()));
    // When memory is short, the decoded images go, and the heap's free pages with them.
    MemoryPressure pressure;
    QObject::connect(&pressure, &MemoryPressure::low, &clipboard, [&clipboard] {
        clipboard.images().clear();
        ProcessMemory::releaseFreeMemory();
    });
    pressure.watchSessionBus();
    // Started by a command (a desktop entry's action) while no Tessel ran: carry it out now.
    if (launch.firstCommand)
        QTimer::singleShot(0, &app,
                           [carryOut, command = *launch.firstCommand] { carryOut(command); });
    qCDebug(lcApp, "listening for copies and commands");
    return QApplication::exec();
}
