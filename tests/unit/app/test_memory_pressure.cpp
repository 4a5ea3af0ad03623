// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MemoryPressure.h"
#include "support/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

// The desktop's word that memory is short reaches Tessel from the portal's memory monitor.
class TestMemoryPressure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thePortalsWarningIsHeard()
    {
        test::SessionBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon could not start a session bus");
        MemoryPressure pressure;
        QSignalSpy low(&pressure, &MemoryPressure::low);
        QVERIFY(pressure.watchSessionBus());

        // What xdg-desktop-portal sends, from another connection as the portal would.
        QDBusConnection portal =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
        QVERIFY(portal.isConnected());
        const auto warn = [&](const QString& interface, uchar level) {
            QDBusMessage signal = QDBusMessage::createSignal(u"/org/freedesktop/portal/desktop"_s,
                                                             interface, u"LowMemoryWarning"_s);
            signal << QVariant::fromValue(level);
            QVERIFY(portal.send(signal));
        };
        warn(u"org.freedesktop.portal.Settings"_s, 50); // another interface: not this
        warn(u"org.freedesktop.portal.MemoryMonitor"_s, 255);
        QTRY_COMPARE(low.count(), 1);
        QCOMPARE(low.first().first().toInt(), 255);
        QDBusConnection::disconnectFromBus(u"portal"_s);
    }
};

QTEST_GUILESS_MAIN(TestMemoryPressure)
#include "test_memory_pressure.moc"
