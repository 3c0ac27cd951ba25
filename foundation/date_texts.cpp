#include "foundation/date_texts.h"

#include "foundation/locale_snapshot.h"

#include <QTime>

#include <optional>

namespace velmora {

namespace {

// A locale's time format with seconds, without the time zone part: the
// values here are wall-clock times and carry no zone.
QString timeFormatWithSeconds(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out.append(c);
    }
    return out.simplified();
}

std::optional<QTime> parseTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;

    for (const QLocale& locale : {LocaleSnapshot::current(), LocaleSnapshot::locale()}) {
        for (const QString& format : {locale.timeFormat(QLocale::ShortFormat), timeFormatWithSeconds(locale)}) {
            const QTime time = locale.toTime(trimmed, format);
            if (time.isValid())
                return time;
        }
    }
    static const char* const formats[] = {"H:m", "H:m:s", "h:m AP", "h:m:s AP", "h:mAP", "h:m:sAP", "h AP", "hAP"};
    for (const char* format : formats) {
        const QTime time = QTime::fromString(trimmed, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

} // namespace

QString ShortTimeText(DateTime dateTime)
{
    return LocaleSnapshot::locale().toString(dateTime.time(), QLocale::ShortFormat);
}

QString TimeTextHMS(DateTime dateTime, bool plain)
{
    const QTime time = dateTime.time();
    if (plain)
        return QStringLiteral("%1:%2:%3").arg(time.hour()).arg(time.minute()).arg(time.second());
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString DayNameText(DateTime date, bool longName)
{
    return LocaleSnapshot::current().dayName(date.date().dayOfWeek(),
                                             longName ? QLocale::LongFormat : QLocale::ShortFormat);
}

QString ShortDayName(DateTime date)
{
    static const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return QLatin1String(names[date.dayOfWeek() - 1]);
}

int DayNumberOfName(const QString& name)
{
    static const char* const names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int i = 0; i < 7; ++i) {
        if (name.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 1;
}

QString DateDisplayText(DateTime dateTime)
{
    if (!dateTime.hasDatePart())
        return {};
    return LocaleSnapshot::current().toString(dateTime.date(), QLocale::ShortFormat) + QStringLiteral(" (")
        + DayNameText(dateTime, true) + QLatin1Char(')');
}

QString DateTimeDisplayText(DateTime dateTime)
{
    const QString date = DateDisplayText(dateTime);
    if (date.isEmpty() || !dateTime.hasTimePart())
        return date;
    return date + QLatin1Char(' ') + ShortTimeText(dateTime);
}

QString DateTimeText(DateTime dateTime)
{
    const QLocale locale = LocaleSnapshot::current();
    return locale.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(dateTime.time(), timeFormatWithSeconds(locale));
}

QString DateTextMDY(DateTime date)
{
    return date.date().toString(QStringLiteral("MM/dd/yyyy"));
}

QStringList HalfHourList(DateTime time)
{
    QStringList lines;
    lines.reserve(48);
    const DateTime start = time.timePart();
    for (int i = 0; i < 48; ++i)
        lines.append(ShortTimeText(start.addMinutes(30 * i)));
    return lines;
}

DateTime NextHalfHour(DateTime time)
{
    const int hour = time.hour();
    if (time.minute() > 30)
        return DateTime::fromParts(1899, 12, 30, (hour + 1) % 24, 0);
    return DateTime::fromParts(1899, 12, 30, hour, 30);
}

DateTime TimeOfText(const QString& text)
{
    const auto time = parseTime(text);
    return time ? DateTime::fromTime(*time) : DateTime();
}

bool IsTimeText(const QString& text)
{
    return parseTime(text).has_value();
}

std::int64_t MinutesBetween(DateTime a, DateTime b)
{
    return (a.dayNumber() - b.dayNumber()) * 1440 + (a.hour() - b.hour()) * 60 + (a.minute() - b.minute());
}

int MinutesBetweenTimeTexts(const QString& first, const QString& second)
{
    const auto start = parseTime(first);
    const auto end = parseTime(second);
    if (!start || !end)
        return 0;
    const DateTime from = DateTime::fromTime(*start);
    DateTime to = DateTime::fromTime(*end);
    // An appointment from 22:00 to 1:00 runs over midnight: its length is
    // what moving the end along with the start must keep, so count it whole.
    if (from > to)
        to = to.addDays(1);
    return int(MinutesBetween(to, from));
}

} // namespace velmora
