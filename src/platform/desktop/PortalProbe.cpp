// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalProbe.h"

#include "platform/desktop/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QList>

using namespace Qt::StringLiterals;

namespace tessel::desktop::PortalProbe {

QStringList offered(QDBusConnection bus, const QStringList& interfaces, int timeoutMs)
{
    if (!bus.isConnected())
        return {};
    QList<QDBusPendingCall> calls;
    for (const QString& interface : interfaces) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QLatin1StringView(Portal::service), QLatin1StringView(Portal::path),
            u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
        get.setArguments({interface, u"version"_s});
        // Each call ends by itself within the limit, answered or not.
        calls << bus.asyncCall(get, timeoutMs);
    }
    QStringList found;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        calls[i].waitForFinished();
        if (!calls.at(i).isError())
            found << interfaces.at(i);
    }
    return found;
}

} // namespace tessel::desktop::PortalProbe
