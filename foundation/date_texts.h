#pragma once
// Dates and times as the user reads and types them, in the formats of the
// locale snapshot (short times) and of the process (everything else).

#include "foundation/clock.h"
#include "foundation/date_time.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace velmora {

// The time of day in the snapshot's short time format.
QString ShortTimeText(DateTime dateTime);
// plain: "8:5:3" (no leading zeros); otherwise "08:05:03".
QString TimeTextHMS(DateTime dateTime, bool plain);
// The locale's full ("Sunday") or short ("Sun") day name.
QString DayNameText(DateTime date, bool longName);
// "Sun" ... "Sat" whatever the locale.
QString ShortDayName(DateTime date);
// 1 for "Monday" ... 7 for "Sunday", without case; 1 for any other text.
int DayNumberOfName(const QString& name);
// "short date (Day name) short time"; no time at midnight; empty on day 0.
QString DateTimeDisplayText(DateTime dateTime);
// "short date (Day name)"; empty on day 0.
QString DateDisplayText(DateTime dateTime);
// The short date and the time with seconds.
QString DateTimeText(DateTime dateTime);
// "MM/DD/YYYY".
QString DateTextMDY(DateTime date);
// 48 short time texts: the time of day given and every half hour after it,
// once round the clock.
QStringList HalfHourList(DateTime time);
// The half hour a new item starts at, as a time of day: up to minute 30 the
// same hour and 30 minutes, after it the next full hour (23:45 gives 0:00).
DateTime NextHalfHour(DateTime time = now());
// The time of day a typed text holds (e.g. "8:30", "14:05:10", "2:30 PM", or
// a locale time format); 0 for an empty or unreadable text.
DateTime TimeOfText(const QString& text);
bool IsTimeText(const QString& text);
// a - b in whole minutes from the dates, hours and minutes; seconds ignored.
std::int64_t MinutesBetween(DateTime a, DateTime b);
// Minutes from the first time text to the second; 0 when either is not a
// time. A second time earlier than the first lies on the next day (22:00 to
// 1:00 is 180 minutes).
int MinutesBetweenTimeTexts(const QString& first, const QString& second);

} // namespace velmora
