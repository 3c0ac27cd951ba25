#include "datastore/series_links.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/post_edition.h"
#include "datastore/record_lookup.h"
#include "foundation/debug_agent.h"

#include <QList>

namespace velmora {

namespace {

void trace(const QString& message)
{
    SendDebugMessage(QString::fromLatin1(kChannelAccessUnit), kTraceLevel, message);
}

class ControlsDisabled {
public:
    explicit ControlsDisabled(DataSet& ds) : m_ds(ds) { m_ds.disableControls(); }
    ~ControlsDisabled() { m_ds.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    DataSet& m_ds;
};

bool deleteByKey(DataSet& ds, const QString& keyField, qint64 key)
{
    return key > 0 && moveToKey(ds, keyField, key) && DeleteARecord(&ds);
}

// The Exceptions row of an occurrence, by its key and whether it marks a deletion.
void deleteOwnException(DataSet& exceptions, qint64 itemKey, bool deleted)
{
    if (exceptions.locate(QStringLiteral("ITaskID;IsDeleted"), QVariantList{itemKey, deleted}))
        DeleteARecord(&exceptions);
}

} // namespace

bool RemoveRecurrenceAndReminder(DataSet* item, DataSet* reminders, DataSet* patterns)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(reminders) || !IsDataSetActive(patterns))
        return false;
    const qint64 patternId = integerField(*item, QStringLiteral("IRecurrencePatternID"));
    const qint64 reminderId = integerField(*item, QStringLiteral("ReminderID"));
    if (patternId <= 0 && reminderId <= 0)
        return false;
    ControlsDisabled disabled(*item);
    const bool isTask = booleanField(*item, QStringLiteral("IsTask"), true);
    const bool keepsSeriesPattern = !isTask && integerField(*item, QStringLiteral("RecurrenceState")) != 1;
    if (!keepsSeriesPattern && patternId > 0) {
        beginEditing(*item);
        item->fieldByName(QStringLiteral("IRecurrencePatternID")).setValue(0);
        item->fieldByName(QStringLiteral("IsRecurring")).setValue(false);
        PostEdition(item);
        deleteByKey(*patterns, QStringLiteral("IRecurrencePatternID"), patternId);
    }
    beginEditing(*item);
    item->fieldByName(QStringLiteral("ReminderID")).setValue(0);
    item->fieldByName(QStringLiteral("HasReminder")).setValue(false);
    PostEdition(item);
    deleteByKey(*reminders, QStringLiteral("ReminderID"), reminderId);
    return true;
}

bool DeleteAppointmentExceptions(DataSet* item, DataSet* exceptions, DataSet* reminders)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(exceptions))
        return false;
    const qint64 state = integerField(*item, QStringLiteral("RecurrenceState"));
    if (state == 0)
        return false;
    const qint64 startKey = integerField(*item, QStringLiteral("ITaskID"));
    {
        ControlsDisabled disabled(*item);
        exceptions->setFiltered(false);
        if (state == 1) {
            exceptions->setFilter(QStringLiteral("ParentID = ") + QString::number(startKey));
            exceptions->setFiltered(true);
            // Each delete shifts the filtered rows; collect the keys first.
            QList<qint64> occurrences;
            for (exceptions->first(); !exceptions->eof(); exceptions->next())
                occurrences.append(integerField(*exceptions, QStringLiteral("ITaskID")));
            while (!exceptions->isEmpty()) {
                exceptions->first();
                if (!DeleteARecord(exceptions))
                    break;
            }
            for (qint64 occurrence : occurrences) {
                if (!item->locate(QStringLiteral("ITaskID"), occurrence))
                    continue;
                const qint64 reminderId = integerField(*item, QStringLiteral("ReminderID"));
                trace(QStringLiteral("qryMaster: ITaskID, ReminderID, RecurrenceState: %1, %2, %3")
                          .arg(occurrence)
                          .arg(reminderId)
                          .arg(integerField(*item, QStringLiteral("RecurrenceState"))));
                DeleteARecord(item);
                if (reminderId > 0 && IsDataSetActive(reminders))
                    deleteByKey(*reminders, QStringLiteral("ReminderID"), reminderId);
            }
        } else if (state == 2 || state == 4) {
            deleteOwnException(*exceptions, startKey, false);
        } else if (state == 3) {
            deleteOwnException(*exceptions, startKey, true);
        }
        exceptions->setFiltered(false);
    }
    if (!item->locate(QStringLiteral("ITaskID"), startKey))
        trace(QStringLiteral("Attention: DeleteAppointmentExceptions fail to locate ITaskID: ")
              + QString::number(startKey));
    return true;
}

bool HasSeriesLinks(DataSet* item, DataSet* exceptions)
{
    if (!IsDataSetActive(item))
        return false;
    const qint64 key = integerField(*item, QStringLiteral("ITaskID"));
    const qint64 parent = integerField(*item, QStringLiteral("ParentID"));
    if (parent > 0 && parent != key)
        return true;
    if (!IsDataSetActive(exceptions))
        return false;
    auto walker = exceptions->clone();
    for (walker->first(); !walker->eof(); walker->next())
        if (integerField(*walker, QStringLiteral("ParentID")) == key)
            return true;
    return false;
}

void SetOccurrenceState(DataSet* item, DataSet* exceptions, int state)
{
    if (!IsDataSetActive(item))
        return;
    beginEditing(*item);
    item->fieldByName(QStringLiteral("RecurrenceState")).setValue(state);
    PostEdition(item);
    if (!IsDataSetActive(exceptions))
        return;
    const qint64 key = integerField(*item, QStringLiteral("ITaskID"));
    const qint64 parent = integerField(*item, QStringLiteral("ParentID"));
    if (!exceptions->locate(QStringLiteral("ITaskID;ParentID"), QVariantList{key, parent}))
        return;
    beginEditing(*exceptions);
    exceptions->fieldByName(QStringLiteral("IsDeleted")).setValue(state == 3);
    PostEdition(exceptions);
}

} // namespace velmora
