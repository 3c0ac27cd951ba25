#include "datastore/item_fields.h"

#include "datastore/dataset.h"

namespace velmora {

bool booleanField(const DataSet& ds, const QString& name, bool missing)
{
    const Field* field = ds.findField(name);
    return field ? field->asBoolean() : missing;
}

qint64 integerField(const DataSet& ds, const QString& name, qint64 missing)
{
    const Field* field = ds.findField(name);
    return field ? field->asInteger() : missing;
}

DateTime dateTimeField(const DataSet& ds, const QString& name)
{
    const Field* field = ds.findField(name);
    return field ? field->asDateTime() : DateTime();
}

QString textField(const DataSet& ds, const QString& name)
{
    const Field* field = ds.findField(name);
    return field ? field->asString() : QString();
}

void beginEditing(DataSet& ds)
{
    if (!ds.isEditing())
        ds.edit();
}

void setFieldIfPresent(DataSet& ds, const QString& name, const QVariant& value)
{
    if (Field* field = ds.findField(name))
        field->setValue(value);
}

bool IsSeriesMaster(const DataSet& item)
{
    return booleanField(item, QStringLiteral("IsRecurring"))
        && integerField(item, QStringLiteral("RecurrenceState"), 1) == 1;
}

bool moveToKey(DataSet& ds, const QString& keyField, qint64 key)
{
    if (ds.isEmpty())
        return false;
    if (const Field* field = ds.findField(keyField); field && !ds.eof() && field->asInteger() == key && !field->isNull())
        return true;
    return ds.locate(keyField, key);
}

} // namespace velmora
