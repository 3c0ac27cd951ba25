#include "foundation/date_time.h"

#include <QRegularExpression>

#include <cmath>

namespace velmora {

namespace {

// Constant-initialised, so dates built before main() (static test data) are right.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019); // 30 December 1899

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor)
{
    std::int64_t quotient = value / divisor;
    if ((value % divisor != 0) && ((value < 0) != (divisor < 0)))
        --quotient;
    return quotient;
}

} // namespace

DateTime DateTime::fromDays(double days)
{
    return DateTime(std::int64_t(std::llround(days * double(kMsecsPerDay))));
}

DateTime DateTime::fromDate(const QDate& date)
{
    return DateTime(kEpoch.daysTo(date) * kMsecsPerDay);
}

DateTime DateTime::fromTime(const QTime& time)
{
    return DateTime(time.isValid() ? time.msecsSinceStartOfDay() : 0);
}

DateTime DateTime::fromQDateTime(const QDateTime& dateTime)
{
    return fromDate(dateTime.date()) + fromTime(dateTime.time());
}

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return fromDate(QDate(year, month, day))
        .addMsecs(((std::int64_t(hour) * 60 + minute) * 60 + second) * 1000 + msec);
}

std::optional<DateTime> DateTime::fromIsoText(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?)?$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(),
                     match.captured(7).leftJustified(3, QLatin1Char('0')).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return fromDate(date) + fromTime(time);
}

std::int64_t DateTime::dayNumber() const
{
    return floorDiv(m_msecs, kMsecsPerDay);
}

QDate DateTime::date() const
{
    return kEpoch.addDays(dayNumber());
}

QTime DateTime::time() const
{
    return QTime::fromMSecsSinceStartOfDay(int(timePart().m_msecs));
}

QDateTime DateTime::toQDateTime() const
{
    return QDateTime(date(), time());
}

QString DateTime::toIsoText() const
{
    return date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('T')
        + time().toString(QStringLiteral("HH:mm:ss.zzz"));
}

int DateTime::dayOfWeek() const
{
    return date().dayOfWeek() % 7 + 1; // Qt: Monday 1 .. Sunday 7
}

DateTime DateTime::addMonths(int months) const
{
    return fromDate(date().addMonths(months)) + timePart();
}

} // namespace velmora
