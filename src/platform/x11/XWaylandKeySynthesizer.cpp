// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/XWaylandKeySynthesizer.h"

#include <cstdlib>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

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
    m_keys.setManagedWindowsOnly(true);
    // Every client receives MappingNotify (XWayland sends one each time the compositor's keymap
    // changes); events left unread would pile up in the connection.
    connect(&m_events, &QSocketNotifier::activated, this, &XWaylandKeySynthesizer::drainEvents);
}

// The X11 synthesiser releases its keys on the connection, so it goes first.
XWaylandKeySynthesizer::~XWaylandKeySynthesizer() = default;

bool XWaylandKeySynthesizer::isAvailable() const
{
    return m_keys.isAvailable();
}

void XWaylandKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (!isAvailable()) {
        done(u"XWayland is no longer reachable"_s);
        return;
    }
    m_keys.sendPaste(chord, std::move(done));
}

void XWaylandKeySynthesizer::drainEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get()))
        std::free(event);
    if (xcb_connection_has_error(m_connection.get()))
        m_events.setEnabled(false);
}

} // namespace tessel::x11
