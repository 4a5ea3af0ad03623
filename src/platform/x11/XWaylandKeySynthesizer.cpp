#include "platform/x11/XWaylandKeySynthesizer.h"

#include "platform/x11/XcbReply.h"

#include <chrono>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tessel::x11 {

namespace {
constexpr auto kFocusWait = 1000ms;
constexpr auto kPollInterval = 20ms;
// ICCCM's WM_STATE value of a window that is shown.
constexpr uint32_t kNormalState = 1;
// Deep enough for any toolkit's focus proxies; a bound against a malformed tree.
constexpr int kMaxDepth = 32;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name, uint16_t length)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, length, name), nullptr));
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
} // namespace

void XWaylandKeySynthesizer::Disconnect::operator()(xcb_connection_t* connection) const
{
    xcb_disconnect(connection);
}

std::unique_ptr<XWaylandKeySynthesizer> XWaylandKeySynthesizer::open()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    std::unique_ptr<XWaylandKeySynthesizer> keys(new XWaylandKeySynthesizer(std::move(connection)));
    return keys->isAvailable() ? std::move(keys) : nullptr;
}

XWaylandKeySynthesizer::XWaylandKeySynthesizer(
    std::unique_ptr<xcb_connection_t, Disconnect> connection)
    : m_connection(std::move(connection))
    , m_events(xcb_get_file_descriptor(m_connection.get()), QSocketNotifier::Read)
    , m_keys(m_connection.get())
{
    m_keys.setTestKeyboardHasOwnKeymap(true);
    // Every client receives MappingNotify (XWayland sends one each time the compositor's keymap
    // changes); events left unread would pile up in the connection.
    connect(&m_events, &QSocketNotifier::activated, this, &XWaylandKeySynthesizer::drainEvents);
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &XWaylandKeySynthesizer::typeWhenX11Focused);
}

// The X11 synthesiser releases its keys on the connection, so it goes first.
XWaylandKeySynthesizer::~XWaylandKeySynthesizer() = default;

bool XWaylandKeySynthesizer::isAvailable() const
{
    return m_keys.isAvailable();
}

void XWaylandKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (m_done) {
        done(u"a paste is already being sent"_s);
        return;
    }
    if (!isAvailable()) {
        done(u"XWayland is no longer reachable"_s);
        return;
    }
    m_chord = chord;
    m_done = std::move(done);
    m_waiting.start();
    typeWhenX11Focused();
}

bool XWaylandKeySynthesizer::focusIsOnX11Window() const
{
    xcb_connection_t* c = m_connection.get();
    static constexpr char name[] = "WM_STATE";
    const xcb_atom_t wmState = internAtom(c, name, sizeof name - 1);
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus || wmState == xcb_atom_t(XCB_ATOM_NONE))
        return false;
    xcb_window_t window = focus->focus;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
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

void XWaylandKeySynthesizer::drainEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get()))
        std::free(event);
    if (xcb_connection_has_error(m_connection.get()))
        m_events.setEnabled(false);
}

void XWaylandKeySynthesizer::typeWhenX11Focused()
{
    if (!isAvailable()) {
        complete(u"XWayland is no longer reachable"_s);
        return;
    }
    if (focusIsOnX11Window()) {
        m_keys.sendPaste(m_chord, [this](const QString& error) { complete(error); });
        return;
    }
    if (!m_waiting.hasExpired(std::chrono::milliseconds(kFocusWait).count())) {
        m_poll.start(kPollInterval);
        return;
    }
    complete(u"the active window is not an X11 window, and this compositor lets Tessel type "
             u"into X11 windows only"_s);
}

void XWaylandKeySynthesizer::complete(const QString& error)
{
    Completion done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(error);
}

} // namespace tessel::x11
