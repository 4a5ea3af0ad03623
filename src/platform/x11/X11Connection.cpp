// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Connection.h"

#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QHash>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

namespace tessel::x11 {

xcb_connection_t* X11Connection::connection()
{
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

bool X11Connection::canOpen(const QByteArray& displayName)
{
    xcb_connection_t* c = xcb_connect(displayName.constData(), nullptr);
    const bool open = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c);
    return open;
}

uint32_t X11Connection::rootWindow()
{
    auto* c = connection();
    if (!c)
        return 0;
    const auto* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : 0;
}

uint32_t X11Connection::atom(const QByteArray& name)
{
    static QHash<QByteArray, uint32_t> cache;
    if (const auto it = cache.constFind(name); it != cache.cend())
        return *it;
    auto* c = connection();
    if (!c)
        return 0;
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData());
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    if (!reply)
        return 0;
    cache.insert(name, reply->atom);
    return reply->atom;
}

QByteArray X11Connection::property(uint32_t window, uint32_t property, uint32_t type)
{
    auto* c = connection();
    if (!c || !window || !property)
        return {};
    const auto cookie = xcb_get_property(c, 0, window, property, type, 0, 4096);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    if (length <= 0)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

uint32_t X11Connection::activeWindow()
{
    const auto bytes =
        property(rootWindow(), atom(QByteArrayLiteral("_NET_ACTIVE_WINDOW")), XCB_ATOM_WINDOW);
    if (bytes.size() < static_cast<qsizetype>(sizeof(uint32_t)))
        return 0;
    uint32_t window = 0;
    std::memcpy(&window, bytes.constData(), sizeof window);
    return window;
}

} // namespace tessel::x11
