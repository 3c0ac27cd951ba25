#include "datastore/occurrence_rows.h"

#include "datastore/series_links.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/post_edition.h"
#include "datastore/record_lookup.h"
#include "datastore/schedule_event.h"
#include "datastore/task_clone.h"
#include "foundation/debug_agent.h"

namespace velmora {

namespace {

constexpr int kDeletedState = 3;
constexpr int kChangedState = 4;

const QString kITaskID = QStringLiteral("ITaskID");
const QString kParentID = QStringLiteral("ParentID");

void trace(const QString& message)
{
    SendDebugMessage(QString::fromLatin1(kChannelCloneUnit), kTraceLevel, message);
}

// Deletes every row of ds whose field equals value.
void deleteRowsWhere(DataSet& ds, const QString& field, qint64 value)
{
    while (ds.locate(field, value))
        ds.deleteRecord();
}

// A master takes its occurrence rows and their Exceptions rows with it;
// they would otherwise stand for a series that no longer exists.
void deleteRowWithOccurrences(DataSet& items, DataSet* exceptions)
{
    const qint64 id = items.fieldByName(kITaskID).asInteger();
    if (items.fieldByName(QStringLiteral("RecurrenceState")).asInteger() == 1) {
        if (IsDataSetActive(exceptions))
            deleteRowsWhere(*exceptions, kParentID, id);
        deleteRowsWhere(items, kParentID, id);
        items.locate(kITaskID, id);
    }
    DeleteARecord(&items);
}

} // namespace

qint64 CreateOccurrence(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders, DateTime date,
                        int state)
{
    if (!HasRecords(items) || !IsDataSetActive(exceptions) || !IsDataSetActive(patterns)
        || !IsDataSetActive(reminders) || (state != kDeletedState && state != kChangedState))
        return 0;
    try {
        if (items->fieldByName(QStringLiteral("RecurrenceState")).asInteger() != 1)
            return 0;
        const qint64 masterId = items->fieldByName(kITaskID).asInteger();
        // Read before the copy: the pattern is the master's, not the copy's.
        const DateTime startTime = patterns->fieldByName(QStringLiteral("StartTime")).asDateTime().timePart();
        const qint64 duration = patterns->fieldByName(QStringLiteral("Duration")).asInteger();

        const qint64 newId = CloneTask(items, nullptr, reminders, false, true);
        if (newId == 0) {
            trace(QStringLiteral("CreateOccurrence, ======Fail to create occurence!======, iParentID: ")
                  + QString::number(masterId));
            return 0;
        }
        const DateTime start = date.datePart() + startTime;
        items->edit();
        items->fieldByName(QStringLiteral("StartDate")).setDateTime(start);
        items->fieldByName(QStringLiteral("DueDate")).setDateTime(start.addMinutes(duration));
        items->fieldByName(QStringLiteral("RecurrenceState")).setValue(state);
        items->fieldByName(kParentID).setValue(masterId);
        PostEdition(items);

        exceptions->checkBrowseMode();
        exceptions->append();
        exceptions->fieldByName(kITaskID).setValue(newId);
        exceptions->fieldByName(kParentID).setValue(masterId);
        exceptions->fieldByName(QStringLiteral("OriginalDate")).setDateTime(date);
        exceptions->fieldByName(QStringLiteral("IsDeleted")).setValue(state == kDeletedState);
        exceptions->fieldByName(QStringLiteral("IsArchived")).setValue(false);
        PostEdition(exceptions);
        return newId;
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelCloneUnit), QStringLiteral("CreateOccurrence"), error);
        return 0;
    }
}

bool DeleteEventRows(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders,
                     const ScheduleEvent* event, bool occurrenceOnly, const EventRowDeleter& deleteRow)
{
    if (!event || !IsDataSetActive(items))
        return false;
    const bool hasKey = event->taskId.isValid() && !event->taskId.isNull() && !event->taskId.toString().isEmpty();
    if (hasKey && !LocateITaskSubTables(kITaskID, event->taskId, items, reminders, patterns))
        return true;

    if (!(occurrenceOnly && event->isRecurring)) {
        if (deleteRow)
            deleteRow(*items);
        else if (HasRecords(items))
            deleteRowWithOccurrences(*items, exceptions);
        return true;
    }
    switch (event->type) {
    case etPattern:
    case etOccurrence:
        CreateOccurrence(items, exceptions, patterns, reminders, event->originalStart, kDeletedState);
        break;
    case etCustom:
        SetOccurrenceState(items, exceptions, kDeletedState);
        break;
    case etNone:
    case etException:
        // A deleted occurrence already hides its day.
        break;
    }
    return true;
}

} // namespace velmora
