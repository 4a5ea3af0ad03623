// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace tessel::wayland {

// One key press as a virtual keyboard sends it: the modifiers to hold and the key.
struct VirtualKeyPress {
    // Modifier mask in the keymap's own modifier indices (depressed modifiers).
    uint32_t modifiers = 0;
    // Linux evdev key code, as the virtual keyboard protocol takes it (XKB key code minus 8).
    uint32_t evdevKey = 0;
};

// The keymap Tessel's virtual keyboard types with: a plain US layout compiled by xkbcommon,
// whatever the user's own layout, so that the key that types "v" is known (a variant of it, such
// as "dvorak", for a keyboard where "v" sits elsewhere). The compositor
// hands it to the receiving application while the virtual keyboard types, so that application
// reads the same "v" with Control (and Shift). Its V key does not repeat while held.
class VirtualKeymap {
public:
    // Compiles the keymap; `isValid()` is false when xkbcommon cannot (no XKB data installed).
    explicit VirtualKeymap(const char* usVariant = "");

    bool isValid() const { return !m_text.isEmpty() && m_press.has_value(); }
    // The keymap in XKB text format, with the terminating NUL that the protocol expects to be
    // counted in its size.
    const QByteArray& text() const { return m_text; }
    // The key press for `chord`; nothing when the keymap is not valid.
    std::optional<VirtualKeyPress> press(PasteChord chord) const;

private:
    QByteArray m_text;
    // Ctrl+V; Shift is added for terminals.
    std::optional<VirtualKeyPress> m_press;
    uint32_t m_shiftMask = 0;
};

} // namespace tessel::wayland
