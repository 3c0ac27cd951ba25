#include "datastore/reminder_rules.h"

#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/record_lookup.h"
#include "datastore/recurrence_engine.h"
#include "foundation/clock.h"

namespace velmora {

bool IsReminderDueOn(DataSet* item, DataSet* patterns, DataSet* reminders, DateTime day)
{
    if (!IsDataSetActive(item) || booleanField(*item, QStringLiteral("IsComplete")))
        return false;
    const DateTime date = day.datePart();
    const qint64 reminderId = integerField(*item, QStringLiteral("ReminderID"));
    const bool hasRow = reminderId != 0 && IsDataSetActive(reminders)
        && moveToKey(*reminders, QStringLiteral("ReminderID"), reminderId);
    if (hasRow
        && (dateTimeField(*reminders, QStringLiteral("ReminderTime")).datePart() == date
            || dateTimeField(*reminders, QStringLiteral("ReminderNewTime")).datePart() == date))
        return true;
    if (!IsSeriesMaster(*item) || !IsDataSetActive(patterns))
        return false;
    const qint64 lead = hasRow ? integerField(*reminders, QStringLiteral("ReminderMinutesBeforeStart")) : 0;
    return IsOccurrenceDate(patterns, integerField(*item, QStringLiteral("IRecurrencePatternID")),
                            date.addMinutes(lead));
}

bool IsOccurrenceDate(DataSet* patterns, qint64 patternKey, DateTime moment)
{
    if (!IsDataSetActive(patterns) || !moveToKey(*patterns, QStringLiteral("IRecurrencePatternID"), patternKey))
        return false;
    return IsOccurrenceOn(RecurrencePattern::fromDataSet(*patterns), moment);
}

bool IsOccurrenceAlive(DataSet* item, DataSet* reminders, DataSet* exceptions, DateTime when)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(reminders) || !IsDataSetActive(exceptions))
        return true;
    switch (integerField(*item, QStringLiteral("RecurrenceState"))) {
    case 0:
    case 2: return true;
    case 3: return false;
    case 4: {
        if (!moveToKey(*reminders, QStringLiteral("ReminderID"), integerField(*item, QStringLiteral("ReminderID"))))
            return true;
        const DateTime due = today() + dateTimeField(*reminders, QStringLiteral("ReminderTime")).timePart();
        return due >= when;
    }
    default: break;
    }
    // A master's day that became an occurrence of its own (changed or
    // deleted) is that row's business; the master keeps every other day.
    const qint64 key = integerField(*item, QStringLiteral("ITaskID"));
    const qint64 day = when.dayNumber();
    auto walker = exceptions->clone();
    walker->setFiltered(false);
    for (walker->first(); !walker->eof(); walker->next()) {
        if (integerField(*walker, QStringLiteral("ParentID")) == key
            && dateTimeField(*walker, QStringLiteral("OriginalDate")).dayNumber() == day)
            return false;
    }
    return true;
}

bool IsReminderPast(DataSet* item, DataSet* reminders)
{
    if (!IsDataSetActive(item) || !item->findField(QStringLiteral("IsRecurring"))
        || booleanField(*item, QStringLiteral("IsRecurring")))
        return false;
    DateTime moment;
    if (integerField(*item, QStringLiteral("ReminderID")) <= 0) {
        moment = dateTimeField(*item, QStringLiteral("StartDate")).addMinutes(-15);
    } else {
        if (!HasRecords(reminders))
            return false;
        moment = dateTimeField(*reminders, QStringLiteral("ReminderNewTime"));
    }
    return now() > moment;
}

} // namespace velmora
