// What the agenda of one year costs as ITask grows: plain items read by
// their start, and a few thousand series expanded with their exceptions.
#include "datastore/agenda.h"
#include "datastore/database_schema.h"
#include "datastore/db_connection.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>

using namespace velmora;

namespace {

QTemporaryDir& scratchFolder()
{
    static QTemporaryDir folder;
    return folder;
}

// A database with rows ITask rows over 2023 and 2024: one in thirty-three
// rows a series master (weekly, every other week, every third day or
// monthly) with one changed and one deleted occurrence row, the rest plain
// appointments and tasks of two users.
const QString& databaseWith(int rows)
{
    static std::map<int, QString> made;
    if (auto found = made.find(rows); found != made.end())
        return found->second;
    const QString path = scratchFolder().filePath(QStringLiteral("agenda-%1.db").arg(rows));
    createDatabase(path);
    auto db = DbConnection::open(path);
    db->beginTransaction();
    const double first = DateTime::fromParts(2023, 1, 1).toDays();
    const int masters = rows / 33;
    int written = 0;
    for (int m = 0; m < masters; ++m) {
        const int type = m % 4;
        const double start = first + (m * 7) % 540;
        const double startTime = (8 + m % 10) / 24.0;
        db->execute(QStringLiteral("INSERT INTO IRecurrencePattern (RecurrenceType, Interval, DayOfWeekMask, DayOfMonth, "
                                   "PatternStartDate, NoEndDate, Occurrences, StartTime, EndTime, Duration) "
                                   "VALUES (?, ?, ?, ?, ?, 1, 10, ?, ?, 45)"),
                    {type == 2 ? 0 : type == 3 ? 2 : 1, type == 1 ? 2 : type == 2 ? 3 : 1, 1 << (1 + m % 5),
                     1 + m % 28, start, startTime, startTime + 45.0 / 1440});
        const qint64 pattern = db->lastInsertRowId();
        db->execute(QStringLiteral("INSERT INTO ITask (IsTask, Subject, StartDate, DueDate, UserID, RecurrenceState, "
                                   "IsRecurring, IRecurrencePatternID) VALUES (0, ?, ?, ?, ?, 1, 1, ?)"),
                    {QStringLiteral("Series %1").arg(m), start + startTime, start + startTime + 45.0 / 1440,
                     1 + m % 2, pattern});
        const qint64 master = db->lastInsertRowId();
        for (int state : {4, 3}) {
            const double original = start + startTime + (state == 4 ? 28 : 56);
            db->execute(QStringLiteral("INSERT INTO ITask (IsTask, Subject, StartDate, DueDate, UserID, RecurrenceState, "
                                       "IsRecurring, ParentID) VALUES (0, ?, ?, ?, ?, ?, 1, ?)"),
                        {QStringLiteral("Series %1").arg(m), original + 1, original + 1 + 45.0 / 1440, 1 + m % 2,
                         state, master});
            db->execute(QStringLiteral("INSERT INTO Exceptions (ITaskID, ParentID, OriginalDate, IsDeleted) "
                                       "VALUES (?, ?, ?, ?)"),
                        {qint64(db->lastInsertRowId()), master, original, state == 3});
        }
        written += 3;
    }
    for (int i = 0; written < rows; ++i, ++written) {
        const double start = first + (i * 7919 % (730 * 48)) / 48.0;
        db->execute(QStringLiteral("INSERT INTO ITask (IsTask, Subject, StartDate, DueDate, UserID, RecurrenceState) "
                                   "VALUES (?, ?, ?, ?, ?, 0)"),
                    {i % 2, QStringLiteral("Item %1").arg(i), start, start + 1.0 / 48, 1 + i % 2});
    }
    db->commit();
    return made[rows] = path;
}

void agendaOfOneYear(benchmark::State& state)
{
    auto db = DbConnection::open(databaseWith(int(state.range(0))));
    const DateTime from = DateTime::fromParts(2024, 1, 1);
    const DateTime to = DateTime::fromParts(2024, 12, 31);
    std::size_t items = 0;
    for (auto _ : state) {
        const std::vector<AgendaItem> agenda = Agenda(*db, from, to);
        items = agenda.size();
        benchmark::DoNotOptimize(agenda.data());
    }
    state.counters["items"] = double(items);
}
BENCHMARK(agendaOfOneYear)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void agendaOfOneWeekOneUser(benchmark::State& state)
{
    auto db = DbConnection::open(databaseWith(int(state.range(0))));
    const DateTime from = DateTime::fromParts(2024, 3, 4);
    const DateTime to = DateTime::fromParts(2024, 3, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(Agenda(*db, from, to, 1).size());
}
BENCHMARK(agendaOfOneWeekOneUser)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The first day of the week comes from the settings store: a private one,
    // never the user's, and a private bus session.
    setenv("VELMORA_HKCU", qPrintable(scratchFolder().filePath(QStringLiteral("registry.sqlite"))), 1);
    setenv("VELMORA_SESSION", qPrintable(scratchFolder().filePath(QStringLiteral("session"))), 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
