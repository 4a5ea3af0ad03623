// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MemoryPressure.h"

#include "core/Log.h"

#include <QDBusConnection>

using namespace Qt::StringLiterals;

namespace tessel {

MemoryPressure::MemoryPressure(QObject* parent)
    : QObject(parent)
{}

bool MemoryPressure::watchSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // From any sender: naming the portal's bus name would make Qt ask the bus for its owner and
    // wait for the answer.
    return bus.connect(QString(), u"/org/freedesktop/portal/desktop"_s,
                       u"org.freedesktop.portal.MemoryMonitor"_s, u"LowMemoryWarning"_s, this,
                       SLOT(onLowMemoryWarning(uchar)));
}

void MemoryPressure::onLowMemoryWarning(uchar level)
{
    qCInfo(lcApp, "the desktop says memory is short (level %d); Tessel lets its caches go",
           int(level));
    Q_EMIT low(int(level));
}

} // namespace tessel
