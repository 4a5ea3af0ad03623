// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QList>
#include <QString>
#include <QVariantMap>

namespace tessel::desktop {

// One shortcut as the shortcuts portal passes it (D-Bus "(sa{sv})"): its id and its properties
// ("description", "preferred_trigger", "trigger_description").
struct PortalShortcut {
    QString id;
    QVariantMap properties;

    // Makes the type and its list known to Qt D-Bus; idempotent.
    static void registerMetaTypes();
    // The list inside a portal answer's value (a D-Bus "a(sa{sv})").
    static QList<PortalShortcut> listFrom(const QVariant& value);
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

} // namespace tessel::desktop

Q_DECLARE_METATYPE(tessel::desktop::PortalShortcut)
