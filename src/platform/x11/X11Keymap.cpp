// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Keymap.h"

#include "hotkey/SavedShortcut.h"
#include "platform/x11/XcbReply.h"

#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace tessel::x11 {

namespace {
constexpr uint32_t kSuperL = 0xffeb;
constexpr uint32_t kSuperR = 0xffec;
constexpr uint32_t kAltL = 0xffe9;
constexpr uint32_t kMetaL = 0xffe7;
constexpr uint32_t kNumLock = 0xff7f;
constexpr int kLockRow = 1;
// Columns of the core mapping worth looking at for a free keycode.
constexpr int kColumns = 8;
// The core mapping that the server derives from XKB holds up to four groups.
constexpr int kGroups = 4;
constexpr uint32_t kKeysymA = 0x61;
constexpr uint32_t kKeysymZ = 0x7a;
} // namespace

X11Keymap::X11Keymap(xcb_connection_t* connection)
    : m_connection(connection)
{
    if (!m_connection)
        return;
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    m_min = setup->min_keycode;
    m_max = setup->max_keycode;
    m_symbols = xcb_key_symbols_alloc(m_connection);

    const auto cookie = xcb_get_modifier_mapping(m_connection);
    const XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(m_connection, cookie, nullptr));
    if (reply) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
        const int perRow = reply->keycodes_per_modifier;
        for (int row = 0; row < 8; ++row) {
            QList<uint8_t> keycodes;
            for (int i = 0; i < perRow; ++i) {
                if (const uint8_t code = codes[row * perRow + i])
                    keycodes.append(code);
            }
            m_rows.append(keycodes);
        }
    }
    m_superMask = rowsHolding(kSuperL);
    if (!m_superMask)
        m_superMask = rowsHolding(kSuperR);
    m_altMask = rowsHolding(kAltL);
    if (!m_altMask)
        m_altMask = rowsHolding(kMetaL);
    m_numLockMask = rowsHolding(kNumLock);
}

X11Keymap::~X11Keymap()
{
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
}

uint32_t X11Keymap::keysym(uint8_t keycode, int column) const
{
    return m_symbols ? xcb_key_symbols_get_keysym(m_symbols, keycode, column) : 0;
}

QList<uint8_t> X11Keymap::keycodesFor(uint32_t wanted, int group) const
{
    // The core mapping that the server derives from XKB lists group 1 and 2 in columns 0-3
    // (G1L1 G1L2 G2L1 G2L2), then levels 3-4 of both, then the further groups two by two.
    const int column = group <= 1 ? 2 * group : 8 + 2 * (group - 2);
    QList<uint8_t> result;
    for (int code = m_min; code <= m_max; ++code) {
        const auto keycode = static_cast<uint8_t>(code);
        if (keysym(keycode, column) == wanted || keysym(keycode, column + 1) == wanted)
            result.append(keycode);
    }
    return result;
}

bool X11Keymap::isLatinGroup(int group) const
{
    for (uint32_t letter = kKeysymA; letter <= kKeysymZ; ++letter) {
        if (keycodesFor(letter, group).isEmpty())
            return false;
    }
    return true;
}

QList<uint8_t> X11Keymap::keycodesForShortcut(uint32_t wanted) const
{
    for (int group = 0; group < kGroups; ++group) {
        if (isLatinGroup(group))
            return keycodesFor(wanted, group);
    }
    for (int group = 0; group < kGroups; ++group) {
        if (auto keycodes = keycodesFor(wanted, group); !keycodes.isEmpty())
            return keycodes;
    }
    return {};
}

uint8_t X11Keymap::spareKeycode() const
{
    for (int code = m_max; code >= m_min; --code) {
        const auto keycode = static_cast<uint8_t>(code);
        bool empty = true;
        for (int column = 0; column < kColumns && empty; ++column)
            empty = keysym(keycode, column) == 0;
        if (empty)
            return keycode;
    }
    return 0;
}

uint16_t X11Keymap::rowsHolding(uint32_t wanted) const
{
    const QList<uint8_t> keycodes = keycodesFor(wanted);
    uint16_t mask = 0;
    for (int row = 0; row < m_rows.size(); ++row) {
        for (const uint8_t code : m_rows.at(row)) {
            if (keycodes.contains(code))
                mask |= static_cast<uint16_t>(1u << row);
        }
    }
    return mask;
}

uint16_t X11Keymap::maskFor(uint32_t modifiers) const
{
    uint16_t mask = 0;
    if (modifiers & ShortcutModifier::command)
        mask |= m_superMask;
    if (modifiers & ShortcutModifier::shift)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & ShortcutModifier::option)
        mask |= m_altMask;
    if (modifiers & ShortcutModifier::control)
        mask |= XCB_MOD_MASK_CONTROL;
    return mask;
}

uint16_t X11Keymap::relevantMask() const
{
    return static_cast<uint16_t>(0xff & ~(XCB_MOD_MASK_LOCK | m_numLockMask));
}

QList<uint8_t> X11Keymap::modifierKeycodes() const
{
    QList<uint8_t> result;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (row == kLockRow || (m_numLockMask & (1u << row)))
            continue;
        for (const uint8_t code : m_rows.at(row)) {
            if (!result.contains(code))
                result.append(code);
        }
    }
    return result;
}

} // namespace tessel::x11
