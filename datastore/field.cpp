#include "datastore/field.h"

#include "datastore/dataset.h"
#include "foundation/date_texts.h"
#include "platform/exception.h"

#include <QDateTime>

#include <cmath>

namespace velmora {

namespace {

[[noreturn]] void badValue(const QVariant& value, const char* kind)
{
    throw Exception(QStringLiteral("'%1' is not a valid %2 value").arg(value.toString(), QLatin1String(kind)));
}

std::optional<bool> booleanOfText(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qint64 number = word.toLongLong(&ok);
    if (ok)
        return number != 0;
    return std::nullopt;
}

std::optional<double> daysOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: return DateTime::fromQDateTime(value.toDateTime()).toDays();
    case QMetaType::QDate: return DateTime::fromDate(value.toDate()).toDays();
    case QMetaType::QTime: return DateTime::fromTime(value.toTime()).toDays();
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return value.toDouble();
    default: break;
    }
    if (value.canConvert<DateTime>() && value.metaType() == QMetaType::fromType<DateTime>())
        return value.value<DateTime>().toDays();
    const QString text = value.toString().trimmed();
    if (auto parsed = DateTime::fromIsoText(text))
        return parsed->toDays();
    if (IsTimeText(text))
        return TimeOfText(text).toDays();
    return std::nullopt;
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::Long: return true;
    default: return false;
    }
}

// The value as this field stores it.
QVariant converted(FieldType type, const QVariant& value)
{
    if (value.isNull())
        return {};
    const bool emptyText = value.typeId() == QMetaType::QString && value.toString().isEmpty();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        if (value.metaType() == QMetaType::fromType<DateTime>())
            return DateTimeText(value.value<DateTime>());
        return value.toString();
    case FieldType::Integer: {
        if (emptyText)
            return {};
        if (value.typeId() == QMetaType::Bool)
            return QVariant::fromValue<qint64>(value.toBool() ? 1 : 0);
        if (isNumber(value))
            return QVariant::fromValue<qint64>(std::llround(value.toDouble()));
        bool ok = false;
        const qint64 number = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            badValue(value, "integer");
        return QVariant::fromValue<qint64>(number);
    }
    case FieldType::Float: {
        if (emptyText)
            return {};
        bool ok = false;
        const double number = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                                    : value.toDouble(&ok);
        if (!ok)
            badValue(value, "floating-point");
        return number;
    }
    case FieldType::Boolean: {
        if (emptyText)
            return {};
        if (value.typeId() == QMetaType::Bool || isNumber(value))
            return QVariant::fromValue<qint64>(value.toDouble() != 0 ? 1 : 0);
        const auto flag = booleanOfText(value.toString());
        if (!flag)
            badValue(value, "boolean");
        return QVariant::fromValue<qint64>(*flag ? 1 : 0);
    }
    case FieldType::DateTime: {
        if (emptyText)
            return {};
        const auto days = daysOf(value);
        if (!days)
            badValue(value, "date and time");
        return *days;
    }
    case FieldType::Blob: return value.toByteArray();
    case FieldType::Unknown: break;
    }
    if (value.typeId() == QMetaType::Bool)
        return QVariant::fromValue<qint64>(value.toBool() ? 1 : 0);
    if (value.metaType() == QMetaType::fromType<DateTime>())
        return value.value<DateTime>().toDays();
    return value;
}

} // namespace

Field::Field(DataSet* dataSet, int index, QString name, FieldType type, bool inBaseTable, bool isKey)
    : m_dataSet(dataSet), m_index(index), m_name(std::move(name)), m_type(type), m_inBaseTable(inBaseTable),
      m_isKey(isKey)
{
}

QVariant Field::value() const
{
    return m_dataSet->currentValue(m_index);
}

QString Field::asString() const
{
    const QVariant stored = value();
    if (stored.isNull())
        return {};
    switch (m_type) {
    case FieldType::Boolean: return asBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::DateTime: {
        const DateTime when = asDateTime();
        if (!when.hasTimePart())
            return DateTimeText(when).section(QLatin1Char(' '), 0, 0);
        return DateTimeText(when);
    }
    case FieldType::Float: return QString::number(stored.toDouble(), 'g', 15);
    default: return stored.toString();
    }
}

qint64 Field::asInteger() const
{
    const QVariant stored = value();
    if (stored.typeId() == QMetaType::Double)
        return std::llround(stored.toDouble());
    return stored.toLongLong();
}

double Field::asFloat() const
{
    return value().toDouble();
}

bool Field::asBoolean() const
{
    const QVariant stored = value();
    if (stored.isNull())
        return false;
    if (stored.typeId() == QMetaType::QString)
        return booleanOfText(stored.toString()).value_or(false);
    return stored.toDouble() != 0;
}

DateTime Field::asDateTime() const
{
    const QVariant stored = value();
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::QString) {
        const auto days = daysOf(stored);
        return days ? DateTime::fromDays(*days) : DateTime();
    }
    return DateTime::fromDays(stored.toDouble());
}

QByteArray Field::asBytes() const
{
    return value().toByteArray();
}

void Field::setValue(const QVariant& value)
{
    m_dataSet->setBufferValue(m_index, converted(m_type, value));
}

void Field::setDateTime(DateTime value)
{
    setValue(QVariant::fromValue(value));
}

} // namespace velmora
