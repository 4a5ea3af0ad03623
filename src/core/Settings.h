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
inline constexpr IntSettingKey maxHistoryItems{"maxHistoryItems"_L1, 50, HistoryLimits::choices[0],
                                               std::end(HistoryLimits::choices)[-1]};
// The explanations of a limited desktop that the user has dismissed: their text keys, separated
// by spaces, so that each kind of limitation is explained once.
inline constexpr TextSettingKey seenPlatformNotes{"seenPlatformNotes"_L1, ""_L1};
// Absent shortcuts and recents are resolved by their owners (hotkey manager, emoji store).
inline constexpr DataSettingKey savedClipboardShortcut{"savedClipboardShortcut"_L1};
inline constexpr DataSettingKey savedEmojiShortcut{"savedEmojiShortcut"_L1};
inline constexpr DataSettingKey recentEmojis{"recentEmojis"_L1};

} // namespace settings
} // namespace tessel
