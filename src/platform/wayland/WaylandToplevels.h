// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

struct wl_array;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

namespace tessel::wayland {

class WaylandConnection;

// The compositor's list of application windows (zwlr_foreign_toplevel_manager_v1), kept up to
// date from its events: which one is active and what application it belongs to. Windows are
// named by an id of ours that is never reused. Main thread only.
class WaylandToplevels final : public QObject {
    Q_OBJECT

public:
    explicit WaylandToplevels(WaylandConnection& connection, QObject* parent = nullptr);
    ~WaylandToplevels() override;

    // Whether the compositor tells Tessel about its windows; false when it does not offer the
    // protocol, stopped sending, or the connection broke.
    bool isAvailable() const;
    // The active window's id, 0 when none is active or the list is unavailable.
    quint64 activeId() const;
    // The application id (app_id) of window `id`; empty when it has none or no longer exists.
    QString appIdOf(quint64 id) const;
    // The application id of every window, in the order the compositor announced them.
    QStringList appIds() const;
    bool exists(quint64 id) const;
    // Asks the compositor to give window `id` the keyboard of Tessel's seat. False when the
    // window is gone or nothing could be asked; the compositor may still refuse.
    bool activate(quint64 id);

Q_SIGNALS:
    // Another window became active, or the active one was closed.
    void activeChanged();

private:
    struct Toplevel {
        WaylandToplevels* owner;
        zwlr_foreign_toplevel_handle_v1* handle;
        quint64 id;
        QString appId;
        QString pendingAppId;
        bool activated = false;
        bool pendingActivated = false;
    };

    static void onToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                           zwlr_foreign_toplevel_handle_v1* handle);
    static void onFinished(void* data, zwlr_foreign_toplevel_manager_v1*);
    static void onAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId);
    static void onState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states);
    static void onDone(void* data, zwlr_foreign_toplevel_handle_v1*);
    static void onClosed(void* data, zwlr_foreign_toplevel_handle_v1*);
    const Toplevel* find(quint64 id) const;
    void remove(const Toplevel* toplevel);
    void updateActive();

    WaylandConnection& m_connection;
    zwlr_foreign_toplevel_manager_v1* m_manager = nullptr;
    std::vector<std::unique_ptr<Toplevel>> m_toplevels;
    quint64 m_nextId = 1;
    quint64 m_activeId = 0;
};

} // namespace tessel::wayland
