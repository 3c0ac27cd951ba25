#pragma once
// One column of a dataset, read and written on the dataset's current record.
// Dates are kept as days since 30 December 1899 (a double), booleans as 0/1.

#include "datastore/field_type.h"
#include "foundation/date_time.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace velmora {

class DataSet;

class Field {
public:
    Field(DataSet* dataSet, int index, QString name, FieldType type, bool inBaseTable, bool isKey);

    const QString& name() const { return m_name; }
    FieldType type() const { return m_type; }
    int index() const { return m_index; }
    bool isKey() const { return m_isKey; }
    // Posts write only the columns of the query's base table.
    bool inBaseTable() const { return m_inBaseTable; }
    DataSet* dataSet() const { return m_dataSet; }

    // The stored value: null, qint64, double (also dates), QString or QByteArray.
    QVariant value() const;
    bool isNull() const { return value().isNull(); }
    QString asString() const;   // "" for null; dates as the locale's date-time text
    qint64 asInteger() const;   // 0 for null or a non-number
    double asFloat() const;
    bool asBoolean() const;     // non-zero numbers, "True"/"-1"/"1" texts
    DateTime asDateTime() const; // the epoch for null
    QByteArray asBytes() const;

    // Sets the value on the record being edited or inserted; raises
    // velmora::Exception in any other state. The value is converted to the
    // field's type: for a date-time field a DateTime, QDateTime, QDate, QTime,
    // a number of days or a date/time text ("8:00") are accepted.
    void setValue(const QVariant& value);
    void setNull() { setValue(QVariant()); }
    void setDateTime(DateTime value);

private:
    DataSet* m_dataSet;
    int m_index;
    QString m_name;
    FieldType m_type;
    bool m_inBaseTable;
    bool m_isKey;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::DateTime)
