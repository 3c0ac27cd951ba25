#include "datastore/recurrence_info.h"

#include <algorithm>

namespace velmora {

WeekDays DayOfWeekMaskToDays(int mask)
{
    return WeekDays(static_cast<unsigned long>(mask & 0x7F));
}

TcxDayType DayOfWeekMaskToDayType(int mask)
{
    switch (mask) {
    case 1: return cxdtSunday;
    case 2: return cxdtMonday;
    case 4: return cxdtTuesday;
    case 8: return cxdtWednesday;
    case 16: return cxdtThursday;
    case 32: return cxdtFriday;
    case 64: return cxdtSaturday;
    case 62: return cxdtWeekDay;
    case 65: return cxdtWeekEndDay;
    default: return cxdtEveryDay;
    }
}

TcxEventType RecurrenceStateToEventType(int state)
{
    if (state >= etNone && state <= etCustom)
        return static_cast<TcxEventType>(state);
    return etNone;
}

void LoadRecurrenceInfo(RecurringEvent& event, const RecurrencePattern& pattern)
{
    RecurrenceInfo& info = event.recurrenceInfo;
    event.eventType = etPattern;
    info.start = pattern.patternStartDate.datePart();
    if (!event.allDayEvent)
        info.start = info.start + pattern.startTime.timePart();
    if (!pattern.noEndDate) {
        info.finish = pattern.patternEndDate.datePart();
        if (!event.allDayEvent)
            info.finish = info.finish + pattern.endTime.timePart();
        info.count = pattern.occurrences;
    } else {
        info.count = kUnlimitedCount;
    }

    switch (pattern.recurrenceType) {
    case 0:
        info.recurrence = cxreDaily;
        info.dayType = (pattern.interval == 0 && pattern.dayOfWeekMask == 62) ? cxdtWeekDay : cxdtEveryDay;
        info.periodicity = pattern.interval;
        break;
    case 1:
        if (pattern.interval > 0) {
            info.recurrence = cxreWeekly;
            info.periodicity = pattern.interval;
        } else {
            info.recurrence = cxreDaily;
            info.dayType = cxdtWeekDay;
        }
        info.occurDays = DayOfWeekMaskToDays(pattern.dayOfWeekMask);
        break;
    case 2:
        info.recurrence = cxreMonthly;
        info.dayType = cxdtDay;
        info.periodicity = pattern.interval;
        info.dayNumber = pattern.dayOfMonth;
        break;
    case 3:
        info.recurrence = cxreMonthly;
        info.dayType = DayOfWeekMaskToDayType(pattern.dayOfWeekMask);
        info.periodicity = pattern.interval;
        info.dayNumber = pattern.instance;
        break;
    case 5:
        info.recurrence = cxreYearly;
        info.dayType = cxdtDay;
        info.periodicity = pattern.monthOfYear;
        info.dayNumber = pattern.dayOfMonth;
        break;
    case 6:
        info.recurrence = cxreYearly;
        info.dayType = DayOfWeekMaskToDayType(pattern.dayOfWeekMask);
        info.periodicity = pattern.monthOfYear;
        info.dayNumber = pattern.instance;
        break;
    default:
        break;
    }
}

RecurringEvent MakePatternEvent(const RecurrencePattern& pattern, bool allDay)
{
    RecurringEvent event;
    event.allDayEvent = allDay;
    const DateTime day = pattern.patternStartDate.datePart();
    if (allDay) {
        const int days = std::max(1, (pattern.duration + 1439) / 1440);
        event.start = day;
        event.finish = day.addDays(days);
    } else {
        event.start = day + pattern.startTime.timePart();
        event.finish = event.start.addMinutes(std::max(0, pattern.duration));
    }
    LoadRecurrenceInfo(event, pattern);
    return event;
}

DateTime SearchLimitDay()
{
    return DateTime::fromParts(3999, 12, 31);
}

} // namespace velmora
