#include "foundation/clock.h"

#include <QDateTime>

#include <atomic>
#include <cstdio>

namespace velmora {

namespace {

std::atomic<const Clock*> g_installed{nullptr};

const Clock& defaultClock()
{
    static const Clock* const clock = []() -> const Clock* {
        const QString fake = qEnvironmentVariable("VELMORA_FAKE_NOW");
        if (!fake.isEmpty()) {
            if (const auto start = DateTime::fromIsoText(fake))
                return new StartedClock(*start);
            std::fprintf(stderr, "VELMORA_FAKE_NOW=%s is not YYYY-MM-DDTHH:MM:SS; using the system clock\n",
                         qPrintable(fake));
        }
        return new SystemClock;
    }();
    return *clock;
}

} // namespace

const Clock& Clock::current()
{
    const Clock* installed = g_installed.load(std::memory_order_acquire);
    return installed ? *installed : defaultClock();
}

void Clock::install(const Clock* clock)
{
    g_installed.store(clock, std::memory_order_release);
}

DateTime SystemClock::now() const
{
    return DateTime::fromQDateTime(QDateTime::currentDateTime());
}

StartedClock::StartedClock(DateTime start) : m_start(start)
{
    m_elapsed.start();
}

DateTime StartedClock::now() const
{
    return m_start.addMsecs(m_elapsed.elapsed());
}

} // namespace velmora
