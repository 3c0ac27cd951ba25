#include "datastore/filter_value.h"

#include "datastore/date_literal.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace velmora {

namespace {

using Kind = FilterValue::Kind;

std::optional<double> numberInText(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<bool> truthOf(const FilterValue& value)
{
    switch (value.kind) {
    case Kind::Boolean:
        return value.boolean;
    case Kind::Number:
        return value.number != 0;
    case Kind::Date:
        return value.date.msecs() != 0;
    case Kind::Text:
        if (value.text.trimmed().compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (value.text.trimmed().compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
        if (const auto number = numberInText(value.text))
            return *number != 0;
        return std::nullopt;
    case Kind::Null:
        break;
    }
    return std::nullopt;
}

std::optional<DateTime> dateInText(const QString& text)
{
    if (auto iso = DateTime::fromIsoText(text))
        return iso;
    return parseDateLiteral(text);
}

template <typename T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Negative, zero or positive as left is before, equal to or after right;
// nothing when the two cannot be compared. Neither side is null.
std::optional<int> order(const FilterValue& left, const FilterValue& right)
{
    if (left.kind == Kind::Boolean || right.kind == Kind::Boolean) {
        const auto a = truthOf(left);
        const auto b = truthOf(right);
        if (!a || !b)
            return std::nullopt;
        return int(*a) - int(*b);
    }
    if (left.kind == Kind::Text && right.kind == Kind::Text)
        return QString::compare(left.text, right.text, Qt::CaseInsensitive);
    if (left.kind == Kind::Text || right.kind == Kind::Text) {
        // One text, one number or date: read the text as the other's kind.
        const bool textOnLeft = left.kind == Kind::Text;
        const FilterValue& text = textOnLeft ? left : right;
        const FilterValue& other = textOnLeft ? right : left;
        int result;
        if (other.kind == Kind::Number) {
            const auto number = numberInText(text.text);
            result = number ? threeWay(*number, other.number)
                            : QString::compare(text.text, other.toText(), Qt::CaseInsensitive);
        } else {
            const auto date = dateInText(text.text);
            if (!date)
                return std::nullopt;
            result = threeWay(*date, other.date);
        }
        return textOnLeft ? result : -result;
    }
    // Numbers and dates: a date is its day number.
    if (left.kind == Kind::Date && right.kind == Kind::Date)
        return threeWay(left.date, right.date);
    const double a = left.kind == Kind::Date ? left.date.toDays() : left.number;
    const double b = right.kind == Kind::Date ? right.date.toDays() : right.number;
    return threeWay(a, b);
}

} // namespace

FilterValue FilterValue::fromBoolean(bool value)
{
    FilterValue result;
    result.kind = Kind::Boolean;
    result.boolean = value;
    return result;
}

FilterValue FilterValue::fromNumber(double value)
{
    FilterValue result;
    result.kind = Kind::Number;
    result.number = value;
    return result;
}

FilterValue FilterValue::fromText(const QString& value)
{
    FilterValue result;
    result.kind = Kind::Text;
    result.text = value;
    return result;
}

FilterValue FilterValue::fromDate(DateTime value)
{
    FilterValue result;
    result.kind = Kind::Date;
    result.date = value;
    return result;
}

FilterValue FilterValue::fromVariant(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return null();
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<DateTime>())
        return fromDate(value.value<DateTime>());
    switch (type.id()) {
    case QMetaType::Bool:
        return fromBoolean(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return fromNumber(value.toDouble());
    case QMetaType::QDateTime:
        return fromDate(DateTime::fromQDateTime(value.toDateTime()));
    case QMetaType::QDate:
        return fromDate(DateTime::fromDate(value.toDate()));
    case QMetaType::QTime:
        return fromDate(DateTime::fromTime(value.toTime()));
    default:
        return fromText(value.toString());
    }
}

QString FilterValue::toText() const
{
    switch (kind) {
    case Kind::Boolean:
        return boolean ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Number:
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    case Kind::Text:
        return text;
    case Kind::Date:
        return date.toIsoText();
    case Kind::Null:
        break;
    }
    return {};
}

bool compareFilterValues(const FilterValue& left, FilterComparison comparison, const FilterValue& right)
{
    std::optional<int> result;
    if (left.isNull() || right.isNull()) {
        if (left.isNull() && right.isNull())
            result = 0;
    } else {
        result = order(left, right);
    }
    if (!result)
        return comparison == FilterComparison::NotEqual;
    switch (comparison) {
    case FilterComparison::Equal:
        return *result == 0;
    case FilterComparison::NotEqual:
        return *result != 0;
    case FilterComparison::Less:
        return *result < 0;
    case FilterComparison::Greater:
        return *result > 0;
    case FilterComparison::LessOrEqual:
        return *result <= 0;
    case FilterComparison::GreaterOrEqual:
        return *result >= 0;
    }
    return false;
}

QRegularExpression likePattern(const QString& pattern)
{
    QString expression;
    QString literal; // escaped as a whole, so a surrogate pair stays together
    for (const QChar c : pattern) {
        const bool any = c == QLatin1Char('*') || c == QLatin1Char('%');
        const bool one = c == QLatin1Char('_') || c == QLatin1Char('?');
        if (!any && !one) {
            literal += c;
            continue;
        }
        expression += QRegularExpression::escape(literal) + (any ? QStringLiteral(".*") : QStringLiteral("."));
        literal.clear();
    }
    expression += QRegularExpression::escape(literal);
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption
                                  | QRegularExpression::DotMatchesEverythingOption);
}

} // namespace velmora
