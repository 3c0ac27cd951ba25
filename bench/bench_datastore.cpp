// What opening the main data module's queries costs as ITask grows, and how
// many posts a second one program gets through the dataset layer.
#include "datastore/database_schema.h"
#include "datastore/dataset.h"
#include "datastore/db_connection.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace velmora;

namespace {

// The main data module's queries, tags 1 to 14, as it opens them unfiltered.
const char* const kMainQueries[] = {
    "SELECT * FROM IRecurrencePattern ",
    "SELECT * FROM Reminders ",
    "SELECT * FROM ITask WHERE IsTask <> 0",
    "SELECT * FROM ITask WHERE IsTask = 0 ORDER BY RecurrenceState ",
    "SELECT * FROM ToDoList WHERE (LinkID = :ITaskID) AND (LinkType = 'T')",
    "SELECT * FROM Categories WHERE (Name <> '[None]')  ORDER By Name",
    "SELECT * FROM Holidays WHERE (Name <> '[None]')  ORDER By PlaceName",
    "SELECT * FROM Users ",
    "SELECT * FROM Places WHERE (Name <> '[None]')  ORDER By Name ",
    "SELECT * FROM Regions WHERE (Name <> '[None]') ",
    "SELECT * FROM Notes",
    "SELECT * FROM ToDoList WHERE (LinkID = :ITaskID) AND (LinkType = 'A')",
    "SELECT * FROM Exceptions ",
    "SELECT * FROM Contacts ",
};

// A database with rows ITask rows (half tasks, half appointments, one in ten
// with a reminder, one in five with two to-do items), made once per size.
const QString& databaseWith(int rows)
{
    static QTemporaryDir folder;
    static std::map<int, QString> made;
    if (auto found = made.find(rows); found != made.end())
        return found->second;
    const QString path = folder.filePath(QStringLiteral("bench-%1.db").arg(rows));
    createDatabase(path);
    auto connection = DbConnection::open(path);
    connection->beginTransaction();
    const double start = 46000.375;
    for (int i = 0; i < rows; ++i) {
        QVariant reminder;
        if (i % 10 == 0) {
            connection->execute(QStringLiteral("INSERT INTO Reminders (ReminderTime, ReminderNewTime, ReminderMethod, "
                                               "ReminderMinutesBeforeStart) VALUES (?1, ?1, 1, 15)"),
                                {start + i / 20.0});
            reminder = QVariant::fromValue<qint64>(connection->lastInsertRowId());
        }
        connection->execute(
            QStringLiteral("INSERT INTO ITask (IsTask, Subject, Body, StartDate, DueDate, Duration, Importance, Status, "
                           "UserID, RecurrenceState, HasReminder, ReminderID, Categories, TimeCreated, TimeModified) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, 30, 1, 0, 1, 0, ?6, ?7, 'Business', ?4, ?4)"),
            {i % 2, QStringLiteral("Item %1").arg(i), QStringLiteral("Notes for item %1 with a few words").arg(i),
             start + i / 20.0, start + i / 20.0 + 1.0 / 48, !reminder.isNull(), reminder});
        const qint64 item = connection->lastInsertRowId();
        if (i % 5 == 0)
            for (int todo = 0; todo < 2; ++todo)
                connection->execute(QStringLiteral("INSERT INTO ToDoList (LinkID, LinkType, Name, IsFinished, IsActive) "
                                                   "VALUES (?1, ?2, ?3, 0, 1)"),
                                    {item, i % 2 ? QStringLiteral("T") : QStringLiteral("A"),
                                     QStringLiteral("Step %1").arg(todo)});
    }
    connection->commit();
    return made[rows] = path;
}

void openMainQueries(benchmark::State& state)
{
    const QString path = databaseWith(int(state.range(0)));
    auto connection = DbConnection::open(path);
    for (auto _ : state) {
        std::vector<std::unique_ptr<DataSet>> queries;
        for (const char* sql : kMainQueries) {
            auto query = std::make_unique<DataSet>(connection.get());
            query->setSql(QString::fromLatin1(sql));
            queries.push_back(std::move(query));
        }
        queries[4]->setMasterSource(queries[2].get());
        queries[11]->setMasterSource(queries[3].get());
        for (auto& query : queries)
            query->open();
        benchmark::DoNotOptimize(queries[2]->recordCount());
    }
    state.counters["ITask rows"] = double(state.range(0));
}
BENCHMARK(openMainQueries)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void postNewTasks(benchmark::State& state)
{
    const QString path = databaseWith(int(state.range(0)));
    auto connection = DbConnection::open(path);
    DataSet tasks(connection.get());
    tasks.setSql(QStringLiteral("SELECT * FROM ITask WHERE ITaskID = -1"));
    tasks.open();
    int n = 0;
    for (auto _ : state) {
        tasks.append();
        tasks.fieldByName(QStringLiteral("IsTask")).setValue(true);
        tasks.fieldByName(QStringLiteral("Subject")).setValue(QStringLiteral("Posted %1").arg(++n));
        tasks.fieldByName(QStringLiteral("StartDate")).setValue(46000.5);
        tasks.post();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(postNewTasks)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
