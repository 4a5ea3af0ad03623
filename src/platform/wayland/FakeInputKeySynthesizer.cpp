// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/FakeInputKeySynthesizer.h"

#include "platform/wayland/WaylandConnection.h"

#include <chrono>
#include <fake-input-client-protocol.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tessel::wayland {

namespace {
constexpr uint32_t kFakeInputVersion = 4;
constexpr auto kFocusWait = 1000ms;
constexpr auto kPollInterval = 20ms;
constexpr auto kHoldTime = 20ms;
constexpr auto kAnswerWait = 3000ms;
// Linux evdev codes (linux/input-event-codes.h).
constexpr uint32_t kKeyLeftCtrl = 29;
constexpr uint32_t kKeyLeftShift = 42;
constexpr uint32_t kKeyV = 47;
constexpr uint32_t kKeysymV = 0x76;
// XKB numbers keys 8 above evdev.
constexpr uint32_t kXkbOffset = 8;

void enterIgnored(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void leaveIgnored(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void keyIgnored(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void modifiersIgnored(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void seatNameIgnored(void*, wl_seat*, const char*) {}
} // namespace

FakeInputKeySynthesizer::FakeInputKeySynthesizer(WaylandConnection& connection,
                                                 std::function<bool()> ownWindowActive,
                                                 QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_ownWindowActive(std::move(ownWindowActive))
{
    m_fakeInput = static_cast<org_kde_kwin_fake_input*>(
        m_connection.bind(QLatin1StringView(org_kde_kwin_fake_input_interface.name),
                          &org_kde_kwin_fake_input_interface, kFakeInputVersion));
    if (m_fakeInput) {
        org_kde_kwin_fake_input_authenticate(m_fakeInput, "Tessel",
                                             "Paste the chosen clipboard entry");
    }
    if (wl_seat* seat = m_connection.seat()) {
        static const wl_seat_listener seatListener{&FakeInputKeySynthesizer::onCapabilities,
                                                   &seatNameIgnored};
        wl_seat_add_listener(seat, &seatListener, this);
    }
    m_connection.flush();
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &FakeInputKeySynthesizer::typeWhenFocused);
}

FakeInputKeySynthesizer::~FakeInputKeySynthesizer()
{
    if (m_connection.hasFailed())
        return;
    if (m_keyboard)
        wl_keyboard_destroy(m_keyboard);
    if (m_fakeInput)
        org_kde_kwin_fake_input_destroy(m_fakeInput);
    m_connection.flush();
}

bool FakeInputKeySynthesizer::isAvailable() const
{
    return m_fakeInput && !m_connection.hasFailed() &&
           wl_proxy_get_version(reinterpret_cast<wl_proxy*>(m_fakeInput)) >= 4;
}

void FakeInputKeySynthesizer::onCapabilities(void* data, wl_seat* seat, uint32_t capabilities)
{
    auto* self = static_cast<FakeInputKeySynthesizer*>(data);
    if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) || self->m_keyboard)
        return;
    // Only the keymap is wanted: the keyboard never enters a surface of this connection.
    self->m_keyboard = wl_seat_get_keyboard(seat);
    static const wl_keyboard_listener listener{&FakeInputKeySynthesizer::onKeymap,
                                               &enterIgnored,
                                               &leaveIgnored,
                                               &keyIgnored,
                                               &modifiersIgnored,
                                               nullptr};
    wl_keyboard_add_listener(self->m_keyboard, &listener, self);
}

void FakeInputKeySynthesizer::onKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd,
                                       uint32_t size)
{
    auto* self = static_cast<FakeInputKeySynthesizer*>(data);
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
        void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            self->m_keymap = QByteArray(static_cast<const char*>(map), qsizetype(size));
            munmap(map, size);
        }
    }
    ::close(fd);
}

uint32_t FakeInputKeySynthesizer::keyFor(uint32_t keysym, uint32_t fallback) const
{
    if (m_keymap.isEmpty())
        return fallback;
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!context)
        return fallback;
    xkb_keymap* keymap = xkb_keymap_new_from_string(
        context, m_keymap.constData(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    uint32_t found = 0;
    if (keymap) {
        // The first group's first level: what the key types with no modifier held.
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap);
             !found && key <= xkb_keymap_max_keycode(keymap); ++key) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, key, 0, 0, &syms);
            if (count == 1 && syms[0] == keysym && key >= kXkbOffset)
                found = key - kXkbOffset;
        }
        xkb_keymap_unref(keymap);
    }
    xkb_context_unref(context);
    return found ? found : fallback;
}

void FakeInputKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (m_done) {
        done(u"a paste is already being sent"_s);
        return;
    }
    if (!isAvailable()) {
        done(u"the compositor did not grant its fake-input protocol"_s);
        return;
    }
    m_chord = {kKeyLeftCtrl};
    if (chord == PasteChord::controlShiftV)
        m_chord << kKeyLeftShift;
    m_chord << keyFor(kKeysymV, kKeyV);
    m_done = std::move(done);
    m_waiting.start();
    typeWhenFocused();
}

void FakeInputKeySynthesizer::typeWhenFocused()
{
    if (!m_done)
        return;
    // The keys go to the active window: while Tessel's popup still is, they would be lost.
    if (m_ownWindowActive && m_ownWindowActive() && !m_waiting.hasExpired(kFocusWait.count())) {
        m_poll.start(kPollInterval);
        return;
    }
    pressChord();
}

void FakeInputKeySynthesizer::pressChord()
{
    for (const uint32_t key : std::as_const(m_chord))
        org_kde_kwin_fake_input_keyboard_key(m_fakeInput, key, WL_KEYBOARD_KEY_STATE_PRESSED);
    m_connection.flush();
    QTimer::singleShot(kHoldTime, this, [this] {
        for (auto key = m_chord.crbegin(); key != m_chord.crend(); ++key)
            org_kde_kwin_fake_input_keyboard_key(m_fakeInput, *key, WL_KEYBOARD_KEY_STATE_RELEASED);
        m_connection.flush();
        // A compositor that withdrew the grant closes the connection instead of answering.
        m_connection.sync(kAnswerWait, this, [this](bool answered) {
            if (answered)
                complete(QString());
            else if (m_connection.hasFailed())
                complete(u"the compositor refused the fake input"_s);
            else
                complete(u"the compositor did not confirm the keys"_s);
        });
    });
}

void FakeInputKeySynthesizer::tap(uint32_t key, const QList<uint32_t>& modifiers)
{
    if (!isAvailable())
        return;
    for (const uint32_t modifier : modifiers)
        org_kde_kwin_fake_input_keyboard_key(m_fakeInput, modifier, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(m_fakeInput, key, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(m_fakeInput, key, WL_KEYBOARD_KEY_STATE_RELEASED);
    for (auto modifier = modifiers.crbegin(); modifier != modifiers.crend(); ++modifier)
        org_kde_kwin_fake_input_keyboard_key(m_fakeInput, *modifier,
                                             WL_KEYBOARD_KEY_STATE_RELEASED);
    m_connection.flush();
}

void FakeInputKeySynthesizer::complete(const QString& error)
{
    Completion done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(error);
}

} // namespace tessel::wayland
