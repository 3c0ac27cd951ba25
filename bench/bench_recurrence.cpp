// What expanding many series over a window costs: the calendar's year view
// and the reminder check over every recurring item of a large database.
#include "datastore/recurrence_engine.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <vector>

using namespace velmora;

namespace {

// count series of every kind, started between firstYear and 2024, some
// ending by count or by date; the same set on every run.
std::vector<RecurrencePattern> variedSeries(int count, int firstYear)
{
    QRandomGenerator random(4711);
    static const int types[] = {0, 0, 1, 1, 1, 2, 3, 5, 6};
    static const int masks[] = {2, 32, 62, 65, 127, 2 | 8 | 32, 1 | 64};
    const DateTime earliest = DateTime::fromParts(firstYear, 1, 1);
    const int spanDays = int(DateTime::fromParts(2024, 12, 31).dayNumber() - earliest.dayNumber());
    std::vector<RecurrencePattern> series;
    series.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        RecurrencePattern p;
        p.recurrenceType = types[random.bounded(9)];
        p.interval = 1 + random.bounded(3);
        if (p.recurrenceType <= 1 && random.bounded(5) == 0) {
            p.interval = 0;
            p.dayOfWeekMask = 62;
        } else {
            p.dayOfWeekMask = masks[random.bounded(7)];
        }
        p.dayOfMonth = 1 + random.bounded(31);
        p.instance = 1 + random.bounded(5);
        p.monthOfYear = 1 + random.bounded(12);
        p.patternStartDate = earliest.addDays(random.bounded(spanDays));
        p.startTime = DateTime::fromParts(1899, 12, 30, 8 + random.bounded(10), 0);
        p.duration = 30 + 30 * random.bounded(4);
        switch (random.bounded(3)) {
        case 0: break;
        case 1:
            p.noEndDate = false;
            p.occurrences = 5 + random.bounded(500);
            break;
        default:
            p.noEndDate = false;
            p.occurrences = 999999;
            p.patternEndDate = p.patternStartDate.addDays(random.bounded(20000));
            break;
        }
        series.push_back(p);
    }
    return series;
}

// range(0): the first year a series may start in.
void expandOneYear(benchmark::State& state)
{
    const auto series = variedSeries(10'000, int(state.range(0)));
    const DateTime from = DateTime::fromParts(2025, 1, 1);
    const DateTime to = DateTime::fromParts(2025, 12, 31);
    std::size_t occurrences = 0;
    for (auto _ : state) {
        occurrences = 0;
        for (const RecurrencePattern& pattern : series)
            occurrences += ExpandSeries(pattern, false, from, to, 1).size();
        benchmark::DoNotOptimize(occurrences);
    }
    state.counters["occurrences"] = double(occurrences);
    state.counters["series/s"] = benchmark::Counter(double(series.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(expandOneYear)->Arg(2020)->Arg(1970)->Unit(benchmark::kMillisecond);

// The reminder check: is each series due on one day?
void isOccurrenceOnOneDay(benchmark::State& state)
{
    const auto series = variedSeries(10'000, int(state.range(0)));
    const DateTime moment = DateTime::fromParts(2025, 6, 18, 9, 0);
    int due = 0;
    for (auto _ : state) {
        due = 0;
        for (const RecurrencePattern& pattern : series)
            due += IsOccurrenceOn(pattern, moment, 1) ? 1 : 0;
        benchmark::DoNotOptimize(due);
    }
    state.counters["due"] = due;
}
BENCHMARK(isOccurrenceOnOneDay)->Arg(2020)->Arg(1970)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
