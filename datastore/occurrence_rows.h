#pragma once
// The rows of single occurrences of a series: made when one occurrence is
// changed or deleted, turned into deleted ones, and removed with an event.

#include "foundation/date_time.h"

#include <functional>

namespace velmora {

class DataSet;
struct ScheduleEvent;

// Makes the occurrence of the master the items stand on, for the day of
// date, with state 3 (deleted) or 4 (changed): a copy of the master's row
// (with its own reminder copy) at the pattern's StartTime for Duration
// minutes, and its Exceptions row with date as OriginalDate. The patterns
// stand on the master's pattern. The new ITaskID (the items stand on it),
// 0 when nothing was made.
qint64 CreateOccurrence(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders, DateTime date,
                        int state);

// Deletes the current row of the items; for a master with the whole series.
using EventRowDeleter = std::function<void(DataSet& items)>;

// Applies the deletion of an event to the database: the row (the whole
// series for a master) unless only the occurrence goes; a computed
// occurrence gets a deleted occurrence row, a changed one becomes deleted.
// deleteRow removes a row with its dependent rows (by default the row, and
// for a master its occurrence and Exceptions rows). False when the event is
// missing or the items are not open.
bool DeleteEventRows(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders,
                     const ScheduleEvent* event, bool occurrenceOnly, const EventRowDeleter& deleteRow = {});

} // namespace velmora
