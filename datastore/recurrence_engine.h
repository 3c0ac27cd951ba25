#pragma once
// The one recurrence engine: a pattern row turned into its occurrences. It
// answers every "when does this series occur" question of the suite, the
// calendar's and the reminders' alike.

#include "foundation/date_time.h"

#include <QString>

#include <optional>
#include <vector>

namespace velmora {

class DataSet;

// One IRecurrencePattern row.
struct RecurrencePattern {
    qint64 id = 0;
    int recurrenceType = 1;
    int interval = 1;
    int dayOfWeekMask = 0;
    int dayOfMonth = 1;
    int instance = 1;
    int monthOfYear = 1;
    DateTime patternStartDate;
    DateTime patternEndDate;
    bool noEndDate = true;
    int endType = 0;
    int occurrences = 10;
    DateTime startTime; // time of day only
    DateTime endTime;   // time of day only
    int duration = 30;  // minutes
    bool regenerate = false;

    // The current row of a dataset over IRecurrencePattern.
    static RecurrencePattern fromDataSet(const DataSet& patterns);
};

// One computed occurrence.
struct Occurrence {
    DateTime start;
    DateTime finish;
    int index = 0; // 1 for the series' first occurrence
};

// The first day of the week in force: "FirstDayOfWeek" of the Options
// settings, 1 Sunday .. 7 Saturday; Sunday when unset.
int ConfiguredFirstDayOfWeek();

// Occurrences of the series whose start day lies in [from, to] (whole days,
// both included), in order, the series' own end applying. allDay makes each
// occurrence cover whole days.
std::vector<Occurrence> ExpandSeries(const RecurrencePattern& pattern, bool allDay, DateTime from, DateTime to,
                                     int firstDayOfWeek = ConfiguredFirstDayOfWeek());

// Whether the series has an occurrence that covers the moment's day (an
// occurrence spanning several days covers each of them): the answer the
// reminder rules use.
bool IsOccurrenceOn(const RecurrencePattern& pattern, DateTime moment,
                    int firstDayOfWeek = ConfiguredFirstDayOfWeek());

// The operations on the pattern dataset positioned on the pattern row.
int GetOccurrenceCount(const DataSet& patterns, DateTime endDate);
DateTime GetPatternEndDate(const DataSet& patterns, int n);
DateTime GetOccurenceStartDate(const DataSet& patterns, int n);
DateTime GetNextOccurenceDate(const DataSet& patterns, DateTime after); // 0 (the epoch) when none
DateTime GetRegenerateDate(const DataSet& patterns, DateTime completed);  // 0 when none
bool IsRecurrencePatternValid(const DataSet& patterns, QString& message);
bool IsRecurrenceDurationValid(const DataSet& patterns, DateTime start, DateTime finish);

} // namespace velmora
