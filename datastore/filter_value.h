#pragma once
// A value as a client-side filter sees it, and the loose way filters compare
// values: numbers as numbers (also a number held as text), texts without
// regard to case, True as any non-zero value, null equal only to null.

#include "foundation/date_time.h"

#include <QRegularExpression>
#include <QString>
#include <QVariant>

#include <optional>

namespace velmora {

enum class FilterComparison { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

struct FilterValue {
    enum class Kind { Null, Boolean, Number, Text, Date };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    QString text;
    DateTime date;

    static FilterValue null() { return {}; }
    static FilterValue fromBoolean(bool value);
    static FilterValue fromNumber(double value);
    static FilterValue fromText(const QString& value);
    static FilterValue fromDate(DateTime value);
    // A field's value: null, bool, any number, text, DateTime, QDateTime,
    // QDate or QTime; anything else by its text.
    static FilterValue fromVariant(const QVariant& value);

    bool isNull() const { return kind == Kind::Null; }
    // The text LIKE matches against: numbers without trailing zeros, dates
    // as "YYYY-MM-DDTHH:MM:SS.zzz", booleans as "True" and "False".
    QString toText() const;
};

// A null is equal only to a null and unequal to everything else; it is
// neither less nor greater than anything. Values that cannot be compared
// (a word against a date) are unequal.
bool compareFilterValues(const FilterValue& left, FilterComparison comparison, const FilterValue& right);

// LIKE patterns: * or % for any run of characters, _ or ? for one character;
// the whole text must match, without regard to case.
QRegularExpression likePattern(const QString& pattern);

} // namespace velmora
