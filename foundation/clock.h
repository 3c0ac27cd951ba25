#pragma once
// The one source of "now" and "today". Tests and demos replace it: in-process
// by installing a clock object, across processes with VELMORA_FAKE_NOW.

#include "foundation/date_time.h"

#include <QElapsedTimer>

namespace velmora {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;

    // The clock in force. On first use it is a clock that starts at
    // VELMORA_FAKE_NOW (YYYY-MM-DDTHH:MM:SS) and runs on from there, or the
    // system clock when the variable is unset or malformed.
    static const Clock& current();
    // Replaces the clock in force; nullptr goes back to the default. The
    // caller keeps ownership and must keep the clock alive while installed.
    static void install(const Clock* clock);
};

class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// Starts at a given moment and runs on in real time.
class StartedClock final : public Clock {
public:
    explicit StartedClock(DateTime start);
    DateTime now() const override;

private:
    DateTime m_start;
    QElapsedTimer m_elapsed;
};

// Stands still until a test moves it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime now = {}) : m_now(now) {}
    DateTime now() const override { return m_now; }
    void set(DateTime now) { m_now = now; }
    void advanceMsecs(std::int64_t msecs) { m_now = m_now.addMsecs(msecs); }

private:
    DateTime m_now;
};

inline DateTime now() { return Clock::current().now(); }
inline DateTime today() { return now().datePart(); }

} // namespace velmora
