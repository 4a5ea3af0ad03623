// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11SelectionServer.h"

#include "clipboard/PasteboardTypes.h"
#include "clipboard/TargetList.h"
#include "core/Log.h"
#include "platform/x11/X11IncrSender.h"
#include "platform/x11/XcbReply.h"

#include <QSocketNotifier>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

namespace {
constexpr uint8_t kEventTypeMask = 0x7f;
// The largest answer put in one property; larger ones go out by INCR.
constexpr qsizetype kMaxPropertyBytes = 256 * 1024;

// Holds the X server for this connection alone, so that what is looked at stays so until the
// change that depends on it is made.
class ServerGrab {
public:
    explicit ServerGrab(xcb_connection_t* connection)
        : m_connection(connection)
    {
        xcb_grab_server(m_connection);
    }
    ~ServerGrab()
    {
        xcb_ungrab_server(m_connection);
        xcb_flush(m_connection);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    xcb_connection_t* m_connection;
};

} // namespace

std::unique_ptr<X11SelectionServer> X11SelectionServer::open()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    std::unique_ptr<X11SelectionServer> server(new X11SelectionServer(connection));
    if (xcb_connection_has_error(connection) || !server->setUp())
        return nullptr;
    return server;
}

X11SelectionServer::X11SelectionServer(xcb_connection_t* connection)
    : m_connection(connection)
{
    m_stallCheck.setInterval(1000);
    connect(&m_stallCheck, &QTimer::timeout, this, [this] {
        m_incr->dropStalled(X11IncrSender::Clock::now());
        if (m_incr->isEmpty())
            m_stallCheck.stop();
    });
}

X11SelectionServer::~X11SelectionServer()
{
    m_notifier.reset();
    m_incr.reset();
    // Closing the connection gives up whatever selections it held.
    xcb_disconnect(m_connection);
}

uint32_t X11SelectionServer::resourceBase() const
{
    return xcb_get_setup(m_connection)->resource_id_base;
}

uint32_t X11SelectionServer::resourceMask() const
{
    return xcb_get_setup(m_connection)->resource_id_mask;
}

bool X11SelectionServer::setUp()
{
    const auto* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const auto* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (!screen || !xfixes || !xfixes->present)
        return false;
    m_root = screen->root;
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        m_connection, xcb_xfixes_query_version(m_connection, 1, 0), nullptr));
    if (!version)
        return false;
    m_xfixesEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;

    // Every name the server uses, asked for together.
    QStringList names{u"CLIPBOARD"_s, u"CLIPBOARD_MANAGER"_s, u"TARGETS"_s,     u"TIMESTAMP"_s,
                      u"MULTIPLE"_s,  u"SAVE_TARGETS"_s,      u"INCR"_s,        u"ATOM_PAIR"_s,
                      u"NULL"_s,      u"MANAGER"_s,           u"UTF8_STRING"_s, u"TESSEL_TIME"_s};
    for (const QLatin1StringView type :
         {PasteboardType::plainText, PasteboardType::png, PasteboardType::tiff}) {
        for (const auto& target : TargetList::targetsOf(type))
            names.append(target.target);
    }
    QList<std::pair<QString, xcb_intern_atom_cookie_t>> cookies;
    for (const QString& name : std::as_const(names)) {
        const QByteArray latin = name.toLatin1();
        cookies.append({name, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(latin.size()),
                                              latin.constData())});
    }
    for (const auto& [name, cookie] : cookies) {
        XcbReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr));
        if (!reply)
            return false;
        m_atoms.insert(name, reply->atom);
    }
    m_clipboard.selection = atom(u"CLIPBOARD"_s);
    m_clipboard.protocolTargets = {atom(u"MULTIPLE"_s)};
    m_manager.selection = atom(u"CLIPBOARD_MANAGER"_s);
    m_manager.protocolTargets = {atom(u"SAVE_TARGETS"_s)};

    const uint32_t maxRequestBytes = xcb_get_maximum_request_length(m_connection) * 4;
    m_maxPropertyBytes = std::min<qsizetype>(kMaxPropertyBytes, qsizetype(maxRequestBytes) - 1024);
    m_incr = std::make_unique<X11IncrSender>(m_connection, atom(u"INCR"_s), m_maxPropertyBytes);

    m_window = xcb_generate_id(m_connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    // Named, so that a look at the selection's owner (xprop, a test) shows it is Tessel.
    const QByteArray wmClass("tessel\0Tessel\0", 14);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<uint32_t>(wmClass.size()),
                        wmClass.constData());
    // Told when CLIPBOARD_MANAGER's owner goes, to take it then.
    xcb_xfixes_select_selection_input(m_connection, m_window, m_manager.selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_connection);
    if (xcb_connection_has_error(m_connection))
        return false;

    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11SelectionServer::readEvents);
    tryTakeManager();
    return true;
}

uint32_t X11SelectionServer::atom(const QString& name)
{
    if (const auto it = m_atoms.constFind(name); it != m_atoms.cend())
        return *it;
    const QByteArray latin = name.toLatin1();
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(latin.size()), latin.constData()),
        nullptr));
    const uint32_t value = reply ? reply->atom : XCB_NONE;
    m_atoms.insert(name, value);
    return value;
}

void X11SelectionServer::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        const XcbReply<xcb_generic_event_t> freed(event);
        handle(*event);
    }
    if (xcb_connection_has_error(m_connection)) {
        m_notifier->setEnabled(false);
        m_clipboard.time = 0;
        m_manager.time = 0;
    }
}

void X11SelectionServer::handle(const xcb_generic_event_t& event)
{
    const uint8_t type = event.response_type & kEventTypeMask;
    if (type == m_xfixesEvent) {
        const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
        if (notify.selection == m_manager.selection && notify.owner == XCB_NONE && !ownsManager())
            tryTakeManager();
        return;
    }
    switch (type) {
    case XCB_SELECTION_REQUEST:
        answer(reinterpret_cast<const xcb_selection_request_event_t&>(event));
        break;
    case XCB_SELECTION_CLEAR: {
        const auto& clear = reinterpret_cast<const xcb_selection_clear_event_t&>(event);
        for (Owned* owned : {&m_clipboard, &m_manager}) {
            if (clear.selection == owned->selection && clear.owner == m_window) {
                owned->time = 0;
                owned->offers.clear();
            }
        }
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window == m_window && property.atom == atom(u"TESSEL_TIME"_s)) {
            if (property.state == XCB_PROPERTY_NEW_VALUE && !m_timestampWaiters.empty()) {
                auto then = std::move(m_timestampWaiters.front());
                m_timestampWaiters.pop_front();
                then(property.time);
            }
        } else {
            m_incr->propertyChanged(property);
        }
        break;
    }
    default:
        // Errors too: a requestor's window that is gone by the time we answer it.
        break;
    }
}

void X11SelectionServer::withTimestamp(std::function<void(uint32_t time)> then)
{
    m_timestampWaiters.push_back(std::move(then));
    // An empty append changes nothing but still reports the server's time.
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_window, atom(u"TESSEL_TIME"_s),
                        XCB_ATOM_INTEGER, 32, 0, nullptr);
    xcb_flush(m_connection);
}

uint32_t X11SelectionServer::ownerOf(uint32_t selection)
{
    XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, selection), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

bool X11SelectionServer::takeIfFree(uint32_t selection, uint32_t time)
{
    const ServerGrab grab(m_connection);
    const uint32_t owner = ownerOf(selection);
    if (owner != XCB_NONE && owner != m_window)
        return false;
    xcb_set_selection_owner(m_connection, m_window, selection, time);
    return ownerOf(selection) == m_window;
}

void X11SelectionServer::serveClipboard(const PasteboardItem& item)
{
    // A newer request replaces one still waiting for the time.
    m_pendingOffers = offersFor(item);
    withTimestamp([this](uint32_t time) {
        if (!m_pendingOffers)
            return;
        QList<Offer> offers = std::exchange(m_pendingOffers, std::nullopt).value();
        if (!takeIfFree(m_clipboard.selection, time)) {
            qCDebug(lcClipboard, "another program owns the clipboard again; nothing to keep");
            return;
        }
        m_clipboard.time = time;
        m_clipboard.offers = std::move(offers);
        Q_EMIT clipboardTaken();
    });
    // Looking names up may have queued events that the socket no longer announces.
    QMetaObject::invokeMethod(this, &X11SelectionServer::readEvents, Qt::QueuedConnection);
}

QList<X11SelectionServer::Offer> X11SelectionServer::offersFor(const PasteboardItem& item)
{
    QList<Offer> offers;
    for (const PasteboardValue& value : item.values()) {
        const QString& type = value.type;
        // What is served here is served after its maker is gone: made now, once.
        const QByteArray bytes = value.resolve().value_or(QByteArray());
        const bool text = type == PasteboardType::plainText;
        for (const auto& target : TargetList::targetsOf(type)) {
            Offer offer;
            offer.target = atom(target.target);
            // TEXT lets the owner choose the encoding.
            offer.type = target.target == "TEXT"_L1 ? atom(u"UTF8_STRING"_s) : offer.target;
            offer.bytes = text && target.encoding == TargetList::TextEncoding::latin1
                              ? QString::fromUtf8(bytes).toLatin1()
                              : bytes;
            offers.append(offer);
        }
    }
    return offers;
}

void X11SelectionServer::tryTakeManager()
{
    withTimestamp([this](uint32_t time) {
        if (ownsManager())
            return;
        if (!takeIfFree(m_manager.selection, time)) {
            qCDebug(lcClipboard, "another program takes the clipboards of programs that quit");
            return;
        }
        m_manager.time = time;
        // Clients waiting for a clipboard manager learn of it from the root window.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = m_root;
        message.type = atom(u"MANAGER"_s);
        message.data.data32[0] = time;
        message.data.data32[1] = m_manager.selection;
        message.data.data32[2] = m_window;
        xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
        Q_EMIT managerTaken();
    });
}

} // namespace tessel::x11
