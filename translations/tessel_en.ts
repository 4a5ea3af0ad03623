<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name></name>
    <message id="menu_open_clipboard">
        <source>Open history</source>
        <translation>Open history</translation>
    </message>
    <message id="menu_open_emojis">
        <source>Open emojis</source>
        <translation>Open emojis</translation>
    </message>
    <message id="menu_preferences">
        <source>Preferences…</source>
        <translation>Preferences…</translation>
    </message>
    <message id="menu_quit">
        <source>Quit Tessel</source>
        <translation>Quit Tessel</translation>
    </message>
    <message id="app_title">
        <source>Tessel</source>
        <translation>Tessel</translation>
    </message>
    <message id="history_not_saved">
        <source>History not saved: it is kept in memory and saved as soon as it can be</source>
        <translation>History not saved: it is kept in memory and saved as soon as it can be</translation>
    </message>
    <message id="lang_system">
        <source>🌐 Automatic (System)</source>
        <translation>🌐 Automatic (System)</translation>
    </message>
    <message id="language_name">
        <source>🇺🇸 English (US)</source>
        <translation>🇺🇸 English (US)</translation>
    </message>
    <message id="items_count_25">
        <source>25 items</source>
        <translation>25 items</translation>
    </message>
    <message id="items_count_50">
        <source>50 items</source>
        <translation>50 items</translation>
    </message>
    <message id="items_count_100">
        <source>100 items</source>
        <translation>100 items</translation>
    </message>
    <message id="check_updates">
        <source>Check for Updates</source>
        <translation>Check for Updates</translation>
    </message>
    <message id="latest_version">
        <source>You are on the latest version! (1.0.0)</source>
        <translation>You are on the latest version! (1.0.0)</translation>
    </message>
    <message id="quit_app">
        <source>Quit Tessel</source>
        <translation>Quit Tessel</translation>
    </message>
    <message id="platform_shortcuts_note">
        <source>Tessel records what you copy on this desktop and pastes the entry you choose, but it cannot listen for its own shortcuts here. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Tessel records what you copy on this desktop and pastes the entry you choose, but it cannot listen for its own shortcuts here. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</translation>
    </message>
    <message id="platform_xwayland_note">
        <source>Tessel records what you copy on this Wayland desktop, but auto-paste only reaches X11 applications (those that run through XWayland): elsewhere, paste the chosen entry with Ctrl+V. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Tessel records what you copy on this Wayland desktop, but auto-paste only reaches X11 applications (those that run through XWayland): elsewhere, paste the chosen entry with Ctrl+V. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</translation>
    </message>
    <message id="platform_paste_unavailable_note">
        <source>This desktop does not let Tessel type for you, so auto-paste is unavailable here. Choosing an entry still puts it on the clipboard: paste it with Ctrl+V.</source>
        <translation>This desktop does not let Tessel type for you, so auto-paste is unavailable here. Choosing an entry still puts it on the clipboard: paste it with Ctrl+V.</translation>
    </message>
    <message id="kaomoji_happy">
        <source>Happy / Laugh</source>
        <translation>Happy / Laugh</translation>
    </message>
    <message id="kaomoji_action">
        <source>Table Flip / Action</source>
        <translation>Table Flip / Action</translation>
    </message>
    <message id="kaomoji_sad">
        <source>Sad / Surprised</source>
        <translation>Sad / Surprised</translation>
    </message>
    <message id="kaomoji_love">
        <source>Love / Cute</source>
        <translation>Love / Cute</translation>
    </message>
    <message id="symbol_currency">
        <source>Currencies</source>
        <translation>Currencies</translation>
    </message>
    <message id="symbol_math">
        <source>Math</source>
        <translation>Math</translation>
    </message>
    <message id="symbol_punctuation">
        <source>Punctuation &amp; Symbols</source>
        <translation>Punctuation &amp; Symbols</translation>
    </message>
    <message id="symbol_arrows">
        <source>Arrows</source>
        <translation>Arrows</translation>
    </message>
    <message id="image_row_name">
        <source>[Image %1]</source>
        <translation>[Image %1]</translation>
    </message>
    <message id="clear_all">
        <source>Clear all</source>
        <translation>Clear all</translation>
    </message>
    <message id="clear_history_title">
        <source>Clear history?</source>
        <translation>Clear history?</translation>
    </message>
    <message id="clear_history_sub">
        <source>All unpinned items will be removed.</source>
        <translation>All unpinned items will be removed.</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="empty_favorites_sub">
        <source>Your pinned favorite items will appear here.</source>
        <translation>Your pinned favorite items will appear here.</translation>
    </message>
    <message id="empty_clipboard_sub">
        <source>Copy items (Ctrl+C) to see them appear here.</source>
        <translation>Copy items (Ctrl+C) to see them appear here.</translation>
    </message>
    <message id="search_no_matches">
        <source>No matches</source>
        <translation>No matches</translation>
    </message>
    <message id="empty_clipboard">
        <source>Your clipboard is empty</source>
        <translation>Your clipboard is empty</translation>
    </message>
    <message id="delete_item">
        <source>Delete from history</source>
        <translation>Delete from history</translation>
    </message>
    <message id="search_emojis_placeholder">
        <source>Search emojis...</source>
        <translation>Search emojis...</translation>
    </message>
    <message id="search_history_placeholder">
        <source>Search history...</source>
        <translation>Search history...</translation>
    </message>
    <message id="header_title">
        <source>Tessel Clipboard</source>
        <translation>Tessel Clipboard</translation>
    </message>
    <message id="recent_emojis">
        <source>Recently used</source>
        <translation>Recently used</translation>
    </message>
    <message id="all_emojis">
        <source>All emojis</source>
        <translation>All emojis</translation>
    </message>
    <message id="unpin_item">
        <source>Unpin item</source>
        <translation>Unpin item</translation>
    </message>
    <message id="pin_item">
        <source>Pin item</source>
        <translation>Pin item</translation>
    </message>
    <message id="open_system_settings">
        <source>How to Enable</source>
        <translation>How to Enable</translation>
    </message>
    <message id="request_again">
        <source>Check Again</source>
        <translation>Check Again</translation>
    </message>
    <message id="platform_notice_dismiss">
        <source>Got It</source>
        <translation>Got It</translation>
    </message>
    <message id="platform_notice_title">
        <source>How Tessel Works Here</source>
        <translation>How Tessel Works Here</translation>
    </message>
    <message id="onboarding_title">
        <source>Keystroke Permission</source>
        <translation>Keystroke Permission</translation>
    </message>
    <message id="onboarding_subtitle">
        <source>Tessel needs an X11 session (or XWayland) to detect global keyboard shortcuts and auto-paste.</source>
        <translation>Tessel needs an X11 session (or XWayland) to detect global keyboard shortcuts and auto-paste.</translation>
    </message>
    <message id="access_granted">
        <source>Keystrokes Allowed</source>
        <translation>Keystrokes Allowed</translation>
    </message>
    <message id="tab_clipboard">
        <source>Clipboard</source>
        <translation>Clipboard</translation>
    </message>
    <message id="tab_emoji">
        <source>Emojis</source>
        <translation>Emojis</translation>
    </message>
    <message id="tab_kaomoji">
        <source>Kaomoji</source>
        <translation>Kaomoji</translation>
    </message>
    <message id="tab_symbols">
        <source>Symbols</source>
        <translation>Symbols</translation>
    </message>
    <message id="tab_favorites">
        <source>Favorites</source>
        <translation>Favorites</translation>
    </message>
    <message id="app_subtitle">
        <source>Clipboard manager with emoji and symbol picker for Linux</source>
        <translation>Clipboard manager with emoji and symbol picker for Linux</translation>
    </message>
    <message id="support">
        <source>Support</source>
        <translation>Support</translation>
    </message>
    <message id="developed_by">
        <source>Made by the Tessel developers</source>
        <translation>Made by the Tessel developers</translation>
    </message>
    <message id="rights_reserved">
        <source>© 2025 The Tessel developers. All rights reserved.</source>
        <translation>© 2025 The Tessel developers. All rights reserved.</translation>
    </message>
    <message id="about_window_title">
        <source>About Tessel</source>
        <translation>About Tessel</translation>
    </message>
    <message id="app_version_format">
        <source>Version %1 (Build %2)</source>
        <translation>Version %1 (Build %2)</translation>
    </message>
    <message id="section_visual_theme">
        <source>Visual &amp; Theme</source>
        <translation>Visual &amp; Theme</translation>
    </message>
    <message id="theme_label">
        <source>UI Visual Theme:</source>
        <translation>UI Visual Theme:</translation>
    </message>
    <message id="theme_system">
        <source>Follow system</source>
        <translation>Follow system</translation>
    </message>
    <message id="theme_dark">
        <source>Liquid Dark (Dark)</source>
        <translation>Liquid Dark (Dark)</translation>
    </message>
    <message id="theme_light">
        <source>Liquid Light (Light)</source>
        <translation>Liquid Light (Light)</translation>
    </message>
    <message id="section_behavior">
        <source>Behavior</source>
        <translation>Behavior</translation>
    </message>
    <message id="auto_paste">
        <source>Auto-paste on select</source>
        <translation>Auto-paste on select</translation>
    </message>
    <message id="auto_paste_sub">
        <source>Pastes item directly into the active app upon click</source>
        <translation>Pastes item directly into the active app upon click</translation>
    </message>
    <message id="confirm_clear">
        <source>Confirm before clearing history</source>
        <translation>Confirm before clearing history</translation>
    </message>
    <message id="confirm_clear_sub">
        <source>Displays a confirmation alert when clicking &apos;Clear all&apos;</source>
        <translation>Displays a confirmation alert when clicking &apos;Clear all&apos;</translation>
    </message>
    <message id="sound_effects">
        <source>Subtle sound effects</source>
        <translation>Subtle sound effects</translation>
    </message>
    <message id="sound_effects_sub">
        <source>Plays a soft sound when selecting and pasting elements</source>
        <translation>Plays a soft sound when selecting and pasting elements</translation>
    </message>
    <message id="launch_at_login">
        <source>Launch at login</source>
        <translation>Launch at login</translation>
    </message>
    <message id="launch_at_login_sub">
        <source>Opens Tessel automatically when you log in to your session</source>
        <translation>Opens Tessel automatically when you log in to your session</translation>
    </message>
    <message id="launch_at_login_error">
        <source>Could not change the launch at login setting.</source>
        <translation>Could not change the launch at login setting.</translation>
    </message>
    <message id="section_language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="language_label">
        <source>Interface Language:</source>
        <translation>Interface Language:</translation>
    </message>
    <message id="section_storage">
        <source>Storage</source>
        <translation>Storage</translation>
    </message>
    <message id="history_limit">
        <source>Maximum history items limit:</source>
        <translation>Maximum history items limit:</translation>
    </message>
    <message id="items_count_format" numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n item</numerusform>
            <numerusform>%n items</numerusform>
        </translation>
    </message>
    <message id="settings_title">
        <source>Tessel Settings</source>
        <translation>Tessel Settings</translation>
    </message>
    <message id="settings_subtitle">
        <source>Customize behavior, privacy and shortcuts</source>
        <translation>Customize behavior, privacy and shortcuts</translation>
    </message>
    <message id="about_tessel">
        <source>About Tessel...</source>
        <translation>About Tessel...</translation>
    </message>
    <message id="tab_general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="tab_appearance">
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
    <message id="tab_privacy">
        <source>Privacy</source>
        <translation>Privacy</translation>
    </message>
    <message id="tab_shortcuts">
        <source>Shortcuts</source>
        <translation>Shortcuts</translation>
    </message>
    <message id="section_sensitive_data">
        <source>Sensitive Data Protection</source>
        <translation>Sensitive Data Protection</translation>
    </message>
    <message id="ignore_passwords">
        <source>Ignore Password Managers</source>
        <translation>Ignore Password Managers</translation>
    </message>
    <message id="ignore_passwords_sub">
        <source>Does not record passwords copied from KeePassXC, 1Password, Bitwarden, etc.</source>
        <translation>Does not record passwords copied from KeePassXC, 1Password, Bitwarden, etc.</translation>
    </message>
    <message id="section_accessibility">
        <source>Keystroke Permission (X11)</source>
        <translation>Keystroke Permission (X11)</translation>
    </message>
    <message id="acc_card_paste_title">
        <source>Instant Auto-Paste</source>
        <translation>Instant Auto-Paste</translation>
    </message>
    <message id="acc_card_paste_sub">
        <source>Inserts items and emojis into focused app with 1 click</source>
        <translation>Inserts items and emojis into focused app with 1 click</translation>
    </message>
    <message id="acc_card_shortcuts_title">
        <source>System Global Shortcuts</source>
        <translation>System Global Shortcuts</translation>
    </message>
    <message id="acc_card_shortcuts_sub">
        <source>Open clipboard from anywhere via Super+Shift+V</source>
        <translation>Open clipboard from anywhere via Super+Shift+V</translation>
    </message>
    <message id="acc_card_privacy_title">
        <source>100% Local Privacy</source>
        <translation>100% Local Privacy</translation>
    </message>
    <message id="acc_card_privacy_sub">
        <source>Offline processing on your computer, zero tracking</source>
        <translation>Offline processing on your computer, zero tracking</translation>
    </message>
    <message id="access_all_verified">
        <source>All operating system permissions are verified.</source>
        <translation>All operating system permissions are verified.</translation>
    </message>
    <message id="acc_step_1">
        <source>1. Click the button below to open the help page</source>
        <translation>1. Click the button below to open the help page</translation>
    </message>
    <message id="acc_step_2">
        <source>2. Restart Tessel in an X11 session or through XWayland</source>
        <translation>2. Restart Tessel in an X11 session or through XWayland</translation>
    </message>
    <message id="open_access_settings">
        <source>How to Enable</source>
        <translation>How to Enable</translation>
    </message>
    <message id="access_denied">
        <source>X11 Session Required</source>
        <translation>X11 Session Required</translation>
    </message>
    <message id="access_granted_sub">
        <source>Tessel has all required permissions to paste and listen to shortcuts.</source>
        <translation>Tessel has all required permissions to paste and listen to shortcuts.</translation>
    </message>
    <message id="access_denied_sub">
        <source>Auto-paste and global shortcuts need an X11 session (or XWayland).</source>
        <translation>Auto-paste and global shortcuts need an X11 session (or XWayland).</translation>
    </message>
    <message id="status_active">
        <source>ACTIVE</source>
        <translation>ACTIVE</translation>
    </message>
    <message id="status_pending">
        <source>PENDING</source>
        <translation>PENDING</translation>
    </message>
    <message id="shortcut_min_error">
        <source>Shortcut requires at least 2 keys (e.g. Super, Shift + key).</source>
        <translation>Shortcut requires at least 2 keys (e.g. Super, Shift + key).</translation>
    </message>
    <message id="shortcut_duplicate_error">
        <source>This shortcut is already used by the other command.</source>
        <translation>This shortcut is already used by the other command.</translation>
    </message>
    <message id="shortcut_taken_error">
        <source>This shortcut is already used by the desktop or another app.</source>
        <translation>This shortcut is already used by the desktop or another app.</translation>
    </message>
    <message id="section_shortcuts">
        <source>System Global Shortcuts</source>
        <translation>System Global Shortcuts</translation>
    </message>
    <message id="shortcut_clipboard">
        <source>Clipboard</source>
        <translation>Clipboard</translation>
    </message>
    <message id="shortcut_emoji">
        <source>Emojis, Kaomoji and Symbols</source>
        <translation>Emojis, Kaomoji and Symbols</translation>
    </message>
    <message id="shortcut_tip">
        <source>Tip: Shortcut combination requires at least 2 keys (modifier + key).</source>
        <translation>Tip: Shortcut combination requires at least 2 keys (modifier + key).</translation>
    </message>
    <message id="reset_shortcuts">
        <source>Reset Default Shortcuts</source>
        <translation>Reset Default Shortcuts</translation>
    </message>
    <message id="press_keys_prompt">
        <source>Press shortcut keys...</source>
        <translation>Press shortcut keys...</translation>
    </message>
    <message id="key_code">
        <source>Key %1</source>
        <translation>Key %1</translation>
    </message>
    <message id="key_return">
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message id="key_tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="key_space">
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message id="key_super">
        <source>Super</source>
        <translation>Super</translation>
    </message>
    <message id="key_ctrl">
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message id="key_alt">
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message id="key_shift">
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message id="desktop_shortcuts_add">
        <source>Add the Shortcuts to GNOME</source>
        <translation>Add the Shortcuts to GNOME</translation>
    </message>
    <message id="desktop_shortcuts_toggle_sub">
        <source>Tessel adds them to GNOME&apos;s custom shortcuts (tessel --toggle, tessel --emoji) and keeps them in step; turning this off removes them.</source>
        <translation>Tessel adds them to GNOME&apos;s custom shortcuts (tessel --toggle, tessel --emoji) and keeps them in step; turning this off removes them.</translation>
    </message>
    <message id="desktop_paste_refused">
        <source>You did not allow Tessel to type into this desktop&apos;s windows: chosen entries go to the clipboard, and Ctrl+V pastes them.</source>
        <translation>You did not allow Tessel to type into this desktop&apos;s windows: chosen entries go to the clipboard, and Ctrl+V pastes them.</translation>
    </message>
    <message id="desktop_paste_ask_again">
        <source>Ask Again at the Next Paste</source>
        <translation>Ask Again at the Next Paste</translation>
    </message>
    <message id="desktop_shortcuts_toggle">
        <source>Keep these shortcuts in the desktop&apos;s settings</source>
        <translation>Keep these shortcuts in the desktop&apos;s settings</translation>
    </message>
    <message id="desktop_shortcuts_failed">
        <source>The desktop&apos;s keyboard settings could not be changed.</source>
        <translation>The desktop&apos;s keyboard settings could not be changed.</translation>
    </message>
    <message id="desktop_action_clipboard">
        <source>Open the clipboard history</source>
        <translation>Open the clipboard history</translation>
    </message>
    <message id="desktop_action_emoji">
        <source>Open the emoji picker</source>
        <translation>Open the emoji picker</translation>
    </message>
    <message id="desktop_binding_clipboard">
        <source>Tessel: clipboard history</source>
        <translation>Tessel: clipboard history</translation>
    </message>
    <message id="desktop_binding_emoji">
        <source>Tessel: emoji</source>
        <translation>Tessel: emoji</translation>
    </message>
    <message id="preview_title">
        <source>Entry preview</source>
        <translation>Entry preview</translation>
    </message>
    <message id="preview_text_size">
        <source>Lines: %1 · Characters: %2</source>
        <translation>Lines: %1 · Characters: %2</translation>
    </message>
    <message id="preview_image_size">
        <source>%1 × %2 pixels · %3</source>
        <translation>%1 × %2 pixels · %3</translation>
    </message>
    <message id="ignored_apps_sub">
        <source>Nothing copied while one of these applications is in front is recorded.</source>
        <translation>Nothing copied while one of these applications is in front is recorded.</translation>
    </message>
    <message id="ignored_apps_empty">
        <source>No applications added.</source>
        <translation>No applications added.</translation>
    </message>
    <message id="ignored_apps_add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="ignored_apps_remove">
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message id="section_ignored_apps">
        <source>Ignored Applications</source>
        <translation>Ignored Applications</translation>
    </message>
    <message id="ignored_apps_placeholder">
        <source>Application id, or pick an open window</source>
        <translation>Application id, or pick an open window</translation>
    </message>
    <message id="emoji_category_smileys">
        <source>Smileys &amp; People</source>
        <translation>Smileys &amp; People</translation>
    </message>
    <message id="emoji_category_animals">
        <source>Animals &amp; Nature</source>
        <translation>Animals &amp; Nature</translation>
    </message>
    <message id="emoji_category_food">
        <source>Food &amp; Drink</source>
        <translation>Food &amp; Drink</translation>
    </message>
    <message id="emoji_category_travel">
        <source>Travel &amp; Places</source>
        <translation>Travel &amp; Places</translation>
    </message>
    <message id="emoji_category_activities">
        <source>Activities</source>
        <translation>Activities</translation>
    </message>
    <message id="emoji_category_objects">
        <source>Objects</source>
        <translation>Objects</translation>
    </message>
    <message id="emoji_category_symbols">
        <source>Symbols</source>
        <translation>Symbols</translation>
    </message>
    <message id="emoji_category_flags">
        <source>Flags</source>
        <translation>Flags</translation>
    </message>
    <message id="image_row_accessible">
        <source>Image, %1 x %2</source>
        <translation>Image, %1 x %2</translation>
    </message>
    <message id="image_row_accessible_unsized">
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message id="pinned_state">
        <source>Pinned</source>
        <translation>Pinned</translation>
    </message>
    <message id="clear_search">
        <source>Clear search</source>
        <translation>Clear search</translation>
    </message>
    <message id="close_popup">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="website_link_name">
        <source>Website, %1</source>
        <translation>Website, %1</translation>
    </message>
    <message id="search_kaomoji_placeholder">
        <source>Search kaomoji...</source>
        <translation>Search kaomoji...</translation>
    </message>
    <message id="search_symbols_placeholder">
        <source>Search symbols...</source>
        <translation>Search symbols...</translation>
    </message>
</context>
</TS>
