// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <QString>
#include <chrono>

// The D-Bus session bus is reached through libdbus, whose connection and first call wait without
// a limit for a bus that accepts a client and then says nothing; Qt's tray icon, its desktop
// theme and accessibility all connect on the main thread. So the bus is tried first, briefly,
// over a socket of our own.
namespace tessel::SessionBusProbe {

// How long a bus may take to let a client in and answer its first call.
inline constexpr std::chrono::milliseconds defaultTimeout{1000};

// The socket the session bus listens on: from DBUS_SESSION_BUS_ADDRESS (its first address of
// kind unix:path or unix:abstract), else $XDG_RUNTIME_DIR/bus when that exists. Empty when there
// is nothing this probe can try (no bus, or another kind of address, left to libdbus). An
// abstract socket's name starts with '@'.
QString socketPath();

// Whether the bus at `socketPath` lets a client in and answers its Hello within `timeout`; the
// failure says what went wrong, in a few words. An empty `socketPath` succeeds.
Result check(const QString& socketPath, std::chrono::milliseconds timeout = defaultTimeout);

// Points this process (and Qt's users of the bus in it) at no session bus, so that they fail at
// once instead of waiting on one that does not answer.
void disableForThisProcess();

} // namespace tessel::SessionBusProbe
