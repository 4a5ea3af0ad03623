// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11HotkeyBackend.h"

#include "hotkey/SavedShortcut.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/XcbReply.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>

namespace tessel::x11 {

namespace {
// Event types inside an XKB event (its second byte).
constexpr uint8_t kXkbNewKeyboardNotify = 0;
constexpr uint8_t kXkbMapNotify = 1;
// Auto-repeat starts well within this time after a press and repeats far faster; a press later
// than this is a new one even if the release of the last one never reached us.
constexpr uint32_t kRepeatWindowMs = 2000;
} // namespace

X11HotkeyBackend::X11HotkeyBackend(QObject* parent)
    : HotkeyBackend(parent)
{
    if (auto* c = X11Connection::connection()) {
        m_keymap = std::make_unique<X11Keymap>(c);
        // By name: xcb/xkb.h does not compile as C++ (a member is called `explicit`).
        const QByteArray name = QByteArrayLiteral("XKEYBOARD");
        const auto cookie =
            xcb_query_extension(c, static_cast<uint16_t>(name.size()), name.constData());
        const XcbReply<xcb_query_extension_reply_t> reply(
            xcb_query_extension_reply(c, cookie, nullptr));
        if (reply && reply->present)
            m_xkbEventBase = reply->first_event;
    }
}

X11HotkeyBackend::~X11HotkeyBackend()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const Registration& registration : std::as_const(m_registrations))
        ungrab(registration);
    if (auto* c = X11Connection::connection())
        xcb_flush(c);
}

int X11HotkeyBackend::install()
{
    if (!X11Connection::connection() || !QCoreApplication::instance())
        return 1;
    if (!m_installed) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_installed = true;
    }
    return 0;
}

void X11HotkeyBackend::registerHotkey(int id, quint32 keysym, quint32 modifiers)
{
    unregisterHotkey(id);
    Registration registration{keysym, modifiers, {}, 0, 0, false};
    registration.grabbed = grab(registration);
    if (registration.grabbed)
        m_registrations.insert(id, registration);
    Q_EMIT registrationChanged(id, registration.grabbed);
}

void X11HotkeyBackend::unregisterHotkey(int id)
{
    const auto it = m_registrations.find(id);
    if (it == m_registrations.end())
        return;
    ungrab(*it);
    m_registrations.erase(it);
    if (auto* c = X11Connection::connection())
        xcb_flush(c);
}

quint32 X11HotkeyBackend::baseKeysym(quint32 nativeScanCode) const
{
    if (!m_keymap || nativeScanCode > 255)
        return 0;
    return m_keymap->keysym(static_cast<uint8_t>(nativeScanCode), 0);
}

QList<uint16_t> X11HotkeyBackend::variants(const Registration& registration) const
{
    // The server matches the modifier state exactly, so Caps Lock and Num Lock each double the
    // number of grabs.
    QList<uint16_t> result{registration.mask,
                           static_cast<uint16_t>(registration.mask | XCB_MOD_MASK_LOCK)};
    if (registration.numLockMask) {
        result.append(registration.mask | registration.numLockMask);
        result.append(registration.mask | registration.numLockMask | XCB_MOD_MASK_LOCK);
    }
    return result;
}

bool X11HotkeyBackend::grab(Registration& registration)
{
    auto* c = X11Connection::connection();
    if (!c || !m_keymap || !m_keymap->isValid())
        return false;
    registration.keycodes = m_keymap->keycodesForShortcut(registration.keysym);
    registration.mask = m_keymap->maskFor(registration.modifiers);
    registration.numLockMask = m_keymap->numLockMask();
    if (registration.keycodes.isEmpty())
        return false;
    // A modifier that no key in the current map produces can never be pressed.
    if ((registration.modifiers & ShortcutModifier::command && !m_keymap->superMask()) ||
        (registration.modifiers & ShortcutModifier::option && !m_keymap->altMask()))
        return false;

    const xcb_window_t root = X11Connection::rootWindow();
    QList<xcb_void_cookie_t> cookies;
    for (const uint8_t keycode : std::as_const(registration.keycodes)) {
        for (const uint16_t modifiers : variants(registration)) {
            // owner_events false: the press is reported to the root window, never to one of
            // Tessel's own windows, so the popup's key handling cannot swallow it.
            cookies.append(xcb_grab_key_checked(c, 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                                XCB_GRAB_MODE_ASYNC));
        }
    }
    bool refused = false;
    for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
        if (XcbReply<xcb_generic_error_t>(xcb_request_check(c, cookie)))
            refused = true;
    }
    if (refused) {
        ungrab(registration);
        xcb_flush(c);
        return false;
    }
    return true;
}

void X11HotkeyBackend::ungrab(const Registration& registration)
{
    auto* c = X11Connection::connection();
    if (!c)
        return;
    // Releasing a combination that another client holds leaves that client's grab alone.
    const xcb_window_t root = X11Connection::rootWindow();
    for (const uint8_t keycode : registration.keycodes) {
        for (const uint16_t modifiers : variants(registration))
            xcb_ungrab_key(c, keycode, root, modifiers);
    }
}

bool X11HotkeyBackend::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS && m_keymap) {
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        const uint16_t state = press->state & m_keymap->relevantMask();
        for (auto it = m_registrations.cbegin(); it != m_registrations.cend(); ++it) {
            if (it->mask == state && it->keycodes.contains(press->detail)) {
                const bool repeat = isRepeat(press->detail, press->time);
                m_heldKeycode = press->detail;
                m_lastPressTime = press->time;
                if (!repeat)
                    Q_EMIT activated(it.key());
                break;
            }
        }
    } else if (type == XCB_KEY_RELEASE) {
        const auto* release = static_cast<const xcb_key_release_event_t*>(message);
        m_lastRelease = {release->detail, release->time};
        if (m_heldKeycode == release->detail)
            m_heldKeycode.reset();
    } else if (type == XCB_MAPPING_NOTIFY) {
        scheduleKeymapRefresh();
    } else if (m_xkbEventBase && type == m_xkbEventBase) {
        const uint8_t xkbType = reinterpret_cast<const uint8_t*>(message)[1];
        if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify)
            scheduleKeymapRefresh();
    }
    // Never swallow: Qt still needs the event (it records the server time from it).
    return false;
}

bool X11HotkeyBackend::isRepeat(uint8_t keycode, uint32_t time) const
{
    // Detectable auto-repeat sends presses only; the plain kind pairs each with a release.
    return (m_heldKeycode == keycode && time - m_lastPressTime < kRepeatWindowMs) ||
           (m_lastRelease.keycode == keycode && m_lastRelease.time == time);
}

void X11HotkeyBackend::scheduleKeymapRefresh()
{
    // One layout switch sends a burst of notifications; rebuild once after the burst.
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, &X11HotkeyBackend::refreshKeymap);
}

void X11HotkeyBackend::refreshKeymap()
{
    m_refreshQueued = false;
    auto* c = X11Connection::connection();
    if (!c)
        return;
    for (const Registration& registration : std::as_const(m_registrations))
        ungrab(registration);
    m_keymap = std::make_unique<X11Keymap>(c);
    // A layout without the key (Russian has no v) leaves the registration waiting, without grabs,
    // for a layout that has it.
    QList<std::pair<int, bool>> changes;
    for (auto it = m_registrations.begin(); it != m_registrations.end(); ++it) {
        const bool grabbed = grab(*it);
        if (!grabbed)
            it->keycodes.clear();
        if (grabbed != it->grabbed)
            changes.append({it.key(), grabbed});
        it->grabbed = grabbed;
    }
    xcb_flush(c);
    for (const auto& [id, grabbed] : std::as_const(changes))
        Q_EMIT registrationChanged(id, grabbed);
}

} // namespace tessel::x11
