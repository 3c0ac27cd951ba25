#include "datastore/recurrence_engine.h"

#include "datastore/dataset.h"
#include "datastore/field.h"
#include "datastore/occurrence_calculator.h"
#include "datastore/recurrence_info.h"
#include "foundation/clock.h"
#include "foundation/date_texts.h"
#include "foundation/debug_agent.h"
#include "foundation/settings_batch.h"
#include "foundation/settings_keys.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

const QString kChannel = QStringLiteral("ScheduleEventUnit");

void log(const QString& message)
{
    SendDebugMessage(kChannel, kTraceLevel, message);
}

QString dateText(DateTime value)
{
    return DateTimeText(value);
}

bool isOpen(const DataSet& patterns)
{
    return patterns.isActive() && patterns.recordCount() > 0;
}

// A weekday name, or its number 1 Sunday .. 7 Saturday; 0 for anything else.
int weekdayOfText(const QString& text)
{
    static const char* const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    const QString trimmed = text.trimmed();
    for (int i = 0; i < 7; ++i) {
        if (trimmed.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    bool ok = false;
    const int number = trimmed.toInt(&ok);
    return ok && number >= 1 && number <= 7 ? number : 0;
}

int systemFirstDayOfWeek()
{
    return int(QLocale::system().firstDayOfWeek()) % 7 + 1; // Qt: Monday 1 .. Sunday 7
}

DateTime readDate(const DataSet& data, const char* name)
{
    const Field* field = data.findField(QLatin1String(name));
    return field ? field->asDateTime() : DateTime();
}

int readInt(const DataSet& data, const char* name, int fallback)
{
    const Field* field = data.findField(QLatin1String(name));
    return field && !field->isNull() ? int(field->asInteger()) : fallback;
}

bool readBool(const DataSet& data, const char* name, bool fallback)
{
    const Field* field = data.findField(QLatin1String(name));
    return field && !field->isNull() ? field->asBoolean() : fallback;
}

// A series that ends by count keeps within its end date as well, when the
// row has one: a row without a date must not lose its every occurrence.
DateTime searchEnd(const RecurringEvent& event, const RecurrencePattern& pattern)
{
    if (pattern.noEndDate || !pattern.patternEndDate.hasDatePart())
        return SearchLimitDay();
    return std::min(event.recurrenceInfo.finish.datePart(), SearchLimitDay());
}

std::optional<Occurrence> firstOccurrence(const RecurrencePattern& pattern)
{
    RecurringEvent event = MakePatternEvent(pattern, false);
    return OccurrenceCalculator(event, ConfiguredFirstDayOfWeek()).first();
}

} // namespace

RecurrencePattern RecurrencePattern::fromDataSet(const DataSet& patterns)
{
    RecurrencePattern pattern;
    const Field* key = patterns.findField(QStringLiteral("IRecurrencePatternID"));
    pattern.id = key ? key->asInteger() : 0;
    pattern.recurrenceType = readInt(patterns, "RecurrenceType", pattern.recurrenceType);
    pattern.interval = readInt(patterns, "Interval", pattern.interval);
    pattern.dayOfWeekMask = readInt(patterns, "DayOfWeekMask", pattern.dayOfWeekMask);
    pattern.dayOfMonth = readInt(patterns, "DayOfMonth", pattern.dayOfMonth);
    pattern.instance = readInt(patterns, "Instance", pattern.instance);
    pattern.monthOfYear = readInt(patterns, "MonthOfYear", pattern.monthOfYear);
    pattern.patternStartDate = readDate(patterns, "PatternStartDate");
    pattern.patternEndDate = readDate(patterns, "PatternEndDate");
    pattern.noEndDate = readBool(patterns, "NoEndDate", pattern.noEndDate);
    pattern.endType = readInt(patterns, "EndType", pattern.endType);
    pattern.occurrences = readInt(patterns, "Occurrences", pattern.occurrences);
    pattern.startTime = readDate(patterns, "StartTime").timePart();
    pattern.endTime = readDate(patterns, "EndTime").timePart();
    pattern.duration = readInt(patterns, "Duration", pattern.duration);
    pattern.regenerate = readBool(patterns, "Regenerate", pattern.regenerate);
    return pattern;
}

int ConfiguredFirstDayOfWeek()
{
    QString text;
    int number = 0;
    bool present = false;
    readSettingsBatch(QStringLiteral("CommUnit"),
                      QLatin1String(kProductRootKey) + QStringLiteral("\\Velmora Center\\Options"),
                      QStringLiteral("Failed to get FirstDayOfWeek from Registry."), [&](RegistryKey& key) {
                          const QString name = QStringLiteral("FirstDayOfWeek");
                          if (!key.valueExists(name))
                              return;
                          present = true;
                          try {
                              text = key.readString(name);
                          } catch (const std::exception&) {
                              number = key.readInteger(name); // an older writer stored the number
                          }
                      });
    if (!present)
        return 1;
    if (number >= 1 && number <= 7)
        return number;
    const int weekday = weekdayOfText(text);
    return weekday != 0 ? weekday : systemFirstDayOfWeek();
}

std::vector<Occurrence> ExpandSeries(const RecurrencePattern& pattern, bool allDay, DateTime from, DateTime to,
                                     int firstDayOfWeek)
{
    const RecurringEvent event = MakePatternEvent(pattern, allDay);
    return OccurrenceCalculator(event, firstDayOfWeek).between(from, to);
}

bool IsOccurrenceOn(const RecurrencePattern& pattern, DateTime moment, int firstDayOfWeek)
{
    const RecurringEvent event = MakePatternEvent(pattern, false);
    const OccurrenceCalculator calculator(event, firstDayOfWeek);
    const DateTime day = moment.datePart();
    // An occurrence ending at midnight does not reach into the next day.
    const std::int64_t span = event.finish > event.start
        ? (event.finish.addMsecs(-1).dayNumber() - event.start.dayNumber())
        : 0;
    bool covered = false;
    calculator.forEach(day.addDays(-span), day, true, [&](const Occurrence& occurrence) {
        const DateTime lastDay = occurrence.finish > occurrence.start ? occurrence.finish.addMsecs(-1).datePart()
                                                                       : occurrence.start.datePart();
        covered = lastDay >= day;
        return !covered;
    });
    return covered;
}

int GetOccurrenceCount(const DataSet& patterns, DateTime endDate)
{
    if (!isOpen(patterns))
        return 0;
    QString message;
    if (!IsRecurrencePatternValid(patterns, message))
        return 0;
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    RecurringEvent event = MakePatternEvent(pattern, false);
    event.recurrenceInfo.finish = endDate;
    const int count = OccurrenceCalculator(event, ConfiguredFirstDayOfWeek()).countUpTo(endDate);
    log(QStringLiteral("GetOccurrenceCount, dtPatternEndDate, Occurrences: ") + dateText(endDate)
        + QStringLiteral(", ") + QString::number(count));
    return count;
}

namespace {

// The n-th occurrence of the unlimited series; n below 1 is the event itself.
Occurrence nthOfUnlimited(const DataSet& patterns, int n)
{
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    RecurringEvent event = MakePatternEvent(pattern, false);
    event.recurrenceInfo.count = kUnlimitedCount;
    Occurrence result{event.start, event.finish, 0};
    if (n >= 1) {
        if (const auto found = OccurrenceCalculator(event, ConfiguredFirstDayOfWeek()).nth(n))
            result = *found;
    }
    return result;
}

} // namespace

DateTime GetPatternEndDate(const DataSet& patterns, int n)
{
    if (!isOpen(patterns))
        return {};
    QString message;
    if (!IsRecurrencePatternValid(patterns, message))
        return now();
    const DateTime result = nthOfUnlimited(patterns, n).finish.datePart();
    log(QStringLiteral("GetPatternEndDate, dtPatternEndDate, Occurrences: ") + dateText(result) + QStringLiteral(", ")
        + QString::number(n));
    return result;
}

DateTime GetOccurenceStartDate(const DataSet& patterns, int n)
{
    if (!isOpen(patterns))
        return {};
    QString message;
    if (!IsRecurrencePatternValid(patterns, message))
        return now();
    const DateTime result = nthOfUnlimited(patterns, n).start.datePart();
    log(QStringLiteral("GetOccurenceStartDate, PatternStartDate, Occurrences: ") + dateText(result)
        + QStringLiteral(", ") + QString::number(n));
    return result;
}

DateTime GetNextOccurenceDate(const DataSet& patterns, DateTime after)
{
    if (!isOpen(patterns))
        return {};
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    const RecurringEvent event = MakePatternEvent(pattern, false);
    const OccurrenceCalculator calculator(event, ConfiguredFirstDayOfWeek());
    const DateTime windowEnd = searchEnd(event, pattern);
    // Only days after A's own day can qualify, so the search starts there.
    DateTime result;
    calculator.forEach(after.datePart().addDays(1), windowEnd, true, [&](const Occurrence& occurrence) {
        const DateTime day = occurrence.start.datePart();
        if (day > after) {
            result = day;
            return false;
        }
        return true;
    });
    log(QStringLiteral("GetNextOccurenceDate, GetOccurrenceCount, APattern.RecurrenceInfo.Start, "
                       "APattern.RecurrenceInfo.Finish, dtDue, Result: ")
        + QString::number(calculator.countUpTo(event.recurrenceInfo.finish)) + QStringLiteral(", ")
        + dateText(event.recurrenceInfo.start.datePart()) + QStringLiteral(", ")
        + dateText(event.recurrenceInfo.finish.datePart()) + QStringLiteral(", ") + dateText(after)
        + QStringLiteral(", ") + dateText(result));
    return result;
}

DateTime GetRegenerateDate(const DataSet& patterns, DateTime completed)
{
    if (!isOpen(patterns))
        return {};
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    if (!pattern.regenerate)
        return {};
    const DateTime today = velmora::today();
    const int count = pattern.noEndDate ? std::numeric_limits<int>::max() : pattern.occurrences;
    const DateTime lastDate = pattern.noEndDate ? today.addYears(100) : pattern.patternEndDate;
    if (count < 1)
        return {};
    DateTime candidate;
    switch (pattern.recurrenceType) {
    case 0: candidate = completed.addDays(1); break;
    case 1: candidate = completed.addDays(7); break;
    case 2:
    case 3: candidate = completed.addMonths(1); break;
    case 5:
    case 6: candidate = completed.addYears(1); break;
    default: return {};
    }
    // Whole days: a candidate later today is still today.
    if (candidate.datePart() > today && candidate.datePart() <= lastDate.datePart())
        return candidate;
    return {};
}

bool IsRecurrencePatternValid(const DataSet& patterns, QString& message)
{
    message.clear();
    if (!isOpen(patterns))
        return false;
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    bool valid = true;
    if (pattern.dayOfWeekMask == 0) {
        message = QStringLiteral("At least one day should be checked.");
        valid = false;
    } else {
        try {
            if (!firstOccurrence(pattern)) {
                message = QStringLiteral("The recurrence pattern is not valid.");
                valid = false;
            }
        } catch (const std::exception& error) {
            message = QString::fromLocal8Bit(error.what());
            valid = false;
        }
    }
    if (!message.isEmpty())
        log(QStringLiteral("IsRecurrencePatternValid: ") + message);
    return valid;
}

bool IsRecurrenceDurationValid(const DataSet& patterns, DateTime start, DateTime finish)
{
    if (!isOpen(patterns))
        return false;
    const RecurrencePattern pattern = RecurrencePattern::fromDataSet(patterns);
    // Without a separate flag, a span from midnight to a later midnight is
    // the all-day appointment the dialogs make.
    const bool allDay = !start.hasTimePart() && !finish.hasTimePart() && finish > start;
    RecurringEvent event;
    event.allDayEvent = allDay;
    LoadRecurrenceInfo(event, pattern);
    event.start = start;
    event.finish = finish;
    const OccurrenceCalculator calculator(event, ConfiguredFirstDayOfWeek());
    const auto first = calculator.first();
    if (!first)
        return false;
    if (event.recurrenceInfo.count == 1)
        return true;
    const bool shortPeriod = event.recurrenceInfo.recurrence == cxreDaily
        || event.recurrenceInfo.recurrence == cxreWeekly;
    const DateTime horizon = first->start.addDays(14);
    bool fits = true;
    std::optional<Occurrence> previous;
    calculator.forEach(first->start, SearchLimitDay(), true, [&](const Occurrence& occurrence) {
        if (previous) {
            const bool overlaps = allDay ? previous->finish.datePart() > occurrence.start.datePart()
                                         : occurrence.start < previous->finish;
            if (overlaps) {
                fits = false;
                return false;
            }
            if (!shortPeriod)
                return false;
        }
        if (occurrence.start > horizon)
            return false;
        previous = occurrence;
        return true;
    });
    return fits;
}

} // namespace velmora
