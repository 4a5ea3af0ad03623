// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

namespace tessel {

// Where Tessel reads the time of day (entry timestamps, names of set-aside files). Tests install
// a clock of their own and move it, instead of waiting for real time to pass.
class Clock {
public:
    virtual ~Clock() = default;

    // The current time in UTC, from the installed clock.
    static QDateTime nowUtc();
    // Installs `clock` (not owned) in place of the system clock; nullptr restores it.
    static void install(Clock* clock);

protected:
    virtual QDateTime currentUtc() const = 0;
};

} // namespace tessel
