// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandKeySynthesizer.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandToplevels.h"

#include <chrono>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <virtual-keyboard-unstable-v1-client-protocol.h>
#include <wayland-client.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tessel::wayland {

namespace {
constexpr auto kFocusWait = 1000ms;
constexpr auto kHoldTime = 20ms;
// A compositor answers in milliseconds; this is for one that hangs.
constexpr auto kAnswerWait = 3000ms;

// The keymap goes to the compositor as a sealed in-memory file; -1 when one cannot be made.
int keymapFile(const QByteArray& text)
{
    const int fd = memfd_create("tessel-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    qsizetype written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + written, size_t(text.size() - written));
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        written += n;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}
} // namespace

WaylandKeySynthesizer::WaylandKeySynthesizer(WaylandConnection& connection,
                                             WaylandToplevels* toplevels,
                                             std::function<bool(const QString&)> isOwnWindow,
                                             QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_toplevels(toplevels)
    , m_isOwnWindow(std::move(isOwnWindow))
{
    m_clock.start();
    m_manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
        m_connection.bind(QLatin1StringView(zwp_virtual_keyboard_manager_v1_interface.name),
                          &zwp_virtual_keyboard_manager_v1_interface, 1));
    // Made now rather than at the first paste: a seat that gains its first keyboard announces
    // it to every client, and a client that has not bound its keyboard yet misses keys sent
    // right after (a seat without a hardware keyboard, such as a headless or kiosk session).
    if (isAvailable())
        ensureKeyboard();
    m_focusDeadline.setSingleShot(true);
    connect(&m_focusDeadline, &QTimer::timeout, this, &WaylandKeySynthesizer::press);
    if (m_toplevels) {
        connect(m_toplevels, &WaylandToplevels::activeChanged, this, [this] {
            if (m_focusDeadline.isActive() && focusIsElsewhere()) {
                m_focusDeadline.stop();
                press();
            }
        });
    }
}

WaylandKeySynthesizer::~WaylandKeySynthesizer()
{
    if (m_connection.hasFailed())
        return;
    if (m_keyDown)
        release();
    if (m_keyboard)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    if (m_manager)
        zwp_virtual_keyboard_manager_v1_destroy(m_manager);
    m_connection.flush();
}

bool WaylandKeySynthesizer::isAvailable() const
{
    return m_manager && m_keymap.isValid() && !m_connection.hasFailed() && m_connection.seat();
}

void WaylandKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (m_done) {
        done(u"a paste is already being sent"_s);
        return;
    }
    if (!isAvailable()) {
        done(u"the compositor offers no virtual keyboard"_s);
        return;
    }
    m_press = *m_keymap.press(chord);
    m_done = std::move(done);
    typeWhenFocused();
}

bool WaylandKeySynthesizer::focusIsElsewhere() const
{
    if (!m_toplevels || !m_toplevels->isAvailable())
        return true;
    const quint64 active = m_toplevels->activeId();
    return active != 0 && !m_isOwnWindow(m_toplevels->appIdOf(active));
}

void WaylandKeySynthesizer::typeWhenFocused()
{
    // The compositor types into the active window: while Tessel's popup still is (or nothing
    // is), the keys would be lost. Past the deadline they go wherever the focus is.
    if (focusIsElsewhere())
        press();
    else
        m_focusDeadline.start(kFocusWait);
}

bool WaylandKeySynthesizer::ensureKeyboard()
{
    if (m_keyboard)
        return true;
    m_keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_connection.seat());
    const int fd = keymapFile(m_keymap.text());
    if (fd < 0)
        return false;
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   uint32_t(m_keymap.text().size()));
    // The request holds a duplicate of the descriptor.
    ::close(fd);
    m_connection.flush();
    return !m_connection.hasFailed();
}

void WaylandKeySynthesizer::press()
{
    if (!m_done)
        return;
    if (!ensureKeyboard()) {
        complete(u"the virtual keyboard could not be set up"_s);
        return;
    }
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_press.modifiers, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(m_keyboard, timestamp(), m_press.evdevKey,
                                WL_KEYBOARD_KEY_STATE_PRESSED);
    m_keyDown = true;
    m_connection.flush();
    if (m_connection.hasFailed()) {
        m_keyDown = false;
        complete(u"the compositor closed the connection"_s);
        return;
    }
    QTimer::singleShot(kHoldTime, this, [this] {
        release();
        // Only the compositor's answer to a sync shows that it took the keys (an unauthorised
        // client is disconnected instead); a compositor that never answers must not leave the
        // paste pending.
        m_connection.sync(kAnswerWait, this, [this](bool answered) {
            if (answered)
                complete(QString());
            else if (m_connection.hasFailed())
                complete(u"the compositor refused the virtual keyboard"_s);
            else
                complete(u"the compositor did not confirm the keys"_s);
        });
    });
}

void WaylandKeySynthesizer::release()
{
    if (!m_keyDown || m_connection.hasFailed())
        return;
    zwp_virtual_keyboard_v1_key(m_keyboard, timestamp(), m_press.evdevKey,
                                WL_KEYBOARD_KEY_STATE_RELEASED);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
    m_keyDown = false;
    m_connection.flush();
}

void WaylandKeySynthesizer::complete(const QString& error)
{
    Completion done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(error);
}

uint32_t WaylandKeySynthesizer::timestamp() const
{
    return uint32_t(m_clock.elapsed());
}

} // namespace tessel::wayland
