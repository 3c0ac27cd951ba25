#pragma once
// Completing a task: a recurring one keeps a completed copy of this
// instance and moves on to its next date.

#include "foundation/date_time.h"

namespace velmora {

class DataSet;

// The tasks stand on the task, completed on the day completed. A plain task
// is marked complete. A series task leaves a completed, non-recurring copy
// (with its own reminder and pattern rows) and moves its DueDate to the day
// of its next occurrence (regenerating tasks: the next date after
// completion), its StartDate keeping the same distance in whole days before
// it; with no next date the series task itself is completed and its
// recurrence ends. False when a dataset is not open or the pattern is missing.
bool MarkTaskComplete(DataSet* tasks, DataSet* patterns, DataSet* reminders, DateTime completed);

} // namespace velmora
