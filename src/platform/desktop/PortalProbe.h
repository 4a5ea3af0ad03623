// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QStringList>

namespace tessel::desktop {

// Which of the desktop portal's interfaces this session offers (a portal lists only those some
// desktop backend implements).
namespace PortalProbe {

// The `interfaces` the portal answers for, asked all at once and waited for `timeoutMs` at most
// (the portal may have to be started first) in a local event loop, which takes no user input;
// empty without a portal.
QStringList offered(QDBusConnection bus, const QStringList& interfaces, int timeoutMs);

} // namespace PortalProbe
} // namespace tessel::desktop
