#pragma once
// Stops "now" at a chosen moment for the life of the fixture; the test moves it.

#include "foundation/clock.h"

namespace velmora::test {

class FakeClock {
public:
    explicit FakeClock(DateTime now) : m_clock(now) { Clock::install(&m_clock); }
    ~FakeClock() { Clock::install(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void set(DateTime now) { m_clock.set(now); }
    void advanceMsecs(std::int64_t msecs) { m_clock.advanceMsecs(msecs); }
    DateTime now() const { return m_clock.now(); }

private:
    ManualClock m_clock;
};

} // namespace velmora::test
