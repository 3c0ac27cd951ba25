#include "foundation/week_masks.h"

#include "foundation/clock.h"
#include "foundation/debug_agent.h"

#include <QStringList>

namespace velmora {

namespace {

constexpr int kLastInstance = 5;

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

int WeekMaskOfDays(bool sunday, bool monday, bool tuesday, bool wednesday, bool thursday, bool friday,
                   bool saturday)
{
    const bool days[] = {sunday, monday, tuesday, wednesday, thursday, friday, saturday};
    int mask = 0;
    for (int bit = 0; bit < 7; ++bit) {
        if (days[bit])
            mask |= 1 << bit;
    }
    return mask;
}

bool IsDayInMask(int mask, int weekday)
{
    return weekday >= 1 && weekday <= 7 && (mask & (1 << (weekday - 1))) != 0;
}

int DayMask(DateTime date)
{
    return 1 << (date.dayOfWeek() - 1);
}

int TodayMask()
{
    return DayMask(today());
}

QString WeekMaskText(int mask, int recurrenceType)
{
    if (mask < 0 || mask > kEveryDayMask)
        return {};
    if ((recurrenceType == 3 || recurrenceType == 6) && mask == kEveryDayMask)
        return QStringLiteral("Day");
    if (mask == kWeekdayMask)
        return QStringLiteral("weekday");
    if (mask == kWeekendMask)
        return QStringLiteral("weekend day");

    static const char* const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    QStringList parts;
    for (int bit = 0; bit < 7; ++bit) {
        if (mask & (1 << bit))
            parts.append(QLatin1String(names[bit]));
    }
    return parts.join(QStringLiteral(", "));
}

bool IsNthDayOfMonthByWeekMask(int instance, int mask, DateTime date)
{
    // Only the month's own days are marked: counting 31 days from the first
    // would let the last marked day fall into the next month, and "the last
    // Friday" of a 30-day month would then never be found.
    const QDate day = date.date();
    const int daysInMonth = day.daysInMonth();
    const int firstWeekday = DateTime::fromDate(QDate(day.year(), day.month(), 1)).dayOfWeek();

    QStringList marks;
    int hitDay = 0;
    int count = 0;
    for (int d = 1; d <= daysInMonth; ++d) {
        const bool marked = IsDayInMask(mask, (firstWeekday - 1 + d - 1) % 7 + 1);
        marks.append(marked ? QStringLiteral("1") : QStringLiteral("0"));
        if (!marked)
            continue;
        ++count;
        if (instance == kLastInstance)
            hitDay = d;
        else if (count == instance && hitDay == 0)
            hitDay = d;
    }
    const bool result = hitDay != 0 && hitDay == day.day();

    SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel,
                     QStringLiteral("IsNthDayOfMonthByWeekMask: %1: %2 \r\n%3: %4 \r\n%5: %6 \r\n%7: %8 \r\n"
                                    "%9: %10 \r\n%11: %12 \r\n")
                         .arg(QStringLiteral("Result"), boolText(result), QStringLiteral("iDay"),
                              QString::number(hitDay), QStringLiteral("iInstance"), QString::number(instance),
                              QStringLiteral("iWeekMask"), QString::number(mask))
                         .arg(QStringLiteral("dtDate"), date.toIsoText(), QStringLiteral("arriWeekMask"),
                              marks.join(QLatin1Char(','))));
    return result;
}

} // namespace velmora
