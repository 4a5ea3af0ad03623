// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Clock.h"

namespace tessel {

namespace {
Clock* g_installed = nullptr;
} // namespace

QDateTime Clock::nowUtc()
{
    return g_installed ? g_installed->currentUtc() : QDateTime::currentDateTimeUtc();
}

void Clock::install(Clock* clock)
{
    g_installed = clock;
}

} // namespace tessel
