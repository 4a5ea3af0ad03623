// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QVariantMap>
#include <functional>

namespace tessel::test {

// A stand-in for the desktop portal (org.freedesktop.portal.Desktop) on a test's private session
// bus: each method of each interface is answered by a handler the test sets, and the calls are
// recorded. Helpers follow the portal's request and session patterns: a method that answers
// through a Request object replies with its path and sends the Response signal afterwards.
class FakePortal final : public QDBusVirtualObject {
    Q_OBJECT

public:
    // What a handler returns: the reply's arguments, or an error name to answer with.
    struct Answer {
        QVariantList arguments;
        QString error;
    };
    using Handler = std::function<Answer(const QDBusMessage& call)>;

    // Claims the portal's name on the bus at `address`, on a connection of its own. Another
    // desktop service may be played with its `service` name and object `path`.
    explicit FakePortal(const QString& address,
                        const QString& service = QStringLiteral("org.freedesktop.portal.Desktop"),
                        const QString& path = QStringLiteral("/org/freedesktop/portal/desktop"));
    ~FakePortal() override;

    bool isRegistered() const { return m_registered; }
    QDBusConnection connection() const { return m_bus; }

    // Answers `method` of `interface` with `handler`; unset methods fail as unknown.
    void handle(const QString& interface, const QString& method, Handler handler);
    // Offers a "version" property for `interface` (what clients probe for).
    void offer(const QString& interface) { m_offered << interface; }
    // Leaves every call unanswered, as a portal that hangs.
    void setSilent(bool silent) { m_silent = silent; }

    // The calls received, in order, as "Interface.Method" with their arguments.
    const QList<QDBusMessage>& calls() const { return m_calls; }
    QList<QDBusMessage> callsOf(const QString& method) const;

    // The request object's path for a call that carries a handle token in its options, as the
    // portal computes it from the caller's name.
    static QString requestPath(const QDBusMessage& call);
    // The session object's path for a call whose options carry a session handle token.
    static QString sessionPath(const QDBusMessage& call);
    // The options (the last a{sv} argument) of a call.
    static QVariantMap optionsOf(const QDBusMessage& call);

    // A handler for a request-style method: replies with the request path, then sends Response
    // with what `respond` returns (code, results).
    Handler request(std::function<std::pair<uint, QVariantMap>(const QDBusMessage& call)> respond);
    // Sends `signal` of `interface` from `path`.
    void emitSignal(const QString& path, const QString& interface, const QString& signal,
                    const QVariantList& arguments);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusConnection m_bus;
    QString m_service;
    QString m_path;
    bool m_registered = false;
    QHash<QString, Handler> m_handlers;
    QStringList m_offered;
    bool m_silent = false;
    QList<QDBusMessage> m_calls;
};

} // namespace tessel::test
