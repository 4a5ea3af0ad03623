// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/VirtualKeymap.h"

#include <QTest>
#include <memory>
#include <xkbcommon/xkbcommon.h>

using namespace tessel;
using namespace tessel::wayland;

Q_DECLARE_METATYPE(tessel::PasteChord)

namespace {
struct ContextFree {
    void operator()(xkb_context* c) const { xkb_context_unref(c); }
};
struct KeymapFree {
    void operator()(xkb_keymap* k) const { xkb_keymap_unref(k); }
};
struct StateFree {
    void operator()(xkb_state* s) const { xkb_state_unref(s); }
};

bool isActive(xkb_state* state, const char* modifier)
{
    return xkb_state_mod_name_is_active(state, modifier, XKB_STATE_MODS_EFFECTIVE) > 0;
}
} // namespace

// The keymap and key press a virtual keyboard sends, read back the way the receiving
// application reads them: from the keymap text the compositor passes on.
class TestVirtualKeymap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void receiverSeesTheChord_data()
    {
        QTest::addColumn<PasteChord>("chord");
        QTest::addColumn<QByteArray>("userLayout");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<uint32_t>("keysym");
        QTest::newRow("Ctrl+V") << PasteChord::controlV << QByteArray() << false
                                << uint32_t(XKB_KEY_v);
        QTest::newRow("Ctrl+Shift+V for terminals")
            << PasteChord::controlShiftV << QByteArray() << true << uint32_t(XKB_KEY_V);
        // A user layout where no key types "v", and one where V sits elsewhere.
        QTest::newRow("Russian layout in the environment")
            << PasteChord::controlV << QByteArray("ru") << false << uint32_t(XKB_KEY_v);
        QTest::newRow("Dvorak in the environment")
            << PasteChord::controlV << QByteArray("us(dvorak)") << false << uint32_t(XKB_KEY_v);
    }
    void receiverSeesTheChord()
    {
        QFETCH(PasteChord, chord);
        QFETCH(QByteArray, userLayout);
        QFETCH(bool, shift);
        QFETCH(uint32_t, keysym);
        if (!userLayout.isEmpty())
            qputenv("XKB_DEFAULT_LAYOUT", userLayout);
        const VirtualKeymap keymap;
        qunsetenv("XKB_DEFAULT_LAYOUT");
        QVERIFY(keymap.isValid());
        QVERIFY(keymap.text().endsWith('\0'));
        const auto press = keymap.press(chord);
        QVERIFY(press.has_value());

        const std::unique_ptr<xkb_context, ContextFree> context(
            xkb_context_new(XKB_CONTEXT_NO_FLAGS));
        const std::unique_ptr<xkb_keymap, KeymapFree> received(
            xkb_keymap_new_from_string(context.get(), keymap.text().constData(),
                                       XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
        QVERIFY(received);
        const std::unique_ptr<xkb_state, StateFree> state(xkb_state_new(received.get()));
        xkb_state_update_mask(state.get(), press->modifiers, 0, 0, 0, 0, 0);
        const xkb_keycode_t keycode = press->evdevKey + 8;
        QCOMPARE(xkb_state_key_get_one_sym(state.get(), keycode), keysym);
        QVERIFY(isActive(state.get(), XKB_MOD_NAME_CTRL));
        QCOMPARE(isActive(state.get(), XKB_MOD_NAME_SHIFT), shift);
        QVERIFY(!isActive(state.get(), XKB_MOD_NAME_ALT));
        QVERIFY(!isActive(state.get(), XKB_MOD_NAME_LOGO));
        QVERIFY(!isActive(state.get(), XKB_MOD_NAME_CAPS));
        // Held longer than the application's repeat delay, the chord still pastes once.
        QVERIFY(!xkb_keymap_key_repeats(received.get(), keycode));
    }
};

QTEST_GUILESS_MAIN(TestVirtualKeymap)
#include "test_virtual_keymap.moc"
