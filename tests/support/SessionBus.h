// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace tessel::test {

// A private D-Bus session bus for one test program: started by the constructor and exported in
// DBUS_SESSION_BUS_ADDRESS for the processes the test starts; the daemon is killed and the
// previous address restored on destruction.
class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool isRunning() const { return m_pid > 0; }
    QString address() const { return m_address; }
    // Whether a client holds `name` on this bus.
    bool hasOwner(const QString& name) const;

private:
    qint64 m_pid = 0;
    QString m_address;
    QByteArray m_previousAddress;
    bool m_hadAddress = false;
};

} // namespace tessel::test
