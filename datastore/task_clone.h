#pragma once
// Copies of records by key, and of tasks and appointments with their own
// reminder and pattern rows: the Clone commands of the lists.

#include <QString>
#include <QVariant>

namespace velmora {

class DataSet;

// Copies the record whose keyField is keyValue; the new key, 0 on failure.
// The copy is current afterwards.
qint64 CloneByKey(DataSet* ds, const QString& keyField, const QVariant& keyValue);

// Copies the current ITask row. With clonePattern / cloneReminder the copy
// gets its own copy of the pattern / reminder row; a row not copied is
// cleared in the copy, so a copy never shares one with its source. The new
// ITaskID, 0 on failure; the items stand on the copy afterwards.
qint64 CloneTask(DataSet* items, DataSet* patterns, DataSet* reminders, bool clonePattern, bool cloneReminder);

// Puts prefix in front of the field's text in the current row and posts.
// False when the dataset has no rows or the post fails.
bool PrefixField(DataSet* ds, const QString& fieldName, const QString& prefix);

} // namespace velmora
