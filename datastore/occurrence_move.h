#pragma once
// Whether an occurrence of a series may be moved to another day: never onto
// a day that holds another occurrence of the same series, and onto a day
// whose occurrence was deleted only when the user says so.

#include "datastore/schedule_event.h"
#include "foundation/date_time.h"

#include <QList>

#include <functional>
#include <optional>

namespace velmora {

class DataSet;

// The items stand on the moved row. Looks through the series' Exceptions
// rows for one that stood on the new day: a changed occurrence refuses the
// move (with a warning when showMessage), a deleted one asks the user. True
// when the move may go ahead; false also when a dataset is not open.
bool MoveRecurringEventToAnotherDay(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders,
                                    DateTime originalStart, DateTime newStart, DateTime newEnd, bool showMessage);

// The occurrence the series of event has on the day, if any.
using SeriesOccurrenceLookup = std::function<std::optional<TcxEventType>(const ScheduleEvent& event, DateTime day)>;

// The check after occurrences were dropped on other days: before is the
// dragged event as it was, dropped the events as they landed. Each day a
// dropped event now covers (other than its former day) must not hold another
// occurrence of its series; a deleted one there is the user's choice
// (MoveRecurringEventToAnotherDay). Whether the drop is accepted.
bool AcceptOccurrenceDrop(const ScheduleEvent& before, const QList<ScheduleEvent>& dropped,
                          const SeriesOccurrenceLookup& occurrenceOn, DataSet* appointments, DataSet* exceptions,
                          DataSet* patterns, DataSet* reminders);

} // namespace velmora
