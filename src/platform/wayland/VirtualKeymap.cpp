// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/VirtualKeymap.h"

#include <cstdlib>
#include <memory>
#include <xkbcommon/xkbcommon.h>

namespace tessel::wayland {

namespace {
// The offset between XKB key codes and the evdev codes the virtual keyboard speaks.
constexpr uint32_t kEvdevOffset = 8;

struct ContextFree {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapFree {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};

uint32_t modifierMask(xkb_keymap* keymap, const char* name)
{
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID ? 0 : 1u << index;
}

// The key that types `keysym` without modifiers in the first layout; 0 when none does.
xkb_keycode_t keycodeTyping(xkb_keymap* keymap, xkb_keysym_t keysym)
{
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
         code <= xkb_keymap_max_keycode(keymap); ++code) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
        if (count == 1 && syms[0] == keysym)
            return code;
    }
    return 0;
}

// The keymap text with `code` marked as a key that does not repeat: the receiving application
// repeats held keys by itself, and would paste twice were the release late (a busy machine).
// The text unchanged when xkbcommon does not read the mark back.
QByteArray withoutRepeat(xkb_context* context, const QByteArray& text, xkb_keymap* keymap,
                         xkb_keycode_t code)
{
    const char* name = xkb_keymap_key_get_name(keymap, code);
    if (!name)
        return text;
    QByteArray entry("key <");
    entry += name;
    entry += '>';
    const qsizetype key = text.indexOf(entry);
    const qsizetype body = key < 0 ? -1 : text.indexOf('{', key);
    if (body < 0)
        return text;
    QByteArray marked = text;
    marked.insert(body + 1, " repeat= False,");
    const std::unique_ptr<xkb_keymap, KeymapFree> check(xkb_keymap_new_from_string(
        context, marked.constData(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    return check && !xkb_keymap_key_repeats(check.get(), code) ? marked : text;
}
} // namespace

VirtualKeymap::VirtualKeymap(const char* usVariant)
{
    // Names are given in full so that XKB_DEFAULT_* variables of the user cannot change the
    // layout the chord is typed in.
    const std::unique_ptr<xkb_context, ContextFree> context(
        xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (!context)
        return;
    const xkb_rule_names names{
        .rules = "evdev", .model = "pc105", .layout = "us", .variant = usVariant, .options = ""};
    const std::unique_ptr<xkb_keymap, KeymapFree> keymap(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return;
    const xkb_keycode_t v = keycodeTyping(keymap.get(), XKB_KEY_v);
    const uint32_t control = modifierMask(keymap.get(), XKB_MOD_NAME_CTRL);
    m_shiftMask = modifierMask(keymap.get(), XKB_MOD_NAME_SHIFT);
    if (v < kEvdevOffset || control == 0 || m_shiftMask == 0)
        return;
    const std::unique_ptr<char, decltype(&std::free)> text(
        xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1), &std::free);
    if (!text)
        return;
    m_text = withoutRepeat(context.get(), QByteArray(text.get()), keymap.get(), v);
    m_text.append('\0');
    m_press = VirtualKeyPress{control, v - kEvdevOffset};
}

std::optional<VirtualKeyPress> VirtualKeymap::press(PasteChord chord) const
{
    if (!isValid())
        return std::nullopt;
    VirtualKeyPress press = *m_press;
    if (chord == PasteChord::controlShiftV)
        press.modifiers |= m_shiftMask;
    return press;
}

} // namespace tessel::wayland
