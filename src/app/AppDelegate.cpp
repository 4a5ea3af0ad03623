#include "app/AppDelegate.h"

#include "app/PopupActions.h"
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "core/Log.h"
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/SavedShortcut.h"
#include "localization/LanguageManager.h"
#include "permissions/PermissionManager.h"
#include "ui/ContentView.h"
#include "ui/IconProvider.h"
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

// "Super+Shift+V": how a Linux desktop writes a shortcut.
QString shortcutText(const SavedShortcut& shortcut)
{
    QStringList parts;
    const std::pair<quint32, QString> names[] = {{ShortcutModifier::command, u"Super"_s},
                                                 {ShortcutModifier::control, u"Ctrl"_s},
                                                 {ShortcutModifier::option, u"Alt"_s},
                                                 {ShortcutModifier::shift, u"Shift"_s}};
    for (const auto& [bit, name] : names) {
        if (shortcut.carbonModifiers & bit)
            parts.append(name);
    }
    if (!shortcut.displayKeys.isEmpty())
        parts.append(shortcut.displayKeys.last());
    return parts.join(u'+');
}
} // namespace

AppDelegate::AppDelegate(SettingsStore& settings, LanguageManager& language,
                         ClipboardManager& clipboard, WindowController& windowController,
                         HotkeyManager& hotkeys, PermissionManager& permissions,
                         PasteSimulator& paste, EmojiStore& emojis, PopupActions& actions,
                         QObject* parent)
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
{}

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
    m_clipboard.startMonitoring();
    QTimer::singleShot(0, this, &AppDelegate::prepareFirstPopup);
    if (!m_permissions.checkPermission()) {
        m_permissions.startMonitoring();
        QTimer::singleShot(onboardingDelayMs, this, [this] { openPopup(PopupTab::clipboard); });
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
        // The icon docks by itself if a tray appears later; until then only the shortcuts work.
        qCInfo(lcApp,
               "no system tray on this desktop; the shortcuts open Tessel (history: %s, "
               "emoji: %s)",
               qPrintable(shortcutText(m_hotkeys.clipboardShortcut())),
               qPrintable(shortcutText(m_hotkeys.emojiShortcut())));
    }
}

void AppDelegate::rebuildStatusItemMenu()
{
    auto* menu = new QMenu;
    menu->addAction(m_language.string(u"menu_open_clipboard"_s), this, &AppDelegate::openClipboard);
    menu->addAction(m_language.string(u"menu_open_emojis"_s), this, &AppDelegate::openEmoji);
    menu->addSeparator();
    menu->addAction(m_language.string(u"menu_preferences"_s), this, &AppDelegate::openPreferences);
    menu->addSeparator();
    QAction* quitAction =
        menu->addAction(m_language.string(u"menu_quit"_s), this, &AppDelegate::quit);
    quitAction->setShortcut(QKeySequence(u"Ctrl+Q"_s));
    m_statusItem->setContextMenu(menu);
    delete m_statusMenu.data();
    m_statusMenu = menu;
}

void AppDelegate::updateStatusToolTip()
{
    const Result& saved = m_clipboard.store().lastSave();
    m_statusItem->setToolTip(
        saved ? u"Tessel"_s : m_language.string(u"history_not_saved"_s) + u'\n' + saved.message());
}

void AppDelegate::statusItemClicked(QSystemTrayIcon::ActivationReason reason)
{
    // The right button shows the context menu by itself; a left click opens the history.
    if (reason == QSystemTrayIcon::Trigger)
        openPopup(PopupTab::clipboard);
}

void AppDelegate::setupHotkeys()
{
    QPointer<AppDelegate> self(this);
    m_hotkeys.start([self](HotkeyManager::Action action) {
        if (self)
            self->openPopup(action == HotkeyManager::Action::emoji ? PopupTab::emoji
                                                                   : PopupTab::clipboard);
    });
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
    return {
        m_clipboard, m_windowController,           m_language, m_permissions, m_settings, m_paste,
        m_emojis,    [this] { openPreferences(); }};
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
}

QWidget* AppDelegate::makeWindow(const QString& titleKey, QSize size)
{
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setWindowTitle(m_language.string(titleKey));
    window->setWindowIcon(IconProvider::applicationIcon());
    window->resize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    return window;
}

void AppDelegate::present(QWidget* window)
{
    m_windowController.applyTheme(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::openPreferences()
{
    m_windowController.close(false);
    if (!m_preferencesWindow)
        m_preferencesWindow = makeWindow(u"settings_title"_s, QSize(520, 500));
    present(m_preferencesWindow);
}

void AppDelegate::openAboutWindow()
{
    m_windowController.close(false);
    if (!m_aboutWindow)
        m_aboutWindow = makeWindow(u"about_tessel"_s, QSize(330, 310));
    present(m_aboutWindow);
}

void AppDelegate::quit()
{
    QCoreApplication::quit();
}

} // namespace tessel
