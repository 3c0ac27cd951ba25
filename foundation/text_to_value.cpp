#include "foundation/text_to_value.h"

#include "platform/exception.h"

#include <limits>

namespace velmora {

int textToInteger(const QString& text)
{
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    // toLongLong would take its own sign and blanks; the text left must be digits only.
    bool ok = !digits.isEmpty();
    for (QChar c : digits)
        ok = ok && (base == 16 ? isxdigit(c.unicode()) && c.unicode() < 128 : c.isDigit() && c.unicode() < 128);
    const qlonglong magnitude = ok ? digits.toLongLong(&ok, base) : 0;
    const qlonglong value = negative ? -magnitude : magnitude;
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return int(value);
}

bool textToBool(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    try {
        return textToInteger(trimmed) != 0;
    } catch (const Exception&) {
        throw Exception(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    }
}

} // namespace velmora
