// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"

#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "core/Log.h"
#include "core/ProcessMemory.h"
#include "core/SettingsStore.h"
#include "core/Workspace.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/SavedShortcut.h"
#include "localization/LanguageManager.h"
#include "permissions/PermissionManager.h"
#include "permissions/PlatformNotice.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/HistorySearch.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/style/IconProvider.h"
#include "ui/style/UiFonts.h"
#include "window/WindowController.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// How long quitting may wait for the last save to reach the disk.
constexpr int kFinalSaveTimeoutMs = 3000;
// After a close, once the popup's widgets are gone (they are deleted from the event loop).
constexpr int kReleaseAfterCloseMs = 500;

} // namespace

AppDelegate::AppDelegate(SettingsStore& settings, LanguageManager& language,
                         ClipboardManager& clipboard, WindowController& windowController,
                         HotkeyManager& hotkeys, PermissionManager& permissions,
                         PasteSimulator& paste, EmojiStore& emojis, PopupActions& actions,
                         LoginItems& loginItems, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_language(language)
    , m_clipboard(clipboard)
    , m_windowController(windowController)
    , m_hotkeys(hotkeys)
    , m_permissions(permissions)
    , m_paste(paste)
    , m_emojis(emojis)
    , m_actions(actions)
    , m_loginItems(loginItems)
{
    connect(&m_settings, &SettingsStore::changed, this, &AppDelegate::settingChanged);
    connect(&m_windowController, &WindowController::closed, this, &AppDelegate::releasePopupMemory);
}

AppDelegate::~AppDelegate()
{
    delete m_statusMenu.data();
    delete m_preferencesWindow.data();
    delete m_aboutWindow.data();
}

void AppDelegate::applicationDidFinishLaunching()
{
    setupStatusItem();
    setupHotkeys();
    if (m_desktopShortcuts)
        m_desktopShortcuts->start();
    m_clipboard.startMonitoring();
    QTimer::singleShot(0, this, &AppDelegate::prepareFirstPopup);
    if (!m_permissions.checkPermission()) {
        m_permissions.startMonitoring();
        QTimer::singleShot(onboardingDelayMs, this, [this] { openPopup(PopupTab::clipboard); });
    } else if (PlatformNotice(m_settings, m_permissions).isPending()) {
        // The popup explains once what this desktop holds back, unless the user opened it first.
        QTimer::singleShot(onboardingDelayMs, this, [this] {
            if (!m_windowController.isOpen())
                openPopup(PopupTab::clipboard);
        });
    }
}

void AppDelegate::applicationWillTerminate()
{
    m_windowController.close(false);
    // A copy made since the last tick (just before logging out) is still recorded; clipboard
    // notifications already received are handled first so the change counter has seen them.
    if (m_clipboard.isMonitoring()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clipboard.poll();
    }
    m_clipboard.stopMonitoring();
    m_clipboard.store().waitForPendingSaves(kFinalSaveTimeoutMs);
}

void AppDelegate::setupStatusItem()
{
    m_statusItem = new QSystemTrayIcon(IconProvider::trayIcon(), this);
    connect(m_statusItem, &QSystemTrayIcon::activated, this, &AppDelegate::statusItemClicked);
    rebuildStatusItemMenu();
    updateStatusToolTip();
    connect(&m_language, &LanguageManager::languageChanged, this,
            &AppDelegate::rebuildStatusItemMenu, Qt::QueuedConnection);
    connect(&m_language, &LanguageManager::languageChanged, this,
            &AppDelegate::updateStatusToolTip);
    connect(&m_clipboard.store(), &ClipboardStore::saveProblemChanged, this,
            &AppDelegate::updateStatusToolTip);
    m_statusItem->show();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // The icon docks by itself if a tray appears later; until then the shortcuts, or the
        // command bound in the desktop's keyboard settings, open Tessel.
        if (m_permissions.capabilities().globalShortcuts) {
            qCInfo(lcApp,
                   "no system tray on this desktop; open Tessel with its shortcuts (history: %s, "
                   "emoji: %s) or the command: tessel --toggle",
                   qPrintable(m_hotkeys.clipboardShortcut().text()),
                   qPrintable(m_hotkeys.emojiShortcut().text()));
        } else {
            qCInfo(lcApp, "no system tray on this desktop; open Tessel with the command "
                          "tessel --toggle, bound to a shortcut in the desktop's keyboard "
                          "settings");
        }
    } else if (!m_permissions.capabilities().globalShortcuts) {
        qCInfo(lcApp, "Tessel's shortcuts do not reach every application on this desktop; bind "
                      "the commands tessel --toggle and tessel --emoji in its keyboard settings");
    }
}

void AppDelegate::rebuildStatusItemMenu()
{
    auto* menu = new QMenu;
    //% "Open history"
    menu->addAction(m_language.string("menu_open_clipboard"), this, &AppDelegate::openClipboard);
    //% "Open emojis"
    menu->addAction(m_language.string("menu_open_emojis"), this, &AppDelegate::openEmoji);
    menu->addSeparator();
    menu->addAction(m_language.string("menu_preferences"), this, &AppDelegate::openPreferences);
    menu->addSeparator();
    //% "Quit Tessel"
    QAction* quitAction = menu->addAction(m_language.string("menu_quit"), this, &AppDelegate::quit);
    quitAction->setShortcut(QKeySequence(u"Ctrl+Q"_s));
    m_statusItem->setContextMenu(menu);
    delete m_statusMenu.data();
    m_statusMenu = menu;
}

void AppDelegate::updateStatusToolTip()
{
    const Result& saved = m_clipboard.store().lastSave();
    if (saved) {
        m_statusItem->setToolTip(m_language.string("app_title"));
        return;
    }
    //% "History not saved: it is kept in memory and saved as soon as it can be"
    m_statusItem->setToolTip(m_language.string("history_not_saved") + u'\n' + saved.message());
}

void AppDelegate::statusItemClicked(QSystemTrayIcon::ActivationReason reason)
{
    // The right button shows the context menu by itself; a left click opens the history.
    if (reason == QSystemTrayIcon::Trigger)
        openPopup(PopupTab::clipboard);
}

void AppDelegate::setupHotkeys()
{
    nameDesktopActions();
    connect(&m_language, &LanguageManager::languageChanged, this, &AppDelegate::nameDesktopActions);
    QPointer<AppDelegate> self(this);
    m_hotkeys.start([self](HotkeyManager::Action action) {
        if (self)
            self->openPopup(action == HotkeyManager::Action::emoji ? PopupTab::emoji
                                                                   : PopupTab::clipboard);
    });
}

void AppDelegate::nameDesktopActions()
{
    //% "Open the clipboard history"
    const QString clipboard = m_language.string("desktop_action_clipboard");
    //% "Open the emoji picker"
    const QString emoji = m_language.string("desktop_action_emoji");
    m_hotkeys.setActionNames(clipboard, emoji);
    if (m_desktopShortcuts) {
        //% "Tessel: clipboard history"
        const QString clipboardBinding = m_language.string("desktop_binding_clipboard");
        //% "Tessel: emoji"
        const QString emojiBinding = m_language.string("desktop_binding_emoji");
        m_desktopShortcuts->setNames(clipboardBinding, emojiBinding);
    }
}

void AppDelegate::openPopup(PopupTab tab)
{
    if (m_windowController.isOpen() && m_windowController.activeTab() == tab) {
        m_windowController.close(true);
        return;
    }
    for (QWidget* window : {m_preferencesWindow.data(), m_aboutWindow.data()}) {
        if (window)
            window->hide();
    }
    auto* content = new ContentView(popupContext(), tab);
    m_actions.connectTo(*content);
    m_windowController.open(tab, content);
}

PopupContext AppDelegate::popupContext()
{
    return {m_clipboard,       m_windowController,
            m_language,        m_permissions,
            m_settings,        m_paste,
            m_emojis,          [this] { openPreferences(); },
            m_desktopShortcuts};
}

void AppDelegate::prepareFirstPopup()
{
    // The emoji tab too: loading the colour emoji font and drawing its first glyphs costs more
    // than the rest of an opening, and the drawn glyphs stay cached for the real one.
    for (PopupTab tab : {PopupTab::clipboard, PopupTab::emoji}) {
        ContentView view(popupContext(), tab);
        m_windowController.applyTheme(&view);
        view.grab();
    }
    // The grab asked for the first rows' thumbnails; a closed popup holds none.
    m_clipboard.images().clear();
    // The launch's parse and warm-up leave freed memory spread through the heap. The images'
    // sizes are read after that, so that the first opening lays image rows out at their height.
    HistorySearch::prepareInIdleTime(m_clipboard.entries(), this, [this] {
        ProcessMemory::releaseFreeMemory();
        m_clipboard.images().learnSizes(m_clipboard.entries());
    });
}

void AppDelegate::releasePopupMemory()
{
    // What a closed popup held goes back: its thumbnails at once, and the pages its widgets
    // freed once they are deleted.
    m_clipboard.images().clear();
    QTimer::singleShot(kReleaseAfterCloseMs, this, [this] {
        if (!m_windowController.isOpen())
            ProcessMemory::releaseFreeMemory();
    });
}

void AppDelegate::placeWindow(QWidget* window)
{
    window->setWindowIcon(IconProvider::applicationIcon());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void AppDelegate::present(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::openPreferences()
{
    m_windowController.close(false);
    // Created on first use and kept; a plain pointer, as the release build's null-dereference
    // check does not see through QPointer.
    QWidget* window = m_preferencesWindow.data();
    if (!window) {
        auto* preferences = new PreferencesView(
            {m_settings, m_language, m_hotkeys, m_permissions, m_loginItems,
             [this] { openAboutWindow(); }, m_desktopShortcuts,
             [this] { return m_clipboard.workspace().runningApplicationIds(); }});
        preferences->fitToContent();
        placeWindow(preferences);
        window = preferences;
        m_preferencesWindow = window;
    }
    present(window);
}

void AppDelegate::openAboutWindow()
{
    m_windowController.close(false);
    QWidget* window = m_aboutWindow.data();
    if (!window) {
        auto* about = new AboutView(m_language, m_settings);
        // The About window is small and has nothing to resize.
        about->fitToContent(scaled(330));
        placeWindow(about);
        window = about;
        m_aboutWindow = window;
    }
    present(window);
}

void AppDelegate::settingChanged(const QString& key)
{
    // The windows follow the theme and the language by themselves; the history is trimmed here.
    if (key == settings::maxHistoryItems.name)
        m_clipboard.applyHistoryLimit();
}

void AppDelegate::quit()
{
    QCoreApplication::quit();
}

} // namespace tessel
