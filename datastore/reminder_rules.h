#pragma once
// Whether an item's reminder falls on a day, whether an occurrence still
// stands, and whether a reminder moment has gone by.

#include "foundation/date_time.h"

namespace velmora {

class DataSet;

// Due on day when the reminder row's ReminderTime or ReminderNewTime lies on
// it, or when the item is a series master with an occurrence on the day the
// reminder announces (day + ReminderMinutesBeforeStart). A complete item is
// never due. Raises what IsOccurrenceDate raises.
bool IsReminderDueOn(DataSet* item, DataSet* patterns, DataSet* reminders, DateTime day);
// Whether the series of pattern patternKey has an occurrence on the day of
// moment, as the recurrence engine expands it. False for an unknown key.
bool IsOccurrenceDate(DataSet* patterns, qint64 patternKey, DateTime moment);
// Whether the item's occurrence at when still stands: a deleted occurrence
// does not; a master does not on a day one of its Exceptions rows stands for.
// True when a dataset is missing or closed.
bool IsOccurrenceAlive(DataSet* item, DataSet* reminders, DataSet* exceptions, DateTime when);
// Whether the reminder moment of a plain item (15 minutes before its start
// without a reminder; the current reminder row's ReminderNewTime with one)
// lies before now. Recurring items are never past.
bool IsReminderPast(DataSet* item, DataSet* reminders);

} // namespace velmora
