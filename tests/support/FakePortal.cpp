// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakePortal.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tessel::test {

namespace {
const QString kPath = u"/org/freedesktop/portal/desktop"_s;

QString escapedSender(const QDBusMessage& call)
{
    QString sender = call.service().mid(1);
    return sender.replace(u'.', u'_');
}
} // namespace

FakePortal::FakePortal(const QString& address, const QString& service, const QString& path)
    : m_bus(QDBusConnection::connectToBus(address, u"tessel-fake-"_s + service))
    , m_service(service)
    , m_path(path)
{
    m_registered = m_bus.isConnected() &&
                   m_bus.registerVirtualObject(m_path, this, QDBusConnection::SubPath) &&
                   m_bus.interface()->registerService(m_service).value() ==
                       QDBusConnectionInterface::ServiceRegistered;
}

FakePortal::~FakePortal()
{
    m_bus.unregisterObject(m_path, QDBusConnection::UnregisterTree);
    m_bus.interface()->unregisterService(m_service);
    QDBusConnection::disconnectFromBus(u"tessel-fake-"_s + m_service);
}

void FakePortal::handle(const QString& interface, const QString& method, Handler handler)
{
    m_handlers.insert(interface + u'.' + method, std::move(handler));
}

QList<QDBusMessage> FakePortal::callsOf(const QString& method) const
{
    QList<QDBusMessage> found;
    for (const QDBusMessage& call : m_calls) {
        if (call.member() == method)
            found << call;
    }
    return found;
}

QVariantMap FakePortal::optionsOf(const QDBusMessage& call)
{
    const QVariantList arguments = call.arguments();
    if (arguments.isEmpty())
        return {};
    const QVariant last = arguments.constLast();
    if (last.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(last.value<QDBusArgument>());
    return last.toMap();
}

QString FakePortal::requestPath(const QDBusMessage& call)
{
    return kPath + "/request/"_L1 + escapedSender(call) + u'/' +
           optionsOf(call).value(u"handle_token"_s).toString();
}

QString FakePortal::sessionPath(const QDBusMessage& call)
{
    return kPath + "/session/"_L1 + escapedSender(call) + u'/' +
           optionsOf(call).value(u"session_handle_token"_s).toString();
}

FakePortal::Handler
FakePortal::request(std::function<std::pair<uint, QVariantMap>(const QDBusMessage&)> respond)
{
    return [this, respond](const QDBusMessage& call) -> Answer {
        const QString path = requestPath(call);
        const auto [code, results] = respond(call);
        // As the portal does: the reply first, the answer after.
        QTimer::singleShot(0, this, [this, path, code, results] {
            emitSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s, {code, results});
        });
        return {{QVariant::fromValue(QDBusObjectPath(path))}, {}};
    };
}

void FakePortal::emitSignal(const QString& path, const QString& interface, const QString& signal,
                            const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createSignal(path, interface, signal);
    message.setArguments(arguments);
    m_bus.send(message);
}

QString FakePortal::introspect(const QString&) const
{
    return {};
}

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    m_calls << message;
    if (m_silent)
        return true;
    if (message.interface() == "org.freedesktop.DBus.Properties"_L1 &&
        message.member() == "Get"_L1) {
        const QString interface = message.arguments().value(0).toString();
        if (m_offered.contains(interface)) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
        } else {
            connection.send(message.createErrorReply(
                u"org.freedesktop.DBus.Error.UnknownProperty"_s, u"no such interface"_s));
        }
        return true;
    }
    const auto handler = m_handlers.constFind(message.interface() + u'.' + message.member());
    if (handler == m_handlers.cend()) {
        connection.send(message.createErrorReply(u"org.freedesktop.DBus.Error.UnknownMethod"_s,
                                                 message.member()));
        return true;
    }
    const Answer answer = (*handler)(message);
    if (!answer.error.isEmpty())
        connection.send(message.createErrorReply(answer.error, message.member()));
    else
        connection.send(message.createReply(answer.arguments));
    return true;
}

} // namespace tessel::test
