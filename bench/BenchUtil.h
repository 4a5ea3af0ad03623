#pragma once

#include <QElapsedTimer>
#include <algorithm>
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

inline void report(const char* what, double value, const char* unit)
{
    std::printf("%-58s %12.3f %s\n", what, value, unit);
}

} // namespace tessel::bench
