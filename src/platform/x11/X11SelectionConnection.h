// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/x11/XcbReply.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>
#include <xcb/xcb.h>

namespace tessel::x11 {

// A change of the CLIPBOARD's owner, as XFixes reports it.
struct SelectionChange {
    uint32_t owner = 0;
    uint32_t timestamp = 0;
    // No owner because the last one's window or connection closed, not because it let go.
    bool ownerGone = false;
};

enum class TransferStatus {
    done,
    // The owner answered that it cannot give this target.
    refused,
    // More bytes than allowed, announced or sent.
    oversized,
    timedOut,
    // The clipboard changed again before the transfer ended.
    superseded,
    // The connection closed or stop() was called.
    stopped,
};

struct Transfer {
    TransferStatus status = TransferStatus::stopped;
    QByteArray bytes;
    // The property type the owner sent the bytes as.
    uint32_t type = 0;
};

// What to do with data beyond the byte limit of a transfer.
enum class Overflow { refuse, truncate };

// An X connection of the clipboard reader's own: it is told of every change of the CLIPBOARD's
// owner and converts the selection with ICCCM transfers (INCR included), each bounded by a
// deadline and a byte limit. Used from one thread; only wake() may be called from another.
class X11SelectionConnection {
public:
    using Clock = std::chrono::steady_clock;

    X11SelectionConnection();
    ~X11SelectionConnection();
    X11SelectionConnection(const X11SelectionConnection&) = delete;
    X11SelectionConnection& operator=(const X11SelectionConnection&) = delete;

    // Connects to $DISPLAY and asks for CLIPBOARD owner changes; false without a display or
    // without the XFixes extension.
    bool open();

    // Any thread: makes the current or next wait return at once with nothing; later waits do
    // the same.
    void wake();
    bool isStopped() const;
    // Any thread: makes the next wait for a change return once every event the server had sent
    // by then has been looked at (takeSyncRequest then says so).
    void requestSync();

    // Blocks until the CLIPBOARD's owner changes or a sync is asked for; false once stopped.
    bool waitForChange();
    // Whether the last wait returned for a sync; taken once.
    bool takeSyncRequest() { return std::exchange(m_syncRequested, false); }
    // Collects every event the server has sent so far (a round trip), noting the changes.
    void catchUp();
    // The newest change not yet read (one that may have superseded a transfer); taken once.
    std::optional<SelectionChange> takePendingChange();

    // Converts the CLIPBOARD to `target` for `change`, reading at most `maxBytes`.
    Transfer convert(const SelectionChange& change, uint32_t target, qint64 maxBytes,
                     Overflow overflow, Clock::duration timeout);

    uint32_t atom(const char* name);
    // Names of atoms, asked for together; cached for the connection's life.
    QStringList atomNames(const QList<uint32_t>& atoms);
    // Workspace's identifier ("instance.class") of the window in _NET_ACTIVE_WINDOW.
    QString activeApplicationId();

private:
    using Event = XcbReply<xcb_generic_event_t>;
    // The next event before `deadline`, or null on timeout or stop; while waiting for a change,
    // also null when a sync is asked for.
    Event nextEvent(std::optional<Clock::time_point> deadline, bool watchSync = false);
    // Records an XFixes owner change; false for any other event.
    bool noteSelectionChange(const xcb_generic_event_t& event);
    // The next event a transfer should look at; null with `why` set when the transfer is over
    // (stopped, timed out, or overtaken by a newer change).
    Event nextTransferEvent(Clock::time_point deadline, TransferStatus& why);
    QByteArray property(uint32_t window, uint32_t property, uint32_t type, uint32_t longs);
    Transfer readIncrementally(uint32_t requestor, qint64 announced, qint64 maxBytes,
                               Overflow overflow, Clock::time_point deadline);
    uint32_t createRequestor();

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_root = 0;
    uint32_t m_window = 0;
    uint8_t m_xfixesEvent = 0;
    int m_wakeFd = -1;
    int m_syncFd = -1;
    bool m_syncRequested = false;
    uint32_t m_clipboard = 0;
    uint32_t m_property = 0;
    uint32_t m_incr = 0;
    uint32_t m_activeWindow = 0;
    std::optional<SelectionChange> m_pending;
    QHash<uint32_t, QString> m_atomNames;
};

} // namespace tessel::x11
