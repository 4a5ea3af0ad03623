// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11IncrSender.h"

#include <algorithm>
#include <xcb/xcb.h>

namespace tessel::x11 {

X11IncrSender::X11IncrSender(xcb_connection_t* connection, uint32_t incrAtom, qsizetype chunkBytes)
    : m_connection(connection)
    , m_incr(incrAtom)
    , m_chunkBytes(chunkBytes)
{}

X11IncrSender::~X11IncrSender() = default;

void X11IncrSender::start(uint32_t requestor, uint32_t property, uint32_t type, QByteArray bytes)
{
    // A requestor asking again for the same property has given up on the earlier transfer.
    m_transfers.removeIf(
        [&](const Transfer& t) { return t.requestor == requestor && t.property == property; });
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, requestor, XCB_CW_EVENT_MASK, &events);
    const auto announced = static_cast<uint32_t>(std::min<qsizetype>(bytes.size(), UINT32_MAX));
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, m_incr, 32, 1,
                        &announced);
    m_transfers.append({requestor, property, type, std::move(bytes), 0, Clock::now()});
}

bool X11IncrSender::propertyChanged(const xcb_property_notify_event_t& event)
{
    if (event.state != XCB_PROPERTY_DELETE)
        return false;
    const auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
        return t.requestor == event.window && t.property == event.atom;
    });
    if (it == m_transfers.end())
        return false;
    const qsizetype size = std::min(m_chunkBytes, it->bytes.size() - it->sent);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, it->requestor, it->property, it->type,
                        8, static_cast<uint32_t>(size), it->bytes.constData() + it->sent);
    it->sent += size;
    it->lastProgress = Clock::now();
    if (size == 0) {
        // The empty piece was the last one.
        const uint32_t requestor = it->requestor;
        m_transfers.erase(it);
        release(requestor);
    }
    xcb_flush(m_connection);
    return true;
}

void X11IncrSender::dropStalled(Clock::time_point now)
{
    QList<uint32_t> dropped;
    m_transfers.removeIf([&](const Transfer& t) {
        const bool stalled = now - t.lastProgress > stallTimeout;
        if (stalled)
            dropped.append(t.requestor);
        return stalled;
    });
    for (const uint32_t requestor : std::as_const(dropped))
        release(requestor);
    xcb_flush(m_connection);
}

void X11IncrSender::release(uint32_t requestor)
{
    const bool busy = std::any_of(m_transfers.cbegin(), m_transfers.cend(),
                                  [&](const Transfer& t) { return t.requestor == requestor; });
    if (busy)
        return;
    const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(m_connection, requestor, XCB_CW_EVENT_MASK, &none);
}

} // namespace tessel::x11
