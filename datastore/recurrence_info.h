#pragma once
// The scheduler's description of a series (RecurrenceInfo) and the event that
// carries it, filled from a pattern row by LoadRecurrenceInfo.

#include "datastore/recurrence_engine.h"
#include "foundation/date_time.h"

#include <bitset>

namespace velmora {

enum TcxRecurrence { cxreDaily, cxreWeekly, cxreMonthly, cxreYearly };

enum TcxDayType {
    cxdtDay,
    cxdtEveryDay,
    cxdtWeekDay,
    cxdtWeekEndDay,
    cxdtSunday,
    cxdtMonday,
    cxdtTuesday,
    cxdtWednesday,
    cxdtThursday,
    cxdtFriday,
    cxdtSaturday
};

// The stored RecurrenceState values are these numbers.
enum TcxEventType { etNone, etPattern, etOccurrence, etException, etCustom };

// Weekday 0 is Sunday, 6 Saturday.
using WeekDays = std::bitset<7>;

inline constexpr int kUnlimitedCount = -1;
inline constexpr int kCountUntilFinish = 0;

struct RecurrenceInfo {
    TcxRecurrence recurrence = cxreDaily;
    TcxDayType dayType = cxdtDay;
    int periodicity = 1; // every N days, weeks or months; the month of a yearly series
    int dayNumber = 1;   // day of the month, or the instance 1..5 (5 = last)
    WeekDays occurDays;
    int count = kUnlimitedCount;
    DateTime start;
    DateTime finish;
};

// The one event a question is answered on: its own span gives each
// occurrence's length.
struct RecurringEvent {
    TcxEventType eventType = etNone;
    bool allDayEvent = false;
    DateTime start;
    DateTime finish;
    RecurrenceInfo recurrenceInfo;
};

WeekDays DayOfWeekMaskToDays(int mask);
TcxDayType DayOfWeekMaskToDayType(int mask);
TcxEventType RecurrenceStateToEventType(int state);

// Fills the event's description from the pattern; the event's own start and
// finish are left alone.
void LoadRecurrenceInfo(RecurringEvent& event, const RecurrencePattern& pattern);

// A temporary event for the pattern: it starts on the pattern's first day at
// its start time and lasts Duration minutes (whole days when all-day).
RecurringEvent MakePatternEvent(const RecurrencePattern& pattern, bool allDay);

// The last day of the search when a series never ends.
DateTime SearchLimitDay();

} // namespace velmora
