#include "datastore/task_clone.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/post_edition.h"
#include "datastore/record_copy.h"
#include "datastore/record_lookup.h"
#include "foundation/debug_agent.h"

namespace velmora {

namespace {

const QString kITaskID = QStringLiteral("ITaskID");
const QString kReminderID = QStringLiteral("ReminderID");
const QString kPatternID = QStringLiteral("IRecurrencePatternID");

// Writes the values into the current row and posts; false when the post failed.
bool setAndPost(DataSet& ds, const QList<std::pair<QString, QVariant>>& values)
{
    ds.edit();
    for (const auto& [field, value] : values)
        ds.fieldByName(field).setValue(value);
    return PostEdition(&ds);
}

} // namespace

qint64 CloneByKey(DataSet* ds, const QString& keyField, const QVariant& keyValue)
{
    if (!HasRecords(ds) || keyField.isEmpty() || keyValue.isNull() || keyValue.toLongLong() == 0)
        return 0;
    try {
        if (!ds->locate(keyField, keyValue))
            return 0;
        if (!CloneRecord(ds))
            return 0;
        return ds->fieldByName(keyField).asInteger();
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelCloneUnit), QStringLiteral("CloneByKey"), error);
        return 0;
    }
}

qint64 CloneTask(DataSet* items, DataSet* patterns, DataSet* reminders, bool clonePattern, bool cloneReminder)
{
    if (!HasRecords(items) || (clonePattern && !IsDataSetActive(patterns))
        || (cloneReminder && !IsDataSetActive(reminders)))
        return 0;
    try {
        const qint64 newId = CloneByKey(items, kITaskID, items->fieldByName(kITaskID).value());
        if (newId == 0)
            return 0;

        bool reminderCloned = false;
        if (cloneReminder && items->fieldByName(QStringLiteral("HasReminder")).asBoolean()) {
            const qint64 reminderId = items->fieldByName(kReminderID).asInteger();
            const qint64 copy = reminderId != 0 ? CloneByKey(reminders, kReminderID, reminderId) : 0;
            if (copy != 0)
                reminderCloned = setAndPost(*items, {{kReminderID, copy}});
        }
        bool patternCloned = false;
        if (clonePattern) {
            const qint64 patternId = items->fieldByName(kPatternID).asInteger();
            const qint64 copy = patternId != 0 ? CloneByKey(patterns, kPatternID, patternId) : 0;
            if (copy != 0)
                patternCloned = setAndPost(*items, {{kPatternID, copy}});
        }

        // A row the copy would share with its source is let go, so that
        // changing one never changes the other.
        items->edit();
        if (!reminderCloned)
            items->fieldByName(kReminderID).setNull();
        if (!patternCloned)
            items->fieldByName(kPatternID).setNull();
        PostEdition(items);
        return newId;
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelCloneUnit), QStringLiteral("CloneTask"), error);
        return 0;
    }
}

bool PrefixField(DataSet* ds, const QString& fieldName, const QString& prefix)
{
    if (!HasRecords(ds))
        return false;
    try {
        Field& field = ds->fieldByName(fieldName);
        ds->edit();
        field.setValue(prefix + field.asString());
        return PostEdition(ds);
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelCloneUnit), QStringLiteral("PrefixField"), error);
        return false;
    }
}

} // namespace velmora
