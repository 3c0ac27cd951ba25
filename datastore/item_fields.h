#pragma once
// Reading and writing the optional fields of a task, appointment, pattern or
// reminder record: a missing field reads as a given fallback and is not written.

#include "foundation/date_time.h"

#include <QString>
#include <QVariant>

namespace velmora {

class DataSet;

bool booleanField(const DataSet& ds, const QString& name, bool missing = false);
qint64 integerField(const DataSet& ds, const QString& name, qint64 missing = 0);
DateTime dateTimeField(const DataSet& ds, const QString& name);
QString textField(const DataSet& ds, const QString& name);

// Puts the dataset into edit state when it is not editing already.
void beginEditing(DataSet& ds);
// Sets the field when the dataset has it; the dataset must be editing.
void setFieldIfPresent(DataSet& ds, const QString& name, const QVariant& value);

// Whether the item is a series master: IsRecurring and, where the field
// exists, RecurrenceState 1.
bool IsSeriesMaster(const DataSet& item);

// Moves ds to the record whose keyField is key, staying when the current
// record already is that one. False when no record has the key.
bool moveToKey(DataSet& ds, const QString& keyField, qint64 key);

} // namespace velmora
