#pragma once
// The reminder information text of a task or appointment: how its series
// recurs and how its reminder acts, as stored in ITask.ReminderInfo.

#include <QString>

namespace velmora {

class DataSet;

// The recurrence text and the reminder text, joined by CR LF when both are
// there; empty unless the three datasets are open. Moves patterns and
// reminders to the item's rows.
QString GetReminderInfo(DataSet* item, DataSet* patterns, DataSet* reminders);
// The due text (tasks), the rule and the range of a recurring item's series.
QString GetHintOfRecurrence(DataSet* item, DataSet* patterns);
// "Reminder At ..." followed by what the reminder does; the time alone
// unless fullDate.
QString GetReminderHint(DataSet* item, DataSet* reminders, bool fullDate);

// Makes every post of a task or appointment store GetReminderInfo over these
// datasets, which must outlive the posts (install another provider, or none,
// before they go).
void InstallReminderInfoProvider(DataSet* patterns, DataSet* reminders);

} // namespace velmora
