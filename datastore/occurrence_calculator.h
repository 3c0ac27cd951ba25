#pragma once
// Computes the occurrences of one RecurringEvent: step through them, jump to
// the n-th, count them up to a day. Periods are found arithmetically, so a
// question about a far window never walks the series from its start.

#include "datastore/recurrence_info.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

class OccurrenceCalculator {
public:
    // firstDayOfWeek 1 Sunday .. 7 Saturday: where a week of a weekly series begins.
    OccurrenceCalculator(const RecurringEvent& event, int firstDayOfWeek);

    // False when the description gives no dates at all (an interval of 0 in
    // a daily or monthly series, no weekday in a weekly one, a bad month...).
    bool isComputable() const { return m_computable; }

    // Visits, in order, the occurrences whose day lies in [fromDay, toDay]
    // (days of the dates given), the series' end applying when applyEnd is
    // set (3999-12-31 always bounds the search). The visitor returns false to stop.
    void forEach(DateTime fromDay, DateTime toDay, bool applyEnd,
                 const std::function<bool(const Occurrence&)>& visit) const;
    std::vector<Occurrence> between(DateTime fromDay, DateTime toDay, bool applyEnd = true) const;

    std::optional<Occurrence> first(bool applyEnd = true) const;
    // n counts from 1.
    std::optional<Occurrence> nth(int n, bool applyEnd = true) const;
    // Occurrences whose day is on or before the day given; the series' count
    // and finish are not applied.
    int countUpTo(DateTime day) const;

private:
    using Day = std::int64_t;

    void setUp(int firstDayOfWeek);
    std::int64_t periodAtOrBefore(Day day) const;
    // The occurrence days of period p (none before the start day), ascending.
    void daysOfPeriod(std::int64_t period, std::vector<Day>& days) const;
    std::int64_t firstIndexOfPeriod(std::int64_t period) const;
    bool beyondEnd(std::int64_t index, Day day, bool applyEnd) const;
    Occurrence makeOccurrence(Day day, std::int64_t index) const;
    Day monthDay(int monthIndex) const;

    RecurringEvent m_event;
    bool m_computable = false;
    bool m_weekdaysOnly = false; // daily on Monday to Friday
    Day m_startDay = 0;
    Day m_firstPeriodStart = 0; // weekly series: the first day of the start's week
    int m_startMonth = 0;       // year * 12 + month - 1
    int m_step = 1;             // days, weeks or months per period
    int m_firstPeriodCount = 0;
    int m_perPeriodCount = 1;
    WeekDays m_days;
    Day m_limitDay = 0;
    std::int64_t m_lastPeriod = 0; // the period holding the search limit
};

} // namespace velmora
