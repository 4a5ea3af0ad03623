// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11KeySynthesizer.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/XcbReply.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tessel::x11 {

namespace {
constexpr uint32_t kKeysymV = 0x0076;
constexpr uint32_t kKeysymCapitalV = 0x0056;
constexpr uint32_t kKeysymControlL = 0xffe3;
constexpr uint32_t kKeysymControlR = 0xffe4;
constexpr uint32_t kKeysymShiftL = 0xffe1;
constexpr uint32_t kKeysymShiftR = 0xffe2;
// The V key of a US keyboard on the evdev keycodes every current X server uses.
constexpr uint8_t kUsVKeycode = 55;

constexpr auto kPollInterval = 20ms;
constexpr auto kReleaseWait = 1000ms;
constexpr auto kHoldTime = 20ms;
// Long enough for the receiving client to have read the key with the borrowed mapping.
constexpr auto kRestoreDelay = 500ms;
// ICCCM's WM_STATE value of a window that is shown.
constexpr uint32_t kNormalState = 1;
// Deep enough for any toolkit's focus proxies; a bound against a malformed tree.
constexpr int kMaxTreeDepth = 32;

void fakeKey(xcb_connection_t* c, uint8_t type, uint8_t keycode)
{
    xcb_test_fake_input(c, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

QList<uint8_t> heldKeys(xcb_connection_t* c, const QList<uint8_t>& candidates)
{
    const auto cookie = xcb_query_keymap(c);
    XcbReply<xcb_query_keymap_reply_t> reply(xcb_query_keymap_reply(c, cookie, nullptr));
    QList<uint8_t> held;
    if (!reply)
        return held;
    for (const uint8_t keycode : candidates) {
        if (reply->keys[keycode / 8] & (1u << (keycode % 8)))
            held.append(keycode);
    }
    return held;
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    const auto* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : XCB_NONE;
}

// Whether typed keys would reach no window or one of this connection's, which are Tessel's own:
// under XWayland the window manager activates the popup, and gives the previous window the focus
// back only a moment after it closes.
bool focusIsOursOrNowhere(xcb_connection_t* c)
{
    const auto cookie = xcb_get_input_focus(c);
    XcbReply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, cookie, nullptr));
    if (!reply)
        return false;
    if (reply->focus == XCB_NONE)
        return true;
    const xcb_setup_t* setup = xcb_get_setup(c);
    return reply->focus != XCB_INPUT_FOCUS_POINTER_ROOT &&
           (reply->focus & ~setup->resource_id_mask) == setup->resource_id_base;
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name);
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool hasNormalState(xcb_connection_t* c, xcb_window_t window, xcb_atom_t wmState)
{
    const auto cookie = xcb_get_property(c, 0, window, wmState, wmState, 0, 1);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return false;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get())) == kNormalState;
}

// Whether the input focus is on a window the window manager manages (one with WM_STATE, or
// inside one): under XWayland, the focus is elsewhere (None, or a placeholder of the compositor's)
// while a Wayland window is active.
bool focusIsOnManagedWindow(xcb_connection_t* c)
{
    const xcb_atom_t wmState = internAtom(c, "WM_STATE");
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus || wmState == xcb_atom_t(XCB_ATOM_NONE))
        return false;
    xcb_window_t window = focus->focus;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
        if (window == XCB_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT)
            return false;
        if (hasNormalState(c, window, wmState))
            return true;
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        // A window that is gone holds no focus; past the root, the parent is None.
        if (!tree)
            return false;
        window = tree->parent;
    }
    return false;
}

// The active keyboard group (layout): XKB reports it in bits 13-14 of the core state to clients
// that use XKB, as Qt's connection does.
int currentGroup(xcb_connection_t* c)
{
    const auto cookie = xcb_query_pointer(c, rootOf(c));
    XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c, cookie, nullptr));
    return reply ? (reply->mask >> 13) & 0x3 : 0;
}

uint8_t firstKeycode(const X11Keymap& keymap, uint32_t keysym, uint32_t alternative)
{
    const auto codes = keymap.keycodesFor(keysym);
    if (!codes.isEmpty())
        return codes.first();
    return keymap.keycodesFor(alternative).value(0, 0);
}

void mapKeycode(xcb_connection_t* c, uint8_t keycode, std::array<uint32_t, 2> keysyms)
{
    xcb_change_keyboard_mapping(c, 1, keycode, static_cast<uint8_t>(keysyms.size()),
                                keysyms.data());
}
} // namespace

X11KeySynthesizer::X11KeySynthesizer(QObject* parent)
    : X11KeySynthesizer(X11Connection::connection(), parent)
{}

X11KeySynthesizer::X11KeySynthesizer(xcb_connection_t* connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
{
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &X11KeySynthesizer::waitForTarget);
    m_restore.setSingleShot(true);
    connect(&m_restore, &QTimer::timeout, this, &X11KeySynthesizer::restoreBorrowedKey);
}

X11KeySynthesizer::~X11KeySynthesizer()
{
    if (!m_pressed.isEmpty())
        releaseChord();
    restoreBorrowedKey();
}

bool X11KeySynthesizer::isAvailable() const
{
    auto* c = m_connection;
    if (!c || xcb_connection_has_error(c))
        return false;
    const auto* xtest = xcb_get_extension_data(c, &xcb_test_id);
    return xtest && xtest->present;
}

uint8_t X11KeySynthesizer::currentVKeycode()
{
    auto* c = X11Connection::connection();
    if (!c)
        return 0;
    const X11Keymap keymap(c);
    return keymap.keycodesFor(kKeysymV, currentGroup(c)).value(0, 0);
}

void X11KeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (m_done) {
        done(u"a paste is already being sent"_s);
        return;
    }
    if (!isAvailable()) {
        done(u"the X server has no XTEST extension"_s);
        return;
    }
    m_chord = chord;
    m_done = std::move(done);
    m_waiting.start();
    waitForTarget();
}

void X11KeySynthesizer::waitForTarget()
{
    auto* c = m_connection;
    if (xcb_connection_has_error(c)) {
        complete(u"the X server closed the connection"_s);
        return;
    }
    const X11Keymap keymap(c);
    const bool held = !heldKeys(c, keymap.modifierKeycodes()).isEmpty();
    const bool targetReady =
        m_managedWindowsOnly ? focusIsOnManagedWindow(c) : !focusIsOursOrNowhere(c);
    if ((held || !targetReady) &&
        !m_waiting.hasExpired(std::chrono::milliseconds(kReleaseWait).count())) {
        m_poll.start(kPollInterval);
        return;
    }
    if (m_managedWindowsOnly && !targetReady) {
        complete(u"the active window is not an X11 window, and this compositor lets Tessel type "
                 u"into X11 windows only"_s);
        return;
    }
    pressChord();
}

void X11KeySynthesizer::adoptTestKeymap()
{
    const X11Keymap keymap(m_connection);
    if (const uint8_t shift = firstKeycode(keymap, kKeysymShiftL, kKeysymShiftR)) {
        fakeKey(m_connection, XCB_KEY_PRESS, shift);
        fakeKey(m_connection, XCB_KEY_RELEASE, shift);
    }
}

void X11KeySynthesizer::pressChord()
{
    auto* c = m_connection;
    if (m_testKeymapOfItsOwn)
        adoptTestKeymap();
    // Read after the tap, if there was one: the server handles fake input before it answers.
    const X11Keymap keymap(c);
    // The user still holds part of the shortcut: let go of it on their behalf, once.
    for (const uint8_t keycode : heldKeys(c, keymap.modifierKeycodes()))
        fakeKey(c, XCB_KEY_RELEASE, keycode);

    uint8_t vKey = keymap.keycodesFor(kKeysymV, currentGroup(c)).value(0, 0);
    if (!vKey) {
        // No key types "v" in this layout (Cyrillic, Greek...): borrow a free keycode.
        vKey = keymap.spareKeycode();
        if (vKey) {
            restoreBorrowedKey();
            mapKeycode(c, vKey, {kKeysymV, kKeysymCapitalV});
            m_borrowedKeycode = vKey;
        } else {
            vKey = kUsVKeycode;
        }
    }
    const uint8_t control = firstKeycode(keymap, kKeysymControlL, kKeysymControlR);
    if (!control) {
        complete(u"no key produces Control in the keyboard map"_s);
        return;
    }
    m_pressed = {control};
    if (m_chord == PasteChord::controlShiftV) {
        if (const uint8_t shift = firstKeycode(keymap, kKeysymShiftL, kKeysymShiftR))
            m_pressed.append(shift);
    }
    m_pressed.append(vKey);
    for (const uint8_t keycode : std::as_const(m_pressed))
        fakeKey(c, XCB_KEY_PRESS, keycode);
    xcb_flush(c);
    QTimer::singleShot(kHoldTime, this, [this] {
        releaseChord();
        complete({});
    });
}

void X11KeySynthesizer::releaseChord()
{
    auto* c = m_connection;
    if (!c || xcb_connection_has_error(c))
        return;
    for (auto it = m_pressed.crbegin(); it != m_pressed.crend(); ++it)
        fakeKey(c, XCB_KEY_RELEASE, *it);
    m_pressed.clear();
    xcb_flush(c);
    if (m_borrowedKeycode)
        m_restore.start(kRestoreDelay);
}

void X11KeySynthesizer::restoreBorrowedKey()
{
    m_restore.stop();
    auto* c = m_connection;
    if (!c || xcb_connection_has_error(c) || !m_borrowedKeycode)
        return;
    mapKeycode(c, m_borrowedKeycode, {0, 0});
    xcb_flush(c);
    m_borrowedKeycode = 0;
}

void X11KeySynthesizer::complete(const QString& error)
{
    Completion done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(error);
}

} // namespace tessel::x11
