#include "datastore/agenda.h"

#include "datastore/db_connection.h"
#include "datastore/recurrence_engine.h"
#include "datastore/series_rows.h"
#include "platform/sqlite_statement.h"

#include <QSet>

#include <algorithm>
#include <utility>

namespace velmora {

using platform::SqliteStatement;

namespace {

// Binds the range as ?1 (first moment) and ?2 (first moment after), and
// the user as ?3 when there is one.
void bindRange(SqliteStatement& statement, DateTime from, DateTime to, std::optional<qint64> userId)
{
    statement.bind(1, from.datePart().toDays());
    statement.bind(2, to.datePart().addDays(1).toDays());
    if (userId)
        statement.bind(3, std::int64_t(*userId));
}

QByteArray userCondition(std::optional<qint64> userId, const char* table)
{
    return userId ? QByteArray(" AND ") + table + ".\"UserID\" = ?3" : QByteArray();
}

// Rows that stand at their own times: plain items, and changed or
// materialised occurrences.
void addRowsAtOwnTimes(sqlite3* db, DateTime from, DateTime to, std::optional<qint64> userId,
                       std::vector<AgendaItem>& items)
{
    const QByteArray sql =
        "SELECT t.\"ITaskID\", t.\"StartDate\", t.\"DueDate\", t.\"Subject\" FROM \"ITask\" t "
        "WHERE (t.\"RecurrenceState\" IS NULL OR t.\"RecurrenceState\" NOT IN (1, 3)) "
        "AND t.\"StartDate\" >= ?1 AND t.\"StartDate\" < ?2"
        + userCondition(userId, "t");
    SqliteStatement statement(db, sql.constData());
    bindRange(statement, from, to, userId);
    while (statement.step()) {
        AgendaItem item;
        item.taskId = statement.int64(0);
        item.start = DateColumn(statement, 1);
        item.finish = statement.isNull(2) ? item.start : DateColumn(statement, 2);
        item.subject = statement.text(3);
        items.push_back(item);
    }
}

// (master, day) pairs whose computed occurrence a stored row stands for.
QSet<std::pair<qint64, std::int64_t>> hiddenDays(sqlite3* db, DateTime from, DateTime to)
{
    SqliteStatement statement(db, "SELECT e.\"ParentID\", e.\"OriginalDate\" FROM \"Exceptions\" e "
                                  "WHERE e.\"OriginalDate\" >= ?1 AND e.\"OriginalDate\" < ?2");
    bindRange(statement, from, to, std::nullopt);
    QSet<std::pair<qint64, std::int64_t>> hidden;
    while (statement.step())
        hidden.insert({statement.int64(0), DateColumn(statement, 1).dayNumber()});
    return hidden;
}

void addSeries(sqlite3* db, DateTime from, DateTime to, std::optional<qint64> userId,
               std::vector<AgendaItem>& items)
{
    const QSet<std::pair<qint64, std::int64_t>> hidden = hiddenDays(db, from, to);
    const QByteArray sql = QByteArray("SELECT t.\"ITaskID\", t.\"Subject\", t.\"IsAllDayEvent\", ") + kPatternColumns
        + " FROM \"ITask\" t JOIN \"IRecurrencePattern\" p ON p.\"IRecurrencePatternID\" = t.\"IRecurrencePatternID\" "
          "WHERE t.\"RecurrenceState\" = 1 AND p.\"PatternStartDate\" < ?2"
        + userCondition(userId, "t");
    SqliteStatement statement(db, sql.constData());
    bindRange(statement, from, to, userId);
    const int firstDayOfWeek = ConfiguredFirstDayOfWeek();
    while (statement.step()) {
        const qint64 masterId = statement.int64(0);
        const QString subject = statement.text(1);
        const bool allDay = statement.int64(2) != 0;
        const RecurrencePattern pattern = PatternFromStatement(statement, 3);
        for (const Occurrence& occurrence : ExpandSeries(pattern, allDay, from.datePart(), to.datePart(),
                                                         firstDayOfWeek)) {
            const std::int64_t day = occurrence.start.dayNumber();
            if (hidden.contains({masterId, day}))
                continue;
            AgendaItem item;
            item.taskId = masterId;
            item.start = occurrence.start.datePart() + pattern.startTime.timePart();
            item.finish = item.start.addMinutes(pattern.duration);
            item.subject = subject;
            items.push_back(std::move(item));
        }
    }
}

QString minuteText(DateTime value)
{
    return value.toQDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// A subject is free text; one occurrence must stay one line of fields.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

std::vector<AgendaItem> Agenda(sqlite3* db, DateTime from, DateTime to, std::optional<qint64> userId)
{
    std::vector<AgendaItem> items;
    if (to.dayNumber() < from.dayNumber())
        return items;
    addRowsAtOwnTimes(db, from, to, userId, items);
    addSeries(db, from, to, userId, items);
    std::sort(items.begin(), items.end(), [](const AgendaItem& a, const AgendaItem& b) {
        return std::tie(a.start, a.taskId) < std::tie(b.start, b.taskId);
    });
    return items;
}

std::vector<AgendaItem> Agenda(DbConnection& connection, DateTime from, DateTime to, std::optional<qint64> userId)
{
    return Agenda(connection.handle(), from, to, userId);
}

QString AgendaLine(const AgendaItem& item)
{
    return minuteText(item.start) + QLatin1Char('\t') + minuteText(item.finish) + QLatin1Char('\t')
        + QString::number(item.taskId) + QLatin1Char('\t') + oneLine(item.subject);
}

} // namespace velmora
