#pragma once
// A series as the file holds it, read with plain SELECTs: its pattern row,
// its stored occurrence rows, and which occurrence it has on a given day.

#include "datastore/recurrence_engine.h"
#include "datastore/schedule_event.h"
#include "foundation/date_time.h"

#include <optional>
#include <vector>

struct sqlite3;

namespace velmora {

namespace platform {
class SqliteStatement;
}

// The pattern columns in the order PatternFromStatement reads them.
extern const char kPatternColumns[];
// The pattern of a statement whose columns from first on are kPatternColumns.
RecurrencePattern PatternFromStatement(const platform::SqliteStatement& statement, int first = 0);
std::optional<RecurrencePattern> ReadPattern(sqlite3* db, qint64 patternId);

// A stored date as the file holds it; the epoch for NULL.
DateTime DateColumn(const platform::SqliteStatement& statement, int column);

struct StoredOccurrence {
    qint64 taskId = 0;
    int state = 0; // 2, 3 or 4
    DateTime start;
    DateTime finish;
    // The start it had in the series: its Exceptions row's OriginalDate, or
    // its own start when it has no Exceptions row.
    DateTime originalDate;
};

std::vector<StoredOccurrence> ReadStoredOccurrences(sqlite3* db, qint64 masterId);

// The master's occurrence on the day: a changed occurrence row that starts
// on it, a deleted one that stood on it, or a computed one that no stored
// row hides; nullopt when the series has none that day.
std::optional<TcxEventType> SeriesOccurrenceOnDay(sqlite3* db, qint64 masterId, DateTime day);

} // namespace velmora
