#include "platform/wayland/WaylandClientConnection.h"

#include <QLoggingCategory>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <wayland-client.h>

Q_LOGGING_CATEGORY(lcWayland, "tessel.wayland", QtInfoMsg)

namespace tessel::wayland {

std::unique_ptr<WaylandClientConnection> WaylandClientConnection::open(QObject* parent)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        qCInfo(lcWayland, "no Wayland compositor to connect to: %s", std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<WaylandClientConnection> connection(
        new WaylandClientConnection(display, parent));
    if (!connection->roundtrip())
        return nullptr;
    return connection;
}

WaylandClientConnection::WaylandClientConnection(wl_display* display, QObject* parent)
    : QObject(parent)
    , m_display(display)
{
    static const wl_registry_listener listener = {
        .global = &WaylandClientConnection::onGlobal,
        .global_remove = &WaylandClientConnection::onGlobalRemove,
    };
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WaylandClientConnection::readEvents);
}

WaylandClientConnection::~WaylandClientConnection()
{
    delete m_notifier;
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

void WaylandClientConnection::onGlobal(void* data, wl_registry*, uint32_t name,
                                       const char* interface, uint32_t version)
{
    static_cast<WaylandClientConnection*>(data)->m_globals.append(
        {name, QByteArray(interface), version});
}

void WaylandClientConnection::onGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    auto& globals = static_cast<WaylandClientConnection*>(data)->m_globals;
    globals.removeIf([name](const Global& global) { return global.name == name; });
}

bool WaylandClientConnection::offers(const char* interfaceName) const
{
    return std::any_of(m_globals.cbegin(), m_globals.cend(),
                       [&](const Global& global) { return global.interface == interfaceName; });
}

void* WaylandClientConnection::bind(const wl_interface* interface, uint32_t maxVersion,
                                    uint32_t* boundVersion)
{
    for (const Global& global : std::as_const(m_globals)) {
        if (global.interface != interface->name)
            continue;
        const uint32_t version = std::min(global.version, maxVersion);
        if (boundVersion)
            *boundVersion = version;
        return wl_registry_bind(m_registry, global.name, interface, version);
    }
    return nullptr;
}

wl_seat* WaylandClientConnection::seat()
{
    if (!m_seat)
        m_seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 1));
    return m_seat;
}

bool WaylandClientConnection::flush()
{
    if (m_broken)
        return false;
    // A full socket buffer (EAGAIN) only delays the requests: the next flush sends them.
    wl_display_flush(m_display);
    return checkError();
}

bool WaylandClientConnection::roundtrip()
{
    if (m_broken)
        return false;
    wl_display_roundtrip(m_display);
    return checkError();
}

void WaylandClientConnection::readEvents()
{
    if (m_broken)
        return;
    // Events another call (a roundtrip) already read are handled first, as libwayland requires
    // before a new read.
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    // The notifier said there is data, so this read does not block.
    if (wl_display_read_events(m_display) == 0)
        wl_display_dispatch_pending(m_display);
    checkError();
}

bool WaylandClientConnection::checkError()
{
    if (m_broken)
        return false;
    const int error = wl_display_get_error(m_display);
    if (error == 0)
        return true;
    m_broken = true;
    m_notifier->setEnabled(false);
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    const uint32_t code = wl_display_get_protocol_error(m_display, &interface, &id);
    if (interface)
        qCWarning(lcWayland, "the compositor ended Tessel's connection: error %u on %s", code,
                  interface->name);
    else
        qCWarning(lcWayland, "the connection to the compositor broke: %s", std::strerror(error));
    Q_EMIT broken();
    return false;
}

} // namespace tessel::wayland
