#pragma once
// A task's completion state, set and tested, and the small date tests by
// which the lists classify tasks and appointments.

#include "foundation/date_time.h"

namespace velmora {

class DataSet;

// Complete on date (100 %, status 2, reminder off); with clearRecurrence the
// task also stops recurring.
void SetTaskComplete(DataSet* item, bool clearRecurrence, DateTime date);
// Back to "Not Started" at 0 %; with restoreRecurrence a task with a pattern
// becomes a series master again.
bool ResetTaskComplete(DataSet* item, bool restoreRecurrence);
// Back to "In Progress" at percent.
bool SetTaskInProgress(DataSet* item, int percent, bool restoreRecurrence);

// Not complete and, day by day, not past its series' end (or its due date).
bool IsTaskActive(DataSet* item, DataSet* patterns);
// The same to the moment: the series' last end time, or the due time.
bool IsAppointmentActive(DataSet* item, DataSet* patterns);
bool IsDueWithinWeek(DataSet* item);  // today < DueDate <= today + 7 days, not complete
bool IsOverdue(DataSet* item);        // due before today, not complete; never without a due date
bool IsCompletedTask(DataSet* item);
bool IsOpenOrCompletedToday(DataSet* item);
// A recurring item whose pattern is yearly (RecurrenceType 5 or 6).
bool IsYearlyPattern(DataSet* item, DataSet* patterns);

} // namespace velmora
