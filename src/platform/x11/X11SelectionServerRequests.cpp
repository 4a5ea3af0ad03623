// SPDX-License-Identifier: GPL-3.0-or-later
// How the selection server answers the requests of other programs: the contents in one
// property or by INCR, several targets at once, and the clipboard manager's SAVE_TARGETS.
#include "platform/x11/X11IncrSender.h"
#include "platform/x11/X11SelectionServer.h"
#include "platform/x11/XcbReply.h"

#include <QPointer>
#include <cstring>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

namespace {
// X11 times are milliseconds that wrap around: `a` is before `b` when the way from `b` back
// to `a` is the shorter one.
bool isBefore(uint32_t a, uint32_t b)
{
    return static_cast<int32_t>(a - b) < 0;
}
} // namespace

void X11SelectionServer::answer(const xcb_selection_request_event_t& request)
{
    // Obsolete clients name no property: the target is the property then.
    const uint32_t property = request.property != XCB_NONE ? request.property : request.target;
    Owned* owned = request.selection == m_clipboard.selection ? &m_clipboard
                   : request.selection == m_manager.selection ? &m_manager
                                                              : nullptr;
    // A request timed before we took the selection was meant for the owner at that time.
    if (!owned || owned->time == 0 ||
        (request.time != XCB_CURRENT_TIME && isBefore(request.time, owned->time))) {
        notify(request, XCB_NONE);
        return;
    }
    if (owned == &m_manager && request.target == atom(u"SAVE_TARGETS"_s)) {
        askToKeep(request, property);
        return;
    }
    notify(request, put(*owned, request.requestor, request.target, property) ? property : XCB_NONE);
}

bool X11SelectionServer::put(const Owned& owned, uint32_t requestor, uint32_t target,
                             uint32_t property)
{
    const auto set = [&](uint32_t type, uint8_t format, uint32_t count, const void* data) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, type, format,
                            count, data);
    };
    if (target == atom(u"TARGETS"_s)) {
        QList<uint32_t> targets{atom(u"TARGETS"_s), atom(u"TIMESTAMP"_s)};
        targets += owned.protocolTargets;
        for (const Offer& offer : owned.offers)
            targets.append(offer.target);
        set(XCB_ATOM_ATOM, 32, static_cast<uint32_t>(targets.size()), targets.constData());
        return true;
    }
    if (target == atom(u"TIMESTAMP"_s)) {
        set(XCB_ATOM_INTEGER, 32, 1, &owned.time);
        return true;
    }
    if (target == atom(u"MULTIPLE"_s) && owned.protocolTargets.contains(target))
        return putMultiple(owned, requestor, property);
    for (const Offer& offer : owned.offers) {
        if (offer.target != target)
            continue;
        if (offer.bytes.size() > m_maxPropertyBytes) {
            m_incr->start(requestor, property, offer.type, offer.bytes);
            m_stallCheck.start();
        } else {
            set(offer.type, 8, static_cast<uint32_t>(offer.bytes.size()), offer.bytes.constData());
        }
        return true;
    }
    return false;
}

bool X11SelectionServer::putMultiple(const Owned& owned, uint32_t requestor, uint32_t property)
{
    // The requestor lists (target, property) pairs; a pair we cannot answer gets None.
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply || reply->format != 32)
        return false;
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    QList<uint32_t> pairs(count - count % 2);
    std::memcpy(pairs.data(), xcb_get_property_value(reply.get()), pairs.size() * 4);
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const uint32_t target = pairs.at(i);
        if (target == atom(u"MULTIPLE"_s) || !put(owned, requestor, target, pairs.at(i + 1)))
            pairs[i + 1] = XCB_NONE;
    }
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, reply->type, 32,
                        static_cast<uint32_t>(pairs.size()), pairs.constData());
    return true;
}

void X11SelectionServer::askToKeep(const xcb_selection_request_event_t& request, uint32_t property)
{
    if (!m_saveHandler) {
        notify(request, XCB_NONE);
        return;
    }
    QPointer<X11SelectionServer> self(this);
    auto answered = std::make_shared<bool>(false);
    m_saveHandler([self, request, property, answered](bool kept) {
        // A plain pointer: the release build's null-dereference check does not see through
        // QPointer.
        X11SelectionServer* server = self.data();
        if (!server || std::exchange(*answered, true))
            return;
        server->answerSave(request, property, kept);
    });
}

void X11SelectionServer::answerSave(const xcb_selection_request_event_t& request, uint32_t property,
                                    bool kept)
{
    // A side effect's answer: an empty property of type NULL, or None when it failed.
    if (kept)
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                            atom(u"NULL"_s), 32, 0, nullptr);
    notify(request, kept ? property : XCB_NONE);
}

void X11SelectionServer::notify(const xcb_selection_request_event_t& request, uint32_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}

} // namespace tessel::x11
