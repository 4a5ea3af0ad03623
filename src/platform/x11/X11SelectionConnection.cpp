// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11SelectionConnection.h"

#include "platform/x11/X11Workspace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace tessel::x11 {

namespace {

constexpr uint8_t kEventTypeMask = 0x7f;

uint32_t longsFor(qint64 maxBytes)
{
    // One long more than the limit, so that a longer value shows as bytes left over.
    return static_cast<uint32_t>(std::min<qint64>(maxBytes / 4 + 1, UINT32_MAX / 4));
}

QByteArray valueOf(xcb_get_property_reply_t* reply)
{
    const int length = xcb_get_property_value_length(reply);
    if (length <= 0)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), length);
}

} // namespace

X11SelectionConnection::X11SelectionConnection() = default;

X11SelectionConnection::~X11SelectionConnection()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
    if (m_syncFd >= 0)
        ::close(m_syncFd);
}

bool X11SelectionConnection::open()
{
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    m_syncFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (m_wakeFd < 0 || m_syncFd < 0 || xcb_connection_has_error(m_connection))
        return false;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (!screens.data)
        return false;
    m_root = screens.data->root;

    const auto* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    // XFixes answers nothing to a client that has not announced the version it speaks.
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        m_connection, xcb_xfixes_query_version(m_connection, 1, 0), nullptr));
    if (!version)
        return false;
    m_xfixesEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;

    m_clipboard = atom("CLIPBOARD");
    m_property = atom("TESSEL_SELECTION");
    m_incr = atom("INCR");
    m_activeWindow = atom("_NET_ACTIVE_WINDOW");
    m_window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_xfixes_select_selection_input(m_connection, m_window, m_clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_connection);
    return m_clipboard && m_property && m_incr && !xcb_connection_has_error(m_connection);
}

void X11SelectionConnection::wake()
{
    const uint64_t one = 1;
    if (m_wakeFd >= 0) [[maybe_unused]]
        const auto written = ::write(m_wakeFd, &one, sizeof one);
}

void X11SelectionConnection::requestSync()
{
    const uint64_t one = 1;
    if (m_syncFd >= 0) [[maybe_unused]]
        const auto written = ::write(m_syncFd, &one, sizeof one);
}

bool X11SelectionConnection::isStopped() const
{
    if (!m_connection || xcb_connection_has_error(m_connection))
        return true;
    pollfd wake{m_wakeFd, POLLIN, 0};
    return ::poll(&wake, 1, 0) > 0;
}

X11SelectionConnection::Event
X11SelectionConnection::nextEvent(std::optional<Clock::time_point> deadline, bool watchSync)
{
    for (;;) {
        if (isStopped())
            return {};
        if (auto* event = xcb_poll_for_event(m_connection))
            return Event(event);
        int timeoutMs = -1;
        if (deadline) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            if (left <= 0)
                return {};
            timeoutMs = static_cast<int>(std::min<qint64>(left, 60'000));
        }
        pollfd fds[3] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0},
                         {m_wakeFd, POLLIN, 0},
                         {m_syncFd, POLLIN, 0}};
        // A sync asked for during a transfer waits for the transfer to end.
        if (::poll(fds, watchSync ? 3 : 2, timeoutMs) < 0 && errno != EINTR)
            return {};
        uint64_t count = 0;
        if (watchSync && (fds[2].revents & POLLIN) &&
            ::read(m_syncFd, &count, sizeof count) == static_cast<ssize_t>(sizeof count)) {
            m_syncRequested = true;
            return {};
        }
    }
}

bool X11SelectionConnection::noteSelectionChange(const xcb_generic_event_t& event)
{
    if ((event.response_type & kEventTypeMask) != m_xfixesEvent)
        return false;
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection != m_clipboard)
        return false;
    // An owner that went before its own copy was looked at leaves nothing known behind it: the
    // change it replaces is passed over unread.
    const bool ownerGone = notify.owner == XCB_NONE && !m_pending &&
                           notify.subtype != XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER;
    m_pending = SelectionChange{notify.owner, notify.selection_timestamp, ownerGone};
    return true;
}

std::optional<SelectionChange> X11SelectionConnection::takePendingChange()
{
    return std::exchange(m_pending, std::nullopt);
}

bool X11SelectionConnection::waitForChange()
{
    while (!m_pending && !m_syncRequested) {
        const Event event = nextEvent(std::nullopt, true);
        if (event)
            noteSelectionChange(*event);
        else if (isStopped())
            return false;
    }
    // Only the newest of several queued changes can still be read: the owners before it have
    // already handed the clipboard on.
    while (auto* queued = xcb_poll_for_queued_event(m_connection))
        noteSelectionChange(*Event(queued));
    return true;
}

void X11SelectionConnection::catchUp()
{
    // The reply comes after every event the server sent before it.
    XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (auto* queued = xcb_poll_for_queued_event(m_connection))
        noteSelectionChange(*Event(queued));
}

uint32_t X11SelectionConnection::createRequestor()
{
    const uint32_t window = xcb_generate_id(m_connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    return window;
}

X11SelectionConnection::Event X11SelectionConnection::nextTransferEvent(Clock::time_point deadline,
                                                                        TransferStatus& why)
{
    Event event = nextEvent(deadline);
    if (!event) {
        why = isStopped() ? TransferStatus::stopped : TransferStatus::timedOut;
        return event;
    }
    if (noteSelectionChange(*event)) {
        why = TransferStatus::superseded;
        return Event();
    }
    return event;
}

Transfer X11SelectionConnection::convert(const SelectionChange& change, uint32_t target,
                                         qint64 maxBytes, Overflow overflow,
                                         Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    // A window per transfer: whatever an abandoned transfer's owner still sends goes to a window
    // that no longer exists instead of into the next transfer.
    const uint32_t requestor = createRequestor();
    xcb_convert_selection(m_connection, requestor, m_clipboard, target, m_property,
                          change.timestamp);
    xcb_flush(m_connection);

    Transfer result;
    for (;;) {
        const Event event = nextTransferEvent(deadline, result.status);
        if (!event)
            break;
        if ((event->response_type & kEventTypeMask) != XCB_SELECTION_NOTIFY)
            continue;
        const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(*event);
        if (notify.requestor != requestor)
            continue;
        if (notify.property == XCB_NONE) {
            result.status = TransferStatus::refused;
            break;
        }
        XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, requestor, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                             longsFor(maxBytes)),
            nullptr));
        if (!reply) {
            result.status = TransferStatus::refused;
            break;
        }
        if (reply->type == m_incr) {
            // The value is the owner's lower bound of the size it will send.
            const QByteArray value = valueOf(reply.get());
            uint32_t announced = 0;
            if (value.size() >= 4)
                std::memcpy(&announced, value.constData(), sizeof announced);
            result = readIncrementally(requestor, announced, maxBytes, overflow, deadline);
            break;
        }
        result.type = reply->type;
        result.bytes = valueOf(reply.get());
        const bool tooLong = reply->bytes_after > 0 || result.bytes.size() > maxBytes;
        if (tooLong && overflow == Overflow::refuse) {
            result.bytes.clear();
            result.status = TransferStatus::oversized;
        } else {
            result.bytes.truncate(maxBytes);
            result.status = TransferStatus::done;
        }
        break;
    }
    xcb_destroy_window(m_connection, requestor);
    xcb_flush(m_connection);
    return result;
}

Transfer X11SelectionConnection::readIncrementally(uint32_t requestor, qint64 announced,
                                                   qint64 maxBytes, Overflow overflow,
                                                   Clock::time_point deadline)
{
    Transfer result;
    // Declining before deleting the property never starts the transfer at all.
    if (overflow == Overflow::refuse && announced > maxBytes) {
        result.status = TransferStatus::oversized;
        return result;
    }
    result.bytes.reserve(static_cast<qsizetype>(std::min(announced, maxBytes)));
    xcb_delete_property(m_connection, requestor, m_property);
    xcb_flush(m_connection);
    for (;;) {
        const Event event = nextTransferEvent(deadline, result.status);
        if (!event)
            break;
        if ((event->response_type & kEventTypeMask) != XCB_PROPERTY_NOTIFY)
            continue;
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(*event);
        if (notify.window != requestor || notify.atom != m_property ||
            notify.state != XCB_PROPERTY_NEW_VALUE)
            continue;
        const qint64 room = maxBytes - result.bytes.size();
        XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 1, requestor, m_property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, longsFor(room)),
                                   nullptr));
        if (!reply) {
            result.status = TransferStatus::refused;
            break;
        }
        const QByteArray chunk = valueOf(reply.get());
        if (chunk.isEmpty()) {
            // An empty chunk ends the transfer.
            result.status = TransferStatus::done;
            break;
        }
        result.type = reply->type;
        result.bytes.append(chunk);
        if (reply->bytes_after > 0 || result.bytes.size() > maxBytes) {
            result.status =
                overflow == Overflow::refuse ? TransferStatus::oversized : TransferStatus::done;
            result.bytes.truncate(overflow == Overflow::refuse ? 0 : maxBytes);
            break;
        }
    }
    return result;
}

uint32_t X11SelectionConnection::atom(const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
}

QStringList X11SelectionConnection::atomNames(const QList<uint32_t>& atoms)
{
    QList<std::pair<uint32_t, xcb_get_atom_name_cookie_t>> asked;
    for (const uint32_t atom : atoms) {
        if (!m_atomNames.contains(atom)) {
            asked.append({atom, xcb_get_atom_name(m_connection, atom)});
            m_atomNames.insert(atom, QString());
        }
    }
    for (const auto& [atom, cookie] : asked) {
        XcbReply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(m_connection, cookie, nullptr));
        if (reply)
            m_atomNames[atom] = QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                                    xcb_get_atom_name_name_length(reply.get()));
    }
    QStringList names;
    names.reserve(atoms.size());
    for (const uint32_t atom : atoms)
        names.append(m_atomNames.value(atom));
    return names;
}

QByteArray X11SelectionConnection::property(uint32_t window, uint32_t property, uint32_t type,
                                            uint32_t longs)
{
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, longs),
        nullptr));
    return reply ? valueOf(reply.get()) : QByteArray();
}

QString X11SelectionConnection::activeApplicationId()
{
    const QByteArray value = property(m_root, m_activeWindow, XCB_ATOM_WINDOW, 1);
    uint32_t window = 0;
    if (value.size() < static_cast<qsizetype>(sizeof window))
        return {};
    std::memcpy(&window, value.constData(), sizeof window);
    if (!window)
        return {};
    return X11Workspace::applicationIdFromWmClass(
        property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256));
}

} // namespace tessel::x11
