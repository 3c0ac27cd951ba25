#pragma once
// The date literals of SQL and filter texts (#12/31/2005#, #2005-12-31 10:00#,
// #10:30 PM#) and the day number the database stores for them.

#include "foundation/date_time.h"

#include <QString>

#include <optional>

namespace velmora {

// The text between the # signs: month/day/year (two-digit years 30-99 are
// 19xx, 00-29 are 20xx) or year-month-day, then an optional time of day
// h:mm[:ss] with an optional AM/PM; a time alone is on day 0.
std::optional<DateTime> parseDateLiteral(const QString& text);

// Days since 30 December 1899 as SQL text: "38717" or "38717.75".
QString dayNumberText(DateTime value);

} // namespace velmora
