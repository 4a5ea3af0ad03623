// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/KeyCodeTable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tessel {

// Modifier bits of a stored shortcut. The stored encoding is the classic hot-key mask so that a
// settings file means the same everywhere; Command stands for Super on Linux.
namespace ShortcutModifier {
inline constexpr quint32 command = 0x100;
inline constexpr quint32 shift = 0x200;
inline constexpr quint32 option = 0x800;
inline constexpr quint32 control = 0x1000;
} // namespace ShortcutModifier

// A key combination: the main key's virtual key code (see KeyCodeTable), the modifier mask and
// the texts shown to the user (modifier glyphs in the order ⌘ ⇧ ⌥ ⌃, then the key's name).
struct SavedShortcut {
    quint32 keyCode = 0;
    quint32 carbonModifiers = 0;
    QStringList displayKeys;

    friend bool operator==(const SavedShortcut&, const SavedShortcut&) = default;

    // Same key and modifiers; the display texts do not matter.
    bool sameCombination(const SavedShortcut& other) const
    {
        return keyCode == other.keyCode && carbonModifiers == other.carbonModifiers;
    }

    // {"keyCode": n, "carbonModifiers": n, "displayKeys": [...]}
    QByteArray toJson() const;
    // Nothing when `json` is not such an object (missing member, wrong kind, out of range).
    static std::optional<SavedShortcut> fromJson(const QByteArray& json);

    // The keys as a Linux desktop names them, modifiers first: "Super", "Ctrl", "Alt", "Shift",
    // then the main key's name. The stored display texts keep their portable glyphs.
    QStringList keyCapNames() const;
    // The same joined with "+": "Super+Shift+V", for the log.
    QString text() const;
    // The key caps as the interface labels them, in the order of `keyCapNames`.
    QList<KeyLabel> keyCapLabels() const;

    // Super+Shift+V and Super+Shift+period.
    static SavedShortcut defaultClipboard();
    static SavedShortcut defaultEmoji();
};

} // namespace tessel
