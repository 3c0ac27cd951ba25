#include "foundation/durations.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace velmora {

namespace {

constexpr int kHour = 60;
constexpr int kDay = 1440;
constexpr int kWeek = 10080;
constexpr int kMonthOfDays = 44640; // 31 days: weeks are named only below this

QString counted(int count, const char* unit)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(unit);
}

} // namespace

QString MinutesToText(int n)
{
    if (n == 0 || n == 1)
        return counted(n, "minute");
    if (n < kHour)
        return counted(n, "minutes");
    if (n == kHour)
        return QStringLiteral("1 hour");
    if (n < kDay && n % kHour == 0)
        return counted(n / kHour, "hours");
    if (n == kDay)
        return QStringLiteral("1 day");
    if (n > kDay && n < kWeek && n % kDay == 0)
        return counted(n / kDay, "days");
    if (n == kWeek)
        return QStringLiteral("1 week");
    if (n > kWeek && n < kMonthOfDays && n % kWeek == 0)
        return counted(n / kWeek, "weeks");
    if (n % kHour == 0)
        return counted(n / kHour, "hours");
    if (n % 30 != 0)
        return counted(n, "minutes");
    return QString::number(n / 60.0, 'f', 1) + QStringLiteral(" hours");
}

int TextToMinutes(const QString& text)
{
    struct Unit {
        const char* word;
        int factor;
    };
    static const Unit units[] = {{"Minute", 1}, {"Hour", kHour}, {"Day", kDay}, {"Week", kWeek}};

    qsizetype position = -1;
    int factor = 0;
    for (const Unit& unit : units) {
        const qsizetype found = text.indexOf(QLatin1String(unit.word), 0, Qt::CaseInsensitive);
        if (found >= 0) {
            position = found;
            factor = unit.factor;
        }
    }
    if (factor == 0)
        return 0;

    // The number stands before the blank that precedes the unit word.
    bool ok = false;
    const double number = text.left(std::max<qsizetype>(position - 1, 0)).trimmed().toDouble(&ok);
    if (!ok)
        return 0;
    const double minutes = std::nearbyint(number * factor); // halves go to the even neighbour
    if (!std::isfinite(minutes) || std::fabs(minutes) > double(std::numeric_limits<int>::max()))
        return 0;
    return int(minutes);
}

QString DurationText(DateTime duration)
{
    const std::int64_t msecs = duration.msecs();
    const bool negative = msecs < 0;
    const std::int64_t totalMinutes = std::llabs(msecs) / DateTime::kMsecsPerMinute;
    const QString text = QString::number(totalMinutes / 60) + QLatin1Char(':')
        + QStringLiteral("%1").arg(totalMinutes % 60, 2, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

} // namespace velmora
