// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalShortcut.h"

#include <QDBusMetaType>

namespace tessel::desktop {

void PortalShortcut::registerMetaTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(registered);
}

QList<PortalShortcut> PortalShortcut::listFrom(const QVariant& value)
{
    registerMetaTypes();
    if (value.canConvert<QList<PortalShortcut>>() && !value.canConvert<QDBusArgument>())
        return value.value<QList<PortalShortcut>>();
    QList<PortalShortcut> shortcuts;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> shortcuts;
    return shortcuts;
}

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace tessel::desktop
