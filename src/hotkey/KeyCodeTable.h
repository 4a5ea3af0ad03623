// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace tessel {

// How the interface names a key: by a text in the interface language (`textId`, with `text` as
// its %1 where there is one: "Key %1"), or, for a key that types a character, by the character
// itself (`textId` null).
struct KeyLabel {
    const char* textId = nullptr;
    QString text;
};

// The one table that ties a shortcut's virtual key code (the US-layout key numbering that stored
// shortcuts use) to the X keysym of that key and to the name shown for it.
namespace KeyCodeTable {

// The keysym of `keyCode`, nothing when the code has no key here.
std::optional<quint32> keysymForKeyCode(quint32 keyCode);

// The key code of `keysym`; upper-case Latin letters count as their lower-case key. Nothing when
// the keysym is not in the table.
std::optional<quint32> keyCodeForKeysym(quint32 keysym);

// The display name of `keyCode`: the table's name, or "Key" and the decimal code for codes
// without one (function keys, arrows, Escape...).
QString keyName(quint16 keyCode);

// The label of `keyCode` on a key cap: its character ("V", "."), or the id of its name
// ("key_return"; "key_code" with the decimal code for keys without a name).
KeyLabel keyLabel(quint16 keyCode);

// Every key code the table knows, in table order (for tests and tools).
int size();
quint32 keyCodeAt(int index);

} // namespace KeyCodeTable
} // namespace tessel
