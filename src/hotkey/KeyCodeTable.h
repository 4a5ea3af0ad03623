// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace tessel {

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

// Every key code the table knows, in table order (for tests and tools).
int size();
quint32 keyCodeAt(int index);

} // namespace KeyCodeTable
} // namespace tessel
