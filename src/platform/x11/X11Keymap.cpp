// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Keymap.h"

#include "hotkey/SavedShortcut.h"
#include "platform/x11/XcbReply.h"

#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
// xcb/xkb.h names a member `explicit`, which C++ reserves; the name is hidden while it is read.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

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

uint32_t X11Keymap::groupKeysym(uint8_t keycode, int group, int level) const
{
    // The core mapping that the server derives from XKB starts every key with levels 1-2 of
    // groups 1 and 2 (a key of one group repeats it); what follows depends on how many levels
    // each of the key's groups has, so further groups are read from XKB's own map.
    if (group <= 1)
        return keysym(keycode, 2 * group + level);
    if (!m_groupSymbols)
        m_groupSymbols = fetchGroupSymbols();
    const auto it = m_groupSymbols->constFind(keycode);
    if (it == m_groupSymbols->cend() || it->groups == 0)
        return 0;
    // A key with fewer groups wraps the active one into its own, as the server does by default.
    const int index = (group % it->groups) * it->width + level;
    return level < it->width ? it->symbols.value(index, 0) : 0;
}

QHash<uint8_t, X11Keymap::KeyGroups> X11Keymap::fetchGroupSymbols() const
{
    QHash<uint8_t, KeyGroups> keys;
    // XKB answers nothing to a client that has not announced the version it speaks.
    const auto use = xcb_xkb_use_extension(m_connection, 1, 0);
    const auto map =
        xcb_xkb_get_map(m_connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_MAP_PART_KEY_SYMS, 0, 0, 0,
                        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const XcbReply<xcb_xkb_use_extension_reply_t> used(
        xcb_xkb_use_extension_reply(m_connection, use, nullptr));
    const XcbReply<xcb_xkb_get_map_reply_t> reply(
        xcb_xkb_get_map_reply(m_connection, map, nullptr));
    if (!used || !used->supported || !reply)
        return keys;
    xcb_xkb_get_map_map_t parts;
    xcb_xkb_get_map_map_unpack(xcb_xkb_get_map_map(reply.get()), reply->nTypes, reply->nKeySyms,
                               reply->nKeyActions, reply->totalActions, reply->totalKeyBehaviors,
                               reply->virtualMods, reply->totalKeyExplicit, reply->totalModMapKeys,
                               reply->totalVModMapKeys, reply->present, &parts);
    auto it = xcb_xkb_get_map_map_syms_rtrn_iterator(reply.get(), &parts);
    for (int code = reply->firstKeySym; it.rem > 0; ++code, xcb_xkb_key_sym_map_next(&it)) {
        const xcb_keysym_t* symbols = xcb_xkb_key_sym_map_syms(it.data);
        const int count = xcb_xkb_key_sym_map_syms_length(it.data);
        keys.insert(static_cast<uint8_t>(code),
                    {static_cast<uint8_t>(it.data->groupInfo & 0x0f), it.data->width,
                     QList<uint32_t>(symbols, symbols + count)});
    }
    return keys;
}

QList<uint8_t> X11Keymap::keycodesFor(uint32_t wanted, int group) const
{
    QList<uint8_t> result;
    for (int code = m_min; code <= m_max; ++code) {
        const auto keycode = static_cast<uint8_t>(code);
        if (groupKeysym(keycode, group, 0) == wanted || groupKeysym(keycode, group, 1) == wanted)
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
