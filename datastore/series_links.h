#pragma once
// Removing and re-stating the rows that tie an item to its series: its
// pattern and reminder, its materialised occurrences and their Exceptions rows.

namespace velmora {

class DataSet;

// Deletes the item's reminder and, unless the item is an occurrence (whose
// pattern is its series'), its pattern, clearing the item's links first.
// False when a dataset is closed or the item has neither.
bool RemoveRecurrenceAndReminder(DataSet* item, DataSet* reminders, DataSet* patterns);
// Deletes the occurrence rows that belong to the item: a master's
// occurrences with their reminders and Exceptions rows, or an occurrence's
// own Exceptions row. The item stays current. False for a plain item.
bool DeleteAppointmentExceptions(DataSet* item, DataSet* exceptions, DataSet* reminders);
// Whether the item is an occurrence, or a master with Exceptions rows.
bool HasSeriesLinks(DataSet* item, DataSet* exceptions);
// Sets the item's RecurrenceState and its Exceptions row's IsDeleted to match.
void SetOccurrenceState(DataSet* item, DataSet* exceptions, int state);

} // namespace velmora
