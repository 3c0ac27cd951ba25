#include "datastore/series_rows.h"

#include "platform/sqlite_statement.h"

namespace velmora {

using platform::SqliteStatement;

const char kPatternColumns[] =
    "p.\"IRecurrencePatternID\", p.\"RecurrenceType\", p.\"Interval\", p.\"DayOfWeekMask\", p.\"DayOfMonth\", "
    "p.\"Instance\", p.\"MonthOfYear\", p.\"PatternStartDate\", p.\"PatternEndDate\", p.\"NoEndDate\", "
    "p.\"EndType\", p.\"Occurrences\", p.\"StartTime\", p.\"EndTime\", p.\"Duration\", p.\"Regenerate\"";

DateTime DateColumn(const SqliteStatement& statement, int column)
{
    return statement.isNull(column) ? DateTime() : DateTime::fromDays(statement.real(column));
}

RecurrencePattern PatternFromStatement(const SqliteStatement& statement, int first)
{
    int column = first;
    const auto integer = [&] { return int(statement.int64(column++)); };
    const auto date = [&] { return DateColumn(statement, column++); };
    RecurrencePattern pattern;
    pattern.id = statement.int64(column++);
    pattern.recurrenceType = integer();
    pattern.interval = integer();
    pattern.dayOfWeekMask = integer();
    pattern.dayOfMonth = integer();
    pattern.instance = integer();
    pattern.monthOfYear = integer();
    pattern.patternStartDate = date();
    pattern.patternEndDate = date();
    pattern.noEndDate = integer() != 0;
    pattern.endType = integer();
    pattern.occurrences = integer();
    pattern.startTime = date().timePart();
    pattern.endTime = date().timePart();
    pattern.duration = integer();
    pattern.regenerate = integer() != 0;
    return pattern;
}

std::optional<RecurrencePattern> ReadPattern(sqlite3* db, qint64 patternId)
{
    const QByteArray sql = QByteArray("SELECT ") + kPatternColumns
        + " FROM \"IRecurrencePattern\" p WHERE p.\"IRecurrencePatternID\" = ?1";
    SqliteStatement statement(db, sql.constData());
    statement.bind(1, std::int64_t(patternId));
    if (!statement.step())
        return std::nullopt;
    return PatternFromStatement(statement);
}

std::vector<StoredOccurrence> ReadStoredOccurrences(sqlite3* db, qint64 masterId)
{
    SqliteStatement statement(
        db, "SELECT t.\"ITaskID\", t.\"RecurrenceState\", t.\"StartDate\", t.\"DueDate\", e.\"OriginalDate\" "
            "FROM \"ITask\" t LEFT JOIN \"Exceptions\" e ON e.\"ITaskID\" = t.\"ITaskID\" "
            "AND e.\"ParentID\" = t.\"ParentID\" "
            "WHERE t.\"ParentID\" = ?1 AND t.\"RecurrenceState\" IN (2, 3, 4) ORDER BY t.\"ITaskID\"");
    statement.bind(1, std::int64_t(masterId));
    std::vector<StoredOccurrence> rows;
    while (statement.step()) {
        StoredOccurrence row;
        row.taskId = statement.int64(0);
        row.state = int(statement.int64(1));
        row.start = DateColumn(statement, 2);
        row.finish = DateColumn(statement, 3);
        row.originalDate = statement.isNull(4) ? row.start : DateColumn(statement, 4);
        rows.push_back(row);
    }
    return rows;
}

std::optional<TcxEventType> SeriesOccurrenceOnDay(sqlite3* db, qint64 masterId, DateTime day)
{
    const std::int64_t dayNumber = day.dayNumber();
    bool hidden = false;
    bool deleted = false;
    for (const StoredOccurrence& row : ReadStoredOccurrences(db, masterId)) {
        if (row.state != 3 && row.start.dayNumber() == dayNumber)
            return RecurrenceStateToEventType(row.state);
        if (row.originalDate.dayNumber() == dayNumber) {
            hidden = true;
            deleted = deleted || row.state == 3;
        }
    }
    if (deleted)
        return etException;
    if (hidden)
        return std::nullopt;

    SqliteStatement master(db, "SELECT \"IRecurrencePatternID\", \"IsAllDayEvent\" FROM \"ITask\" "
                               "WHERE \"ITaskID\" = ?1 AND \"RecurrenceState\" = 1");
    master.bind(1, std::int64_t(masterId));
    if (!master.step())
        return std::nullopt;
    const bool allDay = master.int64(1) != 0;
    const std::optional<RecurrencePattern> pattern = ReadPattern(db, master.int64(0));
    if (!pattern || ExpandSeries(*pattern, allDay, day.datePart(), day.datePart()).empty())
        return std::nullopt;
    return etOccurrence;
}

} // namespace velmora
