#pragma once
// Texts for lengths of time: reminder lead times and appointment durations in
// minutes ("90" <-> "1.5 hours"), and a span of days as hours and minutes.

#include "foundation/date_time.h"

#include <QString>

namespace velmora {

// The largest fitting unit among minute, hour, day and week, e.g. 45 gives
// "45 minutes", 90 "1.5 hours", 2880 "2 days", 20160 "2 weeks".
QString MinutesToText(int minutes);
// Reads texts such as "15 minutes", "1.5 hours", "2 weeks" back into minutes;
// a text without a unit word gives 0. The decimal point is always '.', the
// one MinutesToText writes, whatever the locale.
int TextToMinutes(const QString& text);
// A span as whole hours ":" minutes, e.g. 1.5 days gives "36:00"; a negative
// span gets a leading "-".
QString DurationText(DateTime duration);

} // namespace velmora
