#include "datastore/task_completion.h"

#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/post_edition.h"
#include "datastore/record_lookup.h"
#include "foundation/clock.h"

namespace velmora {

namespace {

bool resetCompletion(DataSet* item, int status, int percent, bool restoreRecurrence)
{
    if (!IsDataSetActive(item) || item->isEmpty())
        return false;
    beginEditing(*item);
    item->fieldByName(QStringLiteral("DateCompleted")).setNull();
    item->fieldByName(QStringLiteral("IsComplete")).setValue(false);
    setFieldIfPresent(*item, QStringLiteral("Status"), status);
    item->fieldByName(QStringLiteral("PercentComplete")).setValue(percent);
    if (restoreRecurrence) {
        item->fieldByName(QStringLiteral("RecurrenceState")).setValue(0);
        if (integerField(*item, QStringLiteral("IRecurrencePatternID")) > 0) {
            item->fieldByName(QStringLiteral("IsRecurring")).setValue(true);
            item->fieldByName(QStringLiteral("RecurrenceState")).setValue(1);
        }
    }
    PostEdition(item);
    return true;
}

// The item's pattern when it recurs and the pattern row is there.
bool onRecurringPattern(DataSet* item, DataSet* patterns)
{
    return booleanField(*item, QStringLiteral("IsRecurring")) && IsDataSetActive(patterns)
        && moveToKey(*patterns, QStringLiteral("IRecurrencePatternID"),
                     integerField(*item, QStringLiteral("IRecurrencePatternID")));
}

bool isComplete(const DataSet& item)
{
    return booleanField(item, QStringLiteral("IsComplete"));
}

} // namespace

void SetTaskComplete(DataSet* item, bool clearRecurrence, DateTime date)
{
    if (!IsDataSetActive(item) || item->isEmpty())
        return;
    beginEditing(*item);
    item->fieldByName(QStringLiteral("DateCompleted")).setDateTime(date);
    item->fieldByName(QStringLiteral("IsComplete")).setValue(true);
    item->fieldByName(QStringLiteral("HasReminder")).setValue(false);
    setFieldIfPresent(*item, QStringLiteral("Status"), 2);
    item->fieldByName(QStringLiteral("PercentComplete")).setValue(100);
    if (clearRecurrence) {
        item->fieldByName(QStringLiteral("IsRecurring")).setValue(false);
        item->fieldByName(QStringLiteral("RecurrenceState")).setValue(0);
    }
    PostEdition(item);
}

bool ResetTaskComplete(DataSet* item, bool restoreRecurrence)
{
    return resetCompletion(item, 0, 0, restoreRecurrence);
}

bool SetTaskInProgress(DataSet* item, int percent, bool restoreRecurrence)
{
    return resetCompletion(item, 1, percent, restoreRecurrence);
}

// An item without a due date has no day after which it is over.
bool IsTaskActive(DataSet* item, DataSet* patterns)
{
    if (!IsDataSetActive(item) || isComplete(*item))
        return false;
    if (onRecurringPattern(item, patterns))
        return booleanField(*patterns, QStringLiteral("NoEndDate"))
            || today() <= dateTimeField(*patterns, QStringLiteral("PatternEndDate")).datePart();
    const DateTime due = dateTimeField(*item, QStringLiteral("DueDate"));
    return !due.hasDatePart() || today() <= due.datePart();
}

bool IsAppointmentActive(DataSet* item, DataSet* patterns)
{
    if (!IsDataSetActive(item) || isComplete(*item))
        return false;
    if (onRecurringPattern(item, patterns))
        return booleanField(*patterns, QStringLiteral("NoEndDate"))
            || now() <= dateTimeField(*patterns, QStringLiteral("PatternEndDate")).datePart()
                + dateTimeField(*patterns, QStringLiteral("EndTime")).timePart();
    const DateTime due = dateTimeField(*item, QStringLiteral("DueDate"));
    return !due.hasDatePart() || now() <= due;
}

bool IsDueWithinWeek(DataSet* item)
{
    if (!IsDataSetActive(item) || isComplete(*item))
        return false;
    const DateTime due = dateTimeField(*item, QStringLiteral("DueDate"));
    return today() < due && due <= today().addDays(7);
}

bool IsOverdue(DataSet* item)
{
    if (!IsDataSetActive(item) || isComplete(*item))
        return false;
    const DateTime dueDay = dateTimeField(*item, QStringLiteral("DueDate")).datePart();
    return dueDay.dayNumber() > 0 && dueDay < today();
}

bool IsCompletedTask(DataSet* item)
{
    return IsDataSetActive(item) && isComplete(*item);
}

bool IsOpenOrCompletedToday(DataSet* item)
{
    if (!IsDataSetActive(item))
        return false;
    return !isComplete(*item) || dateTimeField(*item, QStringLiteral("DateCompleted")).datePart() == today();
}

bool IsYearlyPattern(DataSet* item, DataSet* patterns)
{
    if (!IsDataSetActive(item) || !onRecurringPattern(item, patterns))
        return false;
    const qint64 type = integerField(*patterns, QStringLiteral("RecurrenceType"));
    return type == 5 || type == 6;
}

} // namespace velmora
