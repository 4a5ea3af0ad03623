// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace tessel {

class DesktopShortcuts;
class HotkeyManager;
class LanguageManager;
class LoginItems;
class PermissionManager;
class SettingsStore;

// The long-lived services the preferences and About windows use, handed down by the application.
struct PreferencesContext {
    SettingsStore& settings;
    LanguageManager& language;
    HotkeyManager& hotkeys;
    PermissionManager& permissions;
    LoginItems& loginItems;
    // Opens the About window; unset where the application has none.
    std::function<void()> openAbout;
    // The shortcuts kept in the desktop's keyboard settings; null where the desktop has none.
    DesktopShortcuts* desktopShortcuts = nullptr;
};

} // namespace tessel
