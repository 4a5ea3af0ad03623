// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <cstdint>
#include <memory>
#include <optional>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace tessel::x11 {

// A snapshot of the server's keyboard mapping and modifier map. Rebuild it after the mapping
// changes (setxkbmap, a new keyboard): keycodes and modifier bits are only valid for the snapshot.
class X11Keymap {
public:
    explicit X11Keymap(xcb_connection_t* connection);
    ~X11Keymap();
    X11Keymap(const X11Keymap&) = delete;
    X11Keymap& operator=(const X11Keymap&) = delete;

    bool isValid() const { return m_symbols != nullptr; }

    // Keycodes that type `keysym` on the first two levels of keyboard group `group` (0 is the
    // first layout), lowest first.
    QList<uint8_t> keycodesFor(uint32_t keysym, int group = 0) const;
    // The keys that carry `keysym` in the layout a stored shortcut means: the first Latin group
    // (a layout that types a to z, as the physical keys of a saved shortcut are named), else the
    // first group that has the keysym at all. So with "ru,us" the history shortcut is on the key
    // that types v in "us", and full stop on the US full-stop key, not where Russian puts it.
    QList<uint8_t> keycodesForShortcut(uint32_t keysym) const;
    // The keysym at `column` of the core mapping for `keycode`; 0 when there is none.
    uint32_t keysym(uint8_t keycode, int column) const;
    // A keycode whose every column is empty (free to borrow), 0 when there is none.
    uint8_t spareKeycode() const;

    // Modifier bits from the live map. Super and Alt are the union of every row that holds the
    // key, because a press sets all of them and a grab must name exactly the state it matches.
    uint16_t superMask() const { return m_superMask; }
    uint16_t altMask() const { return m_altMask; }
    uint16_t numLockMask() const { return m_numLockMask; }
    // ShortcutModifier bits to X modifier bits.
    uint16_t maskFor(uint32_t shortcutModifiers) const;
    // The modifier bits that tell shortcuts apart: all eight rows but Lock and NumLock (pointer
    // buttons and the keyboard group are outside them too).
    uint16_t relevantMask() const;

    // Every keycode in the modifier map except those of Lock and NumLock.
    QList<uint8_t> modifierKeycodes() const;

    uint8_t minKeycode() const { return m_min; }
    uint8_t maxKeycode() const { return m_max; }

private:
    // The symbols of one key in XKB's own map: `width` levels for each of `groups` groups.
    struct KeyGroups {
        uint8_t groups = 0;
        uint8_t width = 0;
        QList<uint32_t> symbols;
    };

    // The keysym at `level` (0 or 1) of group `group` of `keycode`; 0 when there is none.
    uint32_t groupKeysym(uint8_t keycode, int group, int level) const;
    QHash<uint8_t, KeyGroups> fetchGroupSymbols() const;
    uint16_t rowsHolding(uint32_t keysym) const;
    bool isLatinGroup(int group) const;

    xcb_connection_t* m_connection;
    _XCBKeySymbols* m_symbols = nullptr;
    QList<QList<uint8_t>> m_rows;
    // XKB's map, fetched when a group past the second is first asked for.
    mutable std::optional<QHash<uint8_t, KeyGroups>> m_groupSymbols;
    uint16_t m_superMask = 0;
    uint16_t m_altMask = 0;
    uint16_t m_numLockMask = 0;
    uint8_t m_min = 8;
    uint8_t m_max = 255;
};

} // namespace tessel::x11
