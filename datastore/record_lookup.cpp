#include "datastore/record_lookup.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/post_edition.h"
#include "foundation/debug_agent.h"
#include "foundation/message_boxes.h"
#include "foundation/text_helpers.h"

#include <climits>

namespace velmora {

namespace {

// Walks the records and puts the cursor back where it stood; observers see
// nothing of the walk.
class CursorKeeper {
public:
    explicit CursorKeeper(DataSet& ds) : m_ds(ds), m_mark(ds.bookmark()) { m_ds.disableControls(); }
    ~CursorKeeper()
    {
        try {
            if (!m_mark.isNull() && m_ds.bookmarkValid(m_mark))
                m_ds.gotoBookmark(m_mark);
        } catch (const std::exception&) {
            // The record went away meanwhile; the cursor stays where the walk ended.
        }
        m_ds.enableControls();
    }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

private:
    DataSet& m_ds;
    Bookmark m_mark;
};

void trace(const QString& message)
{
    SendDebugMessage(QString::fromLatin1(kChannelAccessUnit), kTraceLevel, message);
}

} // namespace

bool IsDataSetActive(const DataSet* ds)
{
    return ds && ds->isActive();
}

bool HasRecords(const DataSet* ds)
{
    return IsDataSetActive(ds) && !ds->isEmpty();
}

QString GetUserFullName(DataSet* usersQuery, int userID)
{
    if (!IsDataSetActive(usersQuery) || userID == INT_MAX)
        return QString();
    CursorKeeper keeper(*usersQuery);
    if (!usersQuery->locate(QStringLiteral("UserID"), userID))
        return QString();
    if (const Field* fullName = usersQuery->findField(QStringLiteral("FullName")))
        return fullName->asString();
    return usersQuery->fieldByName(QStringLiteral("LastName")).asString() + QStringLiteral(", ")
        + usersQuery->fieldByName(QStringLiteral("FirstName")).asString();
}

QString GetFieldValuesAsLines(DataSet* query, const QString& fieldName)
{
    if (!HasRecords(query))
        return QString();
    const Field& field = query->fieldByName(fieldName);
    QString lines;
    CursorKeeper keeper(*query);
    for (query->first(); !query->eof(); query->next())
        lines += field.asString() + QStringLiteral("\r\n");
    return lines.trimmed();
}

QString GetNameList(DataSet* query)
{
    return GetFieldValuesAsLines(query, QStringLiteral("Name"));
}

int FindOrAddLookupRecord(DataSet* query, const QString& idField, const QString& nameField, int defaultID,
                          const QString& idText, const QString& nameText, const QStringList* allowedNames)
{
    const QString name = nameText.trimmed();
    if (name.isEmpty() || !IsDataSetActive(query))
        return defaultID;
    const bool allowed = !allowedNames || allowedNames->contains(name, Qt::CaseInsensitive);
    if (allowed) {
        if (query->locate(nameField, name, LocateCaseInsensitive))
            return int(query->fieldByName(idField).asInteger());
        const int id = IntegerOrZero(idText);
        if (query->locate(idField, id))
            return id;
    }
    query->checkBrowseMode();
    query->insert();
    query->fieldByName(nameField).setValue(nameText);
    // A row that could not be stored has no key of its own to hand out.
    if (!PostEdition(query))
        return defaultID;
    return int(query->fieldByName(idField).asInteger());
}

bool LocateITaskSubTables(const QString& keyField, const QVariant& keyValue, DataSet* query, DataSet* remindersDs,
                          DataSet* recurrencesDs)
{
    try {
        if (!query || !query->locate(keyField, keyValue))
            return false;
        const qint64 patternID = query->fieldByName(QStringLiteral("IRecurrencePatternID")).asInteger();
        if (patternID > 0 && recurrencesDs
            && recurrencesDs->locate(QStringLiteral("IRecurrencePatternID"), patternID))
            trace(QStringLiteral("LocateITaskSubTables Found Recurrence!"));
        const qint64 reminderID = query->fieldByName(QStringLiteral("ReminderID")).asInteger();
        if (reminderID > 0 && remindersDs && remindersDs->locate(QStringLiteral("ReminderID"), reminderID))
            trace(QStringLiteral("LocateITaskSubTables Found Reminder!"));
        return true;
    } catch (const std::exception& error) {
        CommShowException(error, QStringLiteral("Fail to locate record."), QString(), true);
        return false;
    }
}

void SkipToOpenTask(DataSet* query, bool backwards)
{
    if (!HasRecords(query))
        return;
    const auto atLimit = [&] { return backwards ? query->bof() : query->eof(); };
    const auto step = [&] { backwards ? query->prior() : query->next(); };
    const auto isOpen = [&] {
        return query->fieldByName(QStringLiteral("RecurrenceState")).asInteger() != 3
            && !query->fieldByName(QStringLiteral("IsComplete")).asBoolean();
    };
    step();
    while (!atLimit() && !isOpen())
        step();
}

} // namespace velmora
