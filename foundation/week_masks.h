#pragma once
// Weekday masks (bit 0 Sunday ... bit 6 Saturday, the form of DayOfWeekMask):
// building them, testing days against them and naming them.

#include "foundation/date_time.h"

#include <QString>

namespace velmora {

inline constexpr int kEveryDayMask = 127;
inline constexpr int kWeekdayMask = 62; // Monday to Friday
inline constexpr int kWeekendMask = 65; // Saturday and Sunday

int WeekMaskOfDays(bool sunday, bool monday, bool tuesday, bool wednesday, bool thursday, bool friday,
                   bool saturday);
// weekday 1 Sunday ... 7 Saturday; any other weekday is in no mask.
bool IsDayInMask(int mask, int weekday);
int DayMask(DateTime date);
int TodayMask();
// "Monday, Wednesday", "weekday", "weekend day", or "Day" for every day of a
// by-weekday monthly or yearly recurrence (types 3 and 6); empty for values
// that are not masks.
QString WeekMaskText(int mask, int recurrenceType);
// Whether date is the instance-th (1..4, or 5 for the last) day of its month
// whose weekday is in mask, e.g. the second weekday or the last Friday.
bool IsNthDayOfMonthByWeekMask(int instance, int mask, DateTime date);

} // namespace velmora
