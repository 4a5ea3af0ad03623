// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <csignal>

using namespace Qt::StringLiterals;

namespace tessel::test {

SessionBus::SessionBus()
    : m_previousAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
    , m_hadAddress(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
{
    QProcess daemon;
    // --fork: the daemon outlives this call; it prints its address and process id, one a line.
    daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--fork"_s, u"--nopidfile"_s,
                                    u"--print-address=1"_s, u"--print-pid=1"_s});
    if (!daemon.waitForFinished(10000) || daemon.exitCode() != 0)
        return;
    const QStringList lines =
        QString::fromUtf8(daemon.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 2)
        return;
    m_address = lines.at(0).trimmed();
    m_pid = lines.at(1).trimmed().toLongLong();
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

SessionBus::~SessionBus()
{
    if (m_pid > 0)
        ::kill(static_cast<pid_t>(m_pid), SIGTERM);
    if (m_hadAddress)
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_previousAddress);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

bool SessionBus::hasOwner(const QString& name) const
{
    // A connection of its own: the test's default session connection may predate this bus.
    const QString connectionName = u"tessel-test-bus-"_s + QString::number(m_pid);
    QDBusConnection bus = QDBusConnection::connectToBus(m_address, connectionName);
    const bool owned = bus.isConnected() && bus.interface()->isServiceRegistered(name).value();
    return owned;
}

} // namespace tessel::test
