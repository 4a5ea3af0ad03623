// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/popup/PopupContext.h"
#include "window/PopupTab.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

namespace tessel {

class ClipboardManager;
class DesktopShortcuts;
class EmojiStore;
class HotkeyManager;
class LanguageManager;
class LoginItems;
class PasteSimulator;
class PermissionManager;
class PopupActions;
class SettingsStore;
class WindowController;

// The application's root: the tray icon with its menu, the two shortcuts wired to the popup,
// capture started at launch and saved at quit, and the windows it opens (popup, preferences,
// About). Main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // How long after launch the popup opens to explain a missing permission, or what the desktop
    // holds back.
    static constexpr int onboardingDelayMs = 300;

    AppDelegate(SettingsStore& settings, LanguageManager& language, ClipboardManager& clipboard,
                WindowController& windowController, HotkeyManager& hotkeys,
                PermissionManager& permissions, PasteSimulator& paste, EmojiStore& emojis,
                PopupActions& actions, LoginItems& loginItems, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The shortcuts kept in the desktop's keyboard settings, offered in the first-start note and
    // the preferences; set before launching, where the desktop has them.
    void setDesktopShortcuts(DesktopShortcuts* shortcuts) { m_desktopShortcuts = shortcuts; }

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // Opens the popup on `tab`, or closes it when it is open and was opened on `tab`.
    void openPopup(PopupTab tab);
    void openClipboard() { openPopup(PopupTab::clipboard); }
    void openEmoji() { openPopup(PopupTab::emoji); }
    void openPreferences();
    void openAboutWindow();
    void quit();

    void statusItemClicked(QSystemTrayIcon::ActivationReason reason);

    // Renders the history and emoji tabs off screen once, so that fonts, glyphs, icons and styles
    // are loaded before the user's first shortcut press rather than during it. Launch schedules
    // it.
    void prepareFirstPopup();

    QSystemTrayIcon* statusItem() const { return m_statusItem; }
    QMenu* statusMenu() const { return m_statusMenu; }
    QWidget* preferencesWindow() const { return m_preferencesWindow; }
    QWidget* aboutWindow() const { return m_aboutWindow; }

private:
    void setupStatusItem();
    void setupHotkeys();
    // Names the shortcuts where the desktop's settings list them, in the interface language.
    void nameDesktopActions();
    void rebuildStatusItemMenu();
    // "Tessel", or what keeps the history from being saved while that lasts.
    void updateStatusToolTip();
    // The services a popup's views use.
    PopupContext popupContext();
    // Shows a window of Tessel's own: themed, in front, with the keyboard.
    void present(QWidget* window);
    // Gives a window of Tessel's own its icon and centres it on the screen.
    void placeWindow(QWidget* window);
    // Applies a setting that just changed to the parts of the program that use it.
    void settingChanged(const QString& key);
    // Gives back what the popup held once it has closed.
    void releasePopupMemory();

    SettingsStore& m_settings;
    LanguageManager& m_language;
    ClipboardManager& m_clipboard;
    WindowController& m_windowController;
    HotkeyManager& m_hotkeys;
    PermissionManager& m_permissions;
    PasteSimulator& m_paste;
    EmojiStore& m_emojis;
    PopupActions& m_actions;
    LoginItems& m_loginItems;
    DesktopShortcuts* m_desktopShortcuts = nullptr;
    QSystemTrayIcon* m_statusItem = nullptr;
    QPointer<QMenu> m_statusMenu;
    QPointer<QWidget> m_preferencesWindow;
    QPointer<QWidget> m_aboutWindow;
};

} // namespace tessel
