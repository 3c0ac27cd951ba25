#pragma once
// Looking records up in a dataset without losing the user's place: state
// tests, user names, name lists, lookup rows found or added, a task's
// reminder and pattern, and skipping to the next open task.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace velmora {

class DataSet;

bool IsDataSetActive(const DataSet* ds);
bool HasRecords(const DataSet* ds);

// FullName (or LastName + ", " + FirstName without that field) of the Users
// row; empty when the query is closed, the row is missing or userID is the
// largest integer (the "no user" mark). The current record stays.
QString GetUserFullName(DataSet* usersQuery, int userID);

// The field's value of every record, each followed by CR LF, the whole trimmed.
QString GetFieldValuesAsLines(DataSet* query, const QString& fieldName);
QString GetNameList(DataSet* query); // of the field "Name"

// The key of the lookup row named nameText, found by name (without case) or
// by the key in idText, or of a new row with that name; defaultID for an
// empty name. With allowedNames, a name not in it always gets a new row.
int FindOrAddLookupRecord(DataSet* query, const QString& idField, const QString& nameField, int defaultID,
                          const QString& idText, const QString& nameText,
                          const QStringList* allowedNames = nullptr);

// Moves query to the record whose keyField is keyValue and, when it has them,
// recurrencesDs to its pattern and remindersDs to its reminder. Whether the
// record was found; an error is shown and gives false.
bool LocateITaskSubTables(const QString& keyField, const QVariant& keyValue, DataSet* query, DataSet* remindersDs,
                          DataSet* recurrencesDs);

// Moves on (or back) until the record is neither a deleted occurrence nor
// complete, or the end (start) is reached.
void SkipToOpenTask(DataSet* query, bool backwards);

} // namespace velmora
