// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace tessel {

class ClipboardManager;
class DesktopShortcuts;
class EmojiStore;
class LanguageManager;
class PasteSimulator;
class PermissionManager;
class SettingsStore;
class WindowController;

// The long-lived services the popup's views use, handed down from the application.
struct PopupContext {
    ClipboardManager& clipboardManager;
    WindowController& windowController;
    LanguageManager& language;
    PermissionManager& permissions;
    SettingsStore& settings;
    PasteSimulator& paste;
    // The emoji catalogue and recents, one for the whole application.
    EmojiStore& emojis;
    // Opens the preferences window; unset where the application has none.
    std::function<void()> openPreferences;
    // The shortcuts kept in the desktop's keyboard settings; null where the desktop has none.
    DesktopShortcuts* desktopShortcuts = nullptr;
};

} // namespace tessel
