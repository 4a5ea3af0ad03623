// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Clock.h"

namespace tessel::test {

// A clock that stands still until the test moves it; installed for the object's life.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC))
        : m_now(std::move(start))
    {
        Clock::install(this);
    }
    ~TestClock() override { Clock::install(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void advance(qint64 msecs) { m_now = m_now.addMSecs(msecs); }

protected:
    QDateTime currentUtc() const override { return m_now; }

private:
    QDateTime m_now;
};

} // namespace tessel::test
