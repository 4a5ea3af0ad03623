// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <functional>

namespace tessel::desktop {

// The desktop portal's address on the session bus.
namespace Portal {
inline constexpr char service[] = "org.freedesktop.portal.Desktop";
inline constexpr char path[] = "/org/freedesktop/portal/desktop";
inline constexpr char sessionInterface[] = "org.freedesktop.portal.Session";
} // namespace Portal

// How a portal answered a request.
struct PortalResponse {
    enum class Status {
        // The user (or the desktop on their behalf) agreed; `results` holds the answer.
        granted,
        // The user dismissed the request.
        cancelled,
        // The desktop ended it another way, the call failed, or nothing came in time.
        failed,
    };
    Status status = Status::failed;
    QVariantMap results;
    // Why it failed, for the log; empty otherwise.
    QString error;
};

// One call of a portal method that answers later through a Request object (the portal's
// asynchronous pattern): the Response signal is subscribed to before the call, at the path the
// handle token determines, so an answer cannot be missed. Destroying the request (or its parent)
// drops the answer. Main thread only.
class PortalRequest final : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const PortalResponse&)>;

    // Calls `method` of `interface` on the portal with `arguments`, then `options` (which get the
    // handle token). `done` runs once, with the answer, or a failure after `timeoutMs` (a request
    // that shows the user a dialog needs minutes). The request deletes itself after `done`.
    static PortalRequest* start(QDBusConnection bus, const QString& interface,
                                const QString& method, const QVariantList& arguments,
                                QVariantMap options, int timeoutMs, QObject* parent, Done done);

    // A token for a handle or a session, unique in this process.
    static QString newToken();

private Q_SLOTS:
    void onResponse(uint code, const QVariantMap& results);

private:
    PortalRequest(QDBusConnection bus, Done done, QObject* parent);
    void subscribe(const QString& path);
    void finish(const PortalResponse& response);

    QDBusConnection m_bus;
    Done m_done;
    QString m_path;
    QTimer m_timeout;
};

} // namespace tessel::desktop
