// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/HistoryLimits.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <iterator>

// The one table of user settings: each key with its kind and the value a reader applies when the
// key is absent or holds a value of another kind. Read and write them through SettingsStore.
namespace tessel {

template <typename T> struct SettingKey {
    using Value = T;
    QLatin1StringView name;
    T absentValue;
};

// A whole number, with the range the interface offers.
struct IntSettingKey {
    using Value = qint64;
    QLatin1StringView name;
    qint64 absentValue;
    qint64 minimum;
    qint64 maximum;
};

struct TextSettingKey {
    using Value = QString;
    QLatin1StringView name;
    QLatin1StringView absentValue;
};

struct DataSettingKey {
    using Value = QByteArray;
    QLatin1StringView name;
};

namespace settings {

using namespace Qt::StringLiterals;

inline constexpr TextSettingKey appLanguage{"appLanguage"_L1, "system"_L1};
inline constexpr TextSettingKey themeMode{"themeMode"_L1, "system"_L1};
inline constexpr SettingKey<bool> pasteOnSelect{"pasteOnSelect"_L1, true};
inline constexpr SettingKey<bool> playSoundEffects{"playSoundEffects"_L1, true};
inline constexpr SettingKey<bool> confirmClear{"confirmClear"_L1, true};
inline constexpr SettingKey<bool> ignorePasswordManagers{"ignorePasswordManagers"_L1, true};
// The applications whose copies are never recorded, one identifier a line (IgnoredApplications).
inline constexpr TextSettingKey ignoredApplications{"ignoredApplications"_L1, ""_L1};
inline constexpr IntSettingKey maxHistoryItems{"maxHistoryItems"_L1, 50, HistoryLimits::choices[0],
                                               std::end(HistoryLimits::choices)[-1]};
// The explanations of a limited desktop that the user has dismissed: their text keys, separated
// by spaces, so that each kind of limitation is explained once.
inline constexpr TextSettingKey seenPlatformNotes{"seenPlatformNotes"_L1, ""_L1};
// The user agreed that Tessel keeps its two shortcuts in the desktop's own keyboard settings
// (GNOME's custom keybindings), where it cannot register them itself.
inline constexpr SettingKey<bool> desktopKeybindings{"desktopKeybindings"_L1, false};
// What the desktop's remote-desktop portal gave to skip asking again next time; empty before.
inline constexpr TextSettingKey remoteDesktopRestoreToken{"remoteDesktopRestoreToken"_L1, ""_L1};
// The user refused the desktop's request to let Tessel type into every window: not asked again
// until they choose to be.
inline constexpr SettingKey<bool> remoteDesktopRefused{"remoteDesktopRefused"_L1, false};
// Absent shortcuts and recents are resolved by their owners (hotkey manager, emoji store).
inline constexpr DataSettingKey savedClipboardShortcut{"savedClipboardShortcut"_L1};
inline constexpr DataSettingKey savedEmojiShortcut{"savedEmojiShortcut"_L1};
inline constexpr DataSettingKey recentEmojis{"recentEmojis"_L1};

} // namespace settings
} // namespace tessel
