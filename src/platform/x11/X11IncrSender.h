// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <chrono>
#include <cstdint>
#include <xcb/xcb.h>

namespace tessel::x11 {

// Selection answers too large for one request, sent in pieces as ICCCM's INCR protocol has it:
// the size is announced, then each time the requestor deletes the property it has read, the next
// piece goes into it, and an empty piece ends the transfer. Nothing waits for the requestor; a
// requestor that stops taking pieces is dropped after a while.
class X11IncrSender {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds stallTimeout{5};

    X11IncrSender(xcb_connection_t* connection, uint32_t incrAtom, qsizetype chunkBytes);
    ~X11IncrSender();
    X11IncrSender(const X11IncrSender&) = delete;
    X11IncrSender& operator=(const X11IncrSender&) = delete;

    // Announces `bytes` (of property type `type`, 8-bit) on the requestor's `property`; the
    // caller then sends the SelectionNotify that points the requestor at it.
    void start(uint32_t requestor, uint32_t property, uint32_t type, QByteArray bytes);
    // Hands out the next piece when the event is a requestor taking the last one; false when the
    // event belongs to no transfer.
    bool propertyChanged(const xcb_property_notify_event_t& event);
    // Forgets transfers whose requestor has taken nothing since `stallTimeout` before `now`.
    void dropStalled(Clock::time_point now);
    bool isEmpty() const { return m_transfers.isEmpty(); }

private:
    struct Transfer {
        uint32_t requestor = 0;
        uint32_t property = 0;
        uint32_t type = 0;
        QByteArray bytes;
        qsizetype sent = 0;
        Clock::time_point lastProgress;
    };

    // Stops listening to the requestor's properties once no transfer goes to it.
    void release(uint32_t requestor);

    xcb_connection_t* m_connection;
    uint32_t m_incr;
    qsizetype m_chunkBytes;
    QList<Transfer> m_transfers;
};

} // namespace tessel::x11
