// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandConnection.h"

#include "platform/wayland/WaylandRoundtrip.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <wayland-client.h>

Q_LOGGING_CATEGORY(lcWayland, "tessel.wayland")

using namespace Qt::StringLiterals;

namespace tessel::wayland {

namespace {
// Version 2 adds the primary selection, which Tessel leaves alone.
constexpr uint32_t kDataControlVersion = 1;
constexpr uint32_t kSeatVersion = 1;

// One wl_display.sync in flight. It belongs to the context of the caller, so it and its callback
// object go with that context, and whichever of the answer, the failure or the timeout comes
// first ends it.
class PendingSync final : public QObject {
public:
    PendingSync(wl_callback* callback, QObject* context, std::function<void(bool)> done)
        : QObject(context)
        , m_callback(callback)
        , m_done(std::move(done))
    {
        static const wl_callback_listener listener{&PendingSync::onDone};
        wl_callback_add_listener(m_callback, &listener, this);
        m_timeout.setSingleShot(true);
        connect(&m_timeout, &QTimer::timeout, this, [this] { finish(false); });
    }

    ~PendingSync() override { destroyCallback(); }

    void start(std::chrono::milliseconds timeout) { m_timeout.start(timeout); }

    void finish(bool answered)
    {
        if (!m_done)
            return;
        const std::function<void(bool)> done = std::move(m_done);
        m_done = nullptr;
        m_timeout.stop();
        destroyCallback();
        deleteLater();
        done(answered);
    }

private:
    static void onDone(void* data, wl_callback*, uint32_t)
    {
        static_cast<PendingSync*>(data)->finish(true);
    }

    // Only our proxy is freed (the callback has no destroy request): safe on a failed
    // connection too, and no answer reaches this object afterwards.
    void destroyCallback()
    {
        if (m_callback)
            wl_callback_destroy(m_callback);
        m_callback = nullptr;
    }

    wl_callback* m_callback;
    std::function<void(bool)> m_done;
    QTimer m_timeout;
};
} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::open(std::chrono::milliseconds timeout)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    if (!connection->discoverGlobals(timeout))
        return nullptr;
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display)
    : m_display(display)
{}

WaylandConnection::~WaylandConnection()
{
    m_notifier.reset();
    if (m_dataControl)
        zwlr_data_control_manager_v1_destroy(m_dataControl);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

bool WaylandConnection::discoverGlobals(std::chrono::milliseconds timeout)
{
    static const wl_registry_listener listener = {&WaylandConnection::onGlobal,
                                                  &WaylandConnection::onGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    // One round trip lists the globals; a second lets the objects bound meanwhile settle.
    if (!roundtrip(m_display, timeout))
        return false;
    if (const uint32_t version = globalVersion(QLatin1StringView(wl_seat_interface.name)))
        m_seat = static_cast<wl_seat*>(bind(QLatin1StringView(wl_seat_interface.name),
                                            &wl_seat_interface, std::min(version, kSeatVersion)));
    m_dataControl = static_cast<zwlr_data_control_manager_v1*>(
        bind(QLatin1StringView(zwlr_data_control_manager_v1_interface.name),
             &zwlr_data_control_manager_v1_interface, kDataControlVersion));
    if (!roundtrip(m_display, timeout))
        return false;

    m_notifier =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this,
            &WaylandConnection::dispatchIncoming);
    return true;
}

uint32_t WaylandConnection::globalVersion(const QString& interface) const
{
    const auto it = std::find_if(m_globals.cbegin(), m_globals.cend(), [&](const Global& global) {
        return global.interface == interface;
    });
    return it != m_globals.cend() ? it->version : 0;
}

void* WaylandConnection::bind(const QString& interface, const void* wlInterface, uint32_t version)
{
    const auto it = std::find_if(m_globals.cbegin(), m_globals.cend(), [&](const Global& global) {
        return global.interface == interface;
    });
    if (it == m_globals.cend())
        return nullptr;
    return wl_registry_bind(m_registry, it->name, static_cast<const wl_interface*>(wlInterface),
                            std::min(version, it->version));
}

void WaylandConnection::onGlobal(void* data, wl_registry*, uint32_t name, const char* interface,
                                 uint32_t version)
{
    static_cast<WaylandConnection*>(data)->m_globals.append(
        {name, QString::fromLatin1(interface), version});
}

void WaylandConnection::onGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    auto& globals = static_cast<WaylandConnection*>(data)->m_globals;
    globals.removeIf([name](const Global& global) { return global.name == name; });
}

void WaylandConnection::flush()
{
    if (!m_failed && wl_display_flush(m_display) < 0 && errno != EAGAIN)
        dispatchIncoming();
}

bool WaylandConnection::hasFailed() const
{
    return m_failed || wl_display_get_error(m_display) != 0;
}

void WaylandConnection::sync(std::chrono::milliseconds timeout, QObject* context,
                             std::function<void(bool)> done)
{
    if (hasFailed()) {
        QTimer::singleShot(0, context, [done = std::move(done)] { done(false); });
        return;
    }
    auto* pending = new PendingSync(wl_display_sync(m_display), context, std::move(done));
    // Queued: a failure seen by the flush below must not complete before this returns.
    connect(
        this, &WaylandConnection::failed, pending, [pending] { pending->finish(false); },
        Qt::QueuedConnection);
    pending->start(timeout);
    flush();
}

void WaylandConnection::dispatchIncoming()
{
    if (m_failed)
        return;
    // The notifier only says the socket is readable: read exactly what is there, never wait.
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    if (wl_display_read_events(m_display) < 0 && errno != EAGAIN) {
        m_failed = true;
    } else {
        wl_display_dispatch_pending(m_display);
        if (wl_display_flush(m_display) < 0 && errno != EAGAIN)
            m_failed = true;
    }
    if (m_failed || wl_display_get_error(m_display) != 0) {
        m_failed = true;
        m_notifier->setEnabled(false);
        qCWarning(lcWayland, "a Wayland connection of Tessel's was closed (error %d)",
                  wl_display_get_error(m_display));
        Q_EMIT failed();
    }
}

} // namespace tessel::wayland
