#include "datastore/occurrence_calculator.h"

#include <QDate>

#include <algorithm>

namespace velmora {

namespace {

using Day = std::int64_t;

constexpr int kLastInstance = 5;

const qint64 kEpochJulianDay = QDate(1899, 12, 30).toJulianDay();

Day dayOf(DateTime value)
{
    return value.dayNumber();
}

DateTime dateOfDay(Day day)
{
    return DateTime::fromMsecs(day * DateTime::kMsecsPerDay);
}

Day dayOfDate(int year, int month, int day)
{
    return QDate(year, month, day).toJulianDay() - kEpochJulianDay;
}

// 0 Sunday .. 6 Saturday; day 0 was a Saturday.
int weekdayOf(Day day)
{
    return int(((day % 7) + 7 + 6) % 7);
}

Day floorDiv(Day a, Day b)
{
    const Day q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

WeekDays weekDaysOfType(TcxDayType type)
{
    switch (type) {
    case cxdtWeekDay: return WeekDays(62);
    case cxdtWeekEndDay: return WeekDays(65);
    case cxdtEveryDay: return WeekDays(127);
    default: return WeekDays(1u << (type - cxdtSunday));
    }
}

// The day of the month that a monthly or yearly series takes in the month.
int dayInMonth(int year, int month, TcxDayType type, int number)
{
    const int length = QDate(year, month, 1).daysInMonth();
    if (type == cxdtDay)
        return std::min(number, length);
    const WeekDays kinds = weekDaysOfType(type);
    const Day first = dayOfDate(year, month, 1);
    if (number == kLastInstance) {
        for (int d = length; d >= 1; --d) {
            if (kinds.test(weekdayOf(first + d - 1)))
                return d;
        }
        return 0;
    }
    int seen = 0;
    for (int d = 1; d <= length; ++d) {
        if (kinds.test(weekdayOf(first + d - 1)) && ++seen == number)
            return d;
    }
    return 0;
}

} // namespace

OccurrenceCalculator::OccurrenceCalculator(const RecurringEvent& event, int firstDayOfWeek) : m_event(event)
{
    setUp(firstDayOfWeek);
}

void OccurrenceCalculator::setUp(int firstDayOfWeek)
{
    const RecurrenceInfo& info = m_event.recurrenceInfo;
    m_startDay = dayOf(info.start);
    m_limitDay = dayOf(SearchLimitDay());
    const QDate startDate = info.start.date();
    m_startMonth = startDate.year() * 12 + startDate.month() - 1;

    switch (info.recurrence) {
    case cxreDaily:
        if (info.dayType == cxdtWeekDay) {
            m_weekdaysOnly = true;
            m_days = WeekDays(62);
            m_step = 1;
            m_computable = true;
        } else {
            m_step = info.periodicity;
            m_computable = m_step > 0;
        }
        break;
    case cxreWeekly:
        m_days = info.occurDays;
        m_step = info.periodicity;
        m_computable = m_step > 0 && m_days.any();
        break;
    case cxreMonthly:
        m_step = info.periodicity;
        m_computable = m_step > 0;
        break;
    case cxreYearly:
        m_step = 12;
        m_computable = info.periodicity >= 1 && info.periodicity <= 12;
        break;
    }
    if (info.recurrence == cxreMonthly || info.recurrence == cxreYearly) {
        const bool byDay = info.dayType == cxdtDay;
        m_computable = m_computable
            && (byDay ? info.dayNumber >= 1 : (info.dayNumber >= 1 && info.dayNumber <= kLastInstance));
        if (info.recurrence == cxreYearly)
            m_startMonth = startDate.year() * 12; // periods are calendar years
    }
    if (m_startDay > m_limitDay || !startDate.isValid())
        m_computable = false;
    if (!m_computable)
        return;

    const bool weekBased = m_weekdaysOnly || info.recurrence == cxreWeekly;
    if (weekBased) {
        const int firstWeekday = std::clamp(firstDayOfWeek, 1, 7) - 1;
        m_firstPeriodStart = m_startDay - (weekdayOf(m_startDay) - firstWeekday + 7) % 7;
        m_perPeriodCount = int(m_days.count());
    } else {
        m_perPeriodCount = 1;
    }
    m_lastPeriod = periodAtOrBefore(m_limitDay);
    std::vector<Day> days;
    daysOfPeriod(0, days);
    m_firstPeriodCount = int(days.size());
}

std::int64_t OccurrenceCalculator::periodAtOrBefore(Day day) const
{
    const RecurrenceInfo& info = m_event.recurrenceInfo;
    if (m_weekdaysOnly || info.recurrence == cxreWeekly)
        return floorDiv(day - m_firstPeriodStart, Day(7) * m_step);
    if (info.recurrence == cxreDaily)
        return floorDiv(day - m_startDay, m_step);
    const QDate date = dateOfDay(day).date();
    const int month = date.year() * 12 + date.month() - 1;
    return floorDiv(month - m_startMonth, m_step);
}

OccurrenceCalculator::Day OccurrenceCalculator::monthDay(int monthIndex) const
{
    const RecurrenceInfo& info = m_event.recurrenceInfo;
    const int year = monthIndex / 12;
    const int month = monthIndex % 12 + 1;
    const int dom = dayInMonth(year, month, info.dayType, info.dayNumber);
    return dom == 0 ? -1 : dayOfDate(year, month, dom);
}

void OccurrenceCalculator::daysOfPeriod(std::int64_t period, std::vector<Day>& days) const
{
    days.clear();
    const RecurrenceInfo& info = m_event.recurrenceInfo;
    if (m_weekdaysOnly || info.recurrence == cxreWeekly) {
        const Day weekStart = m_firstPeriodStart + period * 7 * m_step;
        for (int i = 0; i < 7; ++i) {
            const Day day = weekStart + i;
            if (day >= m_startDay && m_days.test(weekdayOf(day)))
                days.push_back(day);
        }
        return;
    }
    Day day = -1;
    if (info.recurrence == cxreDaily)
        day = m_startDay + period * m_step;
    else if (info.recurrence == cxreMonthly)
        day = monthDay(int(m_startMonth + period * m_step));
    else
        day = monthDay(int(m_startMonth + period * 12 + info.periodicity - 1));
    if (day >= m_startDay)
        days.push_back(day);
}

std::int64_t OccurrenceCalculator::firstIndexOfPeriod(std::int64_t period) const
{
    if (period <= 0)
        return 1;
    return 1 + m_firstPeriodCount + (period - 1) * m_perPeriodCount;
}

bool OccurrenceCalculator::beyondEnd(std::int64_t index, Day day, bool applyEnd) const
{
    if (day > m_limitDay)
        return true;
    if (!applyEnd)
        return false;
    const RecurrenceInfo& info = m_event.recurrenceInfo;
    if (info.count > 0)
        return index > info.count;
    if (info.count == kCountUntilFinish)
        return day > dayOf(info.finish);
    return false;
}

Occurrence OccurrenceCalculator::makeOccurrence(Day day, std::int64_t index) const
{
    Occurrence occurrence;
    occurrence.start = dateOfDay(day) + m_event.start.timePart();
    occurrence.finish = occurrence.start + (m_event.finish - m_event.start);
    occurrence.index = int(index);
    return occurrence;
}

void OccurrenceCalculator::forEach(DateTime fromDay, DateTime toDay, bool applyEnd,
                                   const std::function<bool(const Occurrence&)>& visit) const
{
    if (!m_computable)
        return;
    const Day from = std::max(dayOf(fromDay), m_startDay);
    const Day to = std::min(dayOf(toDay), m_limitDay);
    if (from > to)
        return;
    std::int64_t period = std::max<std::int64_t>(0, periodAtOrBefore(from));
    std::int64_t index = firstIndexOfPeriod(period);
    std::vector<Day> days;
    for (;; ++period) {
        daysOfPeriod(period, days);
        if (days.empty() && period > 0)
            return; // cannot happen for a computable series; guards the loop
        for (Day day : days) {
            if (beyondEnd(index, day, applyEnd) || day > to)
                return;
            if (day >= from && !visit(makeOccurrence(day, index)))
                return;
            ++index;
        }
    }
}

std::vector<Occurrence> OccurrenceCalculator::between(DateTime fromDay, DateTime toDay, bool applyEnd) const
{
    std::vector<Occurrence> result;
    forEach(fromDay, toDay, applyEnd, [&](const Occurrence& occurrence) {
        result.push_back(occurrence);
        return true;
    });
    return result;
}

std::optional<Occurrence> OccurrenceCalculator::first(bool applyEnd) const
{
    return nth(1, applyEnd);
}

std::optional<Occurrence> OccurrenceCalculator::nth(int n, bool applyEnd) const
{
    if (!m_computable || n < 1)
        return std::nullopt;
    std::int64_t period = 0;
    std::int64_t offset = n - 1;
    if (n > m_firstPeriodCount) {
        const std::int64_t rest = n - m_firstPeriodCount - 1;
        period = 1 + rest / m_perPeriodCount;
        offset = rest % m_perPeriodCount;
    }
    if (period > m_lastPeriod)
        return std::nullopt;
    std::vector<Day> days;
    daysOfPeriod(period, days);
    if (offset >= std::int64_t(days.size()))
        return std::nullopt;
    const Day day = days[std::size_t(offset)];
    if (beyondEnd(n, day, applyEnd))
        return std::nullopt;
    return makeOccurrence(day, n);
}

int OccurrenceCalculator::countUpTo(DateTime dayValue) const
{
    if (!m_computable)
        return 0;
    const Day day = std::min(dayOf(dayValue), m_limitDay);
    if (day < m_startDay)
        return 0;
    const std::int64_t period = std::max<std::int64_t>(0, periodAtOrBefore(day));
    std::vector<Day> days;
    daysOfPeriod(period, days);
    const auto inPeriod = std::count_if(days.begin(), days.end(), [day](Day d) { return d <= day; });
    return int(firstIndexOfPeriod(period) - 1 + inPeriod);
}

} // namespace velmora
