#pragma once
// Keeping an item's reminder row in step with the item: creating it, timing
// it from the item's start, and marking it as due today for the launcher bar.

#include "foundation/date_time.h"

namespace velmora {

class DataSet;

// Gives an item with HasReminder a reminder row when it has none (the new
// key stored in the item) and times it ReminderMinutesBeforeStart before the
// item's start, marking it when due today. False when a dataset is closed
// or the item has no reminder.
bool SyncModificationToReminder(DataSet* item, DataSet* reminders, DataSet* patterns);
// Stores minutes and time in the item's reminder row; with mark, marks it
// as today's reminder when it is due today.
void AdjustReminderTime(DataSet* item, DataSet* patterns, DataSet* reminders, bool mark, qint64 minutes,
                        DateTime time);
// When the item's reminder is due today and its occurrence stands: tells the
// launcher bar ("H:M:S subject" as copy-data numbered ReminderID + 999999)
// and marks the reminder row as today's, not yet notified. Whether it did.
bool MarkTodayReminder(DataSet* item, DataSet* patterns, DataSet* reminders, DataSet* exceptions);

} // namespace velmora
