#include "datastore/mark_task_complete.h"

#include "datastore/task_completion.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/post_edition.h"
#include "datastore/record_lookup.h"
#include "datastore/recurrence_engine.h"
#include "datastore/task_clone.h"
#include "foundation/debug_agent.h"

namespace velmora {

namespace {

bool isSet(DateTime value)
{
    return value.msecs() > 0;
}

} // namespace

bool MarkTaskComplete(DataSet* tasks, DataSet* patterns, DataSet* reminders, DateTime completed)
{
    if (!IsDataSetActive(tasks) || !IsDataSetActive(patterns) || tasks->isEmpty())
        return false;
    try {
        const qint64 seriesId = tasks->fieldByName(QStringLiteral("ITaskID")).asInteger();
        qint64 newId = 0;
        DateTime next;
        if (!tasks->fieldByName(QStringLiteral("IsRecurring")).asBoolean()) {
            SetTaskComplete(tasks, true, completed);
        } else {
            const qint64 patternId = tasks->fieldByName(QStringLiteral("IRecurrencePatternID")).asInteger();
            if (!patterns->locate(QStringLiteral("IRecurrencePatternID"), patternId))
                return false;
            next = patterns->fieldByName(QStringLiteral("Regenerate")).asBoolean()
                ? GetRegenerateDate(*patterns, completed)
                : GetNextOccurenceDate(*patterns, tasks->fieldByName(QStringLiteral("DueDate")).asDateTime());
            if (isSet(next))
                newId = CloneTask(tasks, patterns, reminders, true, true);
            // With a copy, the copy is this instance's completed record;
            // without a next date the series itself ends here.
            if (newId != 0 || !isSet(next))
                SetTaskComplete(tasks, true, completed);

            const DateTime start = tasks->fieldByName(QStringLiteral("StartDate")).asDateTime();
            const DateTime due = tasks->fieldByName(QStringLiteral("DueDate")).asDateTime();
            const std::int64_t span = isSet(start) && isSet(due) ? due.dayNumber() - start.dayNumber() : 0;
            if (newId > 0 && tasks->locate(QStringLiteral("ITaskID"), seriesId)) {
                tasks->edit();
                if (isSet(start))
                    tasks->fieldByName(QStringLiteral("StartDate")).setDateTime(next.datePart().addDays(-span));
                tasks->fieldByName(QStringLiteral("DueDate")).setDateTime(next.datePart());
                PostEdition(tasks);
                ResetTaskComplete(tasks, true);
            }
        }
        SendDebugMessage(QString::fromLatin1(kChannelScheduleEvents), kTraceLevel,
                         QStringLiteral("MarkTaskComplete: iOriginalTaskID, iTaskID, dtNextOccurence: %1, %2, %3")
                             .arg(seriesId)
                             .arg(newId)
                             .arg(next.toIsoText()));
        return true;
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelScheduleEvents), QStringLiteral("MarkTaskComplete"), error);
        return false;
    }
}

} // namespace velmora
