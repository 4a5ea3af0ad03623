// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalProbe.h"

#include "platform/desktop/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>
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
    // A loop of its own rather than blocking: the answers may come from this very thread (a
    // portal in the same process, as in tests), and nothing else is running yet at start-up.
    QEventLoop loop;
    int answered = 0;
    for (const QDBusPendingCall& call : std::as_const(calls)) {
        auto* watcher = new QDBusPendingCallWatcher(call, &loop);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &loop,
                         [&answered, &loop, total = calls.size()] {
                             if (++answered == total)
                                 loop.quit();
                         });
    }
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (answered < calls.size())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QStringList found;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (calls.at(i).isFinished() && !calls.at(i).isError())
            found << interfaces.at(i);
    }
    return found;
}

} // namespace tessel::desktop::PortalProbe
