#include "datastore/date_literal.h"

#include <QRegularExpression>

namespace velmora {

namespace {

std::optional<QDate> parseDatePart(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})([/-])(\\d{1,2})\\2(\\d{1,4})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int year, month, day;
    if (match.capturedLength(1) == 4) {
        year = match.captured(1).toInt();
        month = match.captured(3).toInt();
        day = match.captured(4).toInt();
    } else {
        month = match.captured(1).toInt();
        day = match.captured(3).toInt();
        year = match.captured(4).toInt();
        if (match.capturedLength(4) <= 2)
            year += year < 30 ? 2000 : 1900;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseTimePart(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hour = match.captured(1).toInt();
    const QString halfDay = match.captured(4).toUpper();
    if (!halfDay.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (halfDay == u"PM" ? 12 : 0);
    }
    const QTime time(hour, match.captured(2).toInt(), match.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<DateTime> parseDateLiteral(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // The date comes first and holds no blank; anything after it is the time.
    const int blank = int(trimmed.indexOf(QLatin1Char(' ')));
    const QString first = blank < 0 ? trimmed : trimmed.left(blank);
    if (first.contains(QLatin1Char(':'))) {
        const auto time = parseTimePart(trimmed);
        return time ? std::optional(DateTime::fromTime(*time)) : std::nullopt;
    }
    const auto date = parseDatePart(first);
    if (!date)
        return std::nullopt;
    if (blank < 0)
        return DateTime::fromDate(*date);
    const auto time = parseTimePart(trimmed.mid(blank + 1).trimmed());
    if (!time)
        return std::nullopt;
    return DateTime::fromDate(*date) + DateTime::fromTime(*time);
}

QString dayNumberText(DateTime value)
{
    if (!value.hasTimePart())
        return QString::number(value.dayNumber());
    return QString::number(value.toDays(), 'g', QLocale::FloatingPointShortest);
}

} // namespace velmora
