// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/wayland/WaylandRoundtrip.h"

#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

Q_DECLARE_LOGGING_CATEGORY(lcWayland)
struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;

namespace tessel::wayland {

// A Wayland connection of Tessel's own, apart from Qt's: the clipboard and input services bind
// the globals they need here without depending on what Qt's platform plugin binds. Its events
// are dispatched on the thread it was made on, from a socket notifier, so it costs nothing while
// the compositor is quiet. Main thread only.
class WaylandConnection final : public QObject {
    Q_OBJECT

public:
    ~WaylandConnection() override;

    // Connects to $WAYLAND_DISPLAY and learns its globals; null without a compositor, or when
    // it does not answer within `timeout`.
    static std::unique_ptr<WaylandConnection>
    open(std::chrono::milliseconds timeout = roundtripTimeout);

    wl_display* display() const { return m_display; }
    // The first seat, or null when the compositor announced none.
    wl_seat* seat() const { return m_seat; }
    // The data-control manager (version 1 or 2), or null when the compositor lacks it.
    zwlr_data_control_manager_v1* dataControlManager() const { return m_dataControl; }
    // The version the compositor announced for `interface`, 0 when it has no such global.
    uint32_t globalVersion(const QString& interface) const;
    // Binds a global other services need; null when absent. `version` is capped at the
    // compositor's.
    void* bind(const QString& interface, const void* wlInterface, uint32_t version);

    // Sends what was queued; call after requests made outside an event callback.
    void flush();
    // Whether the connection broke (the compositor went away or a protocol error).
    bool hasFailed() const;

    // Asks the compositor to answer once it has handled every request sent so far, without
    // waiting for it. `done` runs once, on this thread, from the event loop: true when the answer
    // came, false when the connection failed first or nothing came within `timeout`. It never
    // runs once `context` is destroyed; `context` must not outlive this connection.
    void sync(std::chrono::milliseconds timeout, QObject* context,
              std::function<void(bool answered)> done);

Q_SIGNALS:
    // The compositor closed the connection or raised a protocol error; nothing more arrives.
    void failed();

private:
    struct Global {
        uint32_t name = 0;
        QString interface;
        uint32_t version = 0;
    };

    explicit WaylandConnection(wl_display* display);
    bool discoverGlobals(std::chrono::milliseconds timeout);
    void dispatchIncoming();
    static void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                         uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, uint32_t name);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_data_control_manager_v1* m_dataControl = nullptr;
    QList<Global> m_globals;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_failed = false;
};

} // namespace tessel::wayland
