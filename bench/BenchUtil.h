// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace tessel::bench {

// Runs `body` `runs` times and returns the median wall time in microseconds.
template <typename Body> double medianMicros(int runs, Body&& body)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds on the monotonic clock, comparable with what other processes print from theirs.
inline double nowMs()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs the event loop until `done()` holds or `timeoutMs` pass; returns `done()`.
template <typename Done> bool spinUntil(Done done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && !timer.hasExpired(timeoutMs))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

inline void report(const char* what, double value, const char* unit)
{
    std::printf("%-58s %12.3f %s\n", what, value, unit);
}

} // namespace tessel::bench
