// velmora_cli agenda as a real process on a small database built here: plain
// items, a weekly series with a changed and a deleted occurrence, a task and
// a second user's item; the sample set; and what it does with bad input.

#include "datastore/database_schema.h"
#include "datastore/db_connection.h"
#include "foundation/date_time.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using velmora::DateTime;
using velmora::DbConnection;
using velmora::test::ProgramResult;

namespace {

double days(int year, int month, int day, int hour = 0, int minute = 0)
{
    return DateTime::fromParts(year, month, day, hour, minute).toDays();
}

} // namespace

class TestVelmoraCli : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_sandbox.reset(); }

    void agendaListsEveryOccurrenceInOrder_data();
    void agendaListsEveryOccurrenceInOrder();
    void agendaLeavesTheFileUnchanged();
    void sampleDatabaseGivesAnAgenda();
    void badArgumentsShowUsage_data();
    void badArgumentsShowUsage();
    void missingDatabaseIsReported();

private:
    ProgramResult cli(const QStringList& arguments)
    {
        return velmora::test::runProgram(*m_sandbox, QStringLiteral("velmora_cli"), arguments, 60000);
    }
    qint64 addItem(DbConnection& db, const QString& subject, double start, double due, qint64 user, bool isTask = false,
                   int state = 0, qint64 parent = 0, qint64 pattern = 0)
    {
        db.execute(QStringLiteral("INSERT INTO ITask (Subject, StartDate, DueDate, UserID, IsTask, RecurrenceState, "
                                  "ParentID, IRecurrencePatternID, IsRecurring) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {subject, start, due, user, isTask, state, parent, pattern ? QVariant(pattern) : QVariant(),
                    state != 0});
        return db.lastInsertRowId();
    }

    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
    QString m_path;
    qint64 m_owner = 0;
    qint64 m_other = 0;
    QMap<QString, qint64> m_ids;
};

void TestVelmoraCli::init()
{
    m_sandbox = std::make_unique<velmora::test::Sandbox>();
    m_path = m_sandbox->path() + QStringLiteral("/agenda.mdb");
    velmora::createDatabase(m_path);
    auto db = DbConnection::open(m_path);
    m_owner = db->scalar(QStringLiteral("SELECT MIN(UserID) FROM Users")).toLongLong();
    db->execute(QStringLiteral("INSERT INTO Users (FullName) VALUES ('Bea')"));
    m_other = db->lastInsertRowId();

    m_ids[QStringLiteral("dentist")] = addItem(*db, QStringLiteral("Dentist"), days(2024, 3, 5, 10), days(2024, 3, 5, 11), m_owner);
    m_ids[QStringLiteral("lunch")] = addItem(*db, QStringLiteral("Lunch with Bea"), days(2024, 3, 5, 12), days(2024, 3, 5, 13), m_other);
    m_ids[QStringLiteral("taxes")] = addItem(*db, QStringLiteral("File taxes"), days(2024, 3, 6), days(2024, 3, 8), m_owner, true);
    m_ids[QStringLiteral("late")] = addItem(*db, QStringLiteral("Late call"), days(2024, 3, 24, 23, 30), days(2024, 3, 25, 0, 15), m_owner);
    addItem(*db, QStringLiteral("Next month"), days(2024, 3, 25), days(2024, 3, 25, 1), m_owner);
    addItem(*db, QStringLiteral("Last month"), days(2024, 3, 3, 23, 59), days(2024, 3, 4, 0, 30), m_owner);

    // Mondays at 9:00 for an hour, from 4 March on; the master row's own
    // times differ from its pattern's on purpose.
    db->execute(QStringLiteral("INSERT INTO IRecurrencePattern (RecurrenceType, Interval, DayOfWeekMask, "
                               "PatternStartDate, NoEndDate, Occurrences, StartTime, EndTime, Duration) "
                               "VALUES (1, 1, 2, ?, 1, 10, ?, ?, 60)"),
                {days(2024, 3, 4), DateTime::fromParts(1899, 12, 30, 9).toDays(),
                 DateTime::fromParts(1899, 12, 30, 10).toDays()});
    const qint64 pattern = db->lastInsertRowId();
    const qint64 master = addItem(*db, QStringLiteral("Team meeting"), days(2024, 3, 4, 7), days(2024, 3, 4, 7, 30),
                                  m_owner, false, 1, 0, pattern);
    m_ids[QStringLiteral("master")] = master;
    // 11 March moved to Tuesday afternoon; 18 March deleted.
    const qint64 changed = addItem(*db, QStringLiteral("Team meeting, moved"), days(2024, 3, 12, 14),
                                   days(2024, 3, 12, 15), m_owner, false, 4, master);
    m_ids[QStringLiteral("changed")] = changed;
    db->execute(QStringLiteral("INSERT INTO Exceptions (ITaskID, ParentID, OriginalDate, IsDeleted) VALUES (?, ?, ?, 0)"),
                {changed, master, days(2024, 3, 11, 9)});
    const qint64 deleted = addItem(*db, QStringLiteral("Team meeting"), days(2024, 3, 18, 9), days(2024, 3, 18, 10),
                                   m_owner, false, 3, master);
    db->execute(QStringLiteral("INSERT INTO Exceptions (ITaskID, ParentID, OriginalDate, IsDeleted) VALUES (?, ?, ?, 1)"),
                {deleted, master, days(2024, 3, 18, 9)});
}

void TestVelmoraCli::agendaListsEveryOccurrenceInOrder_data()
{
    QTest::addColumn<bool>("onlyOwner");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("expected"); // names in m_ids, in order
    const QStringList all{"master", "dentist", "lunch", "taxes", "changed", "late"};
    QTest::addRow("every user") << false << QStringLiteral("2024-03-24") << all;
    QStringList owner = all;
    owner.removeAll(QStringLiteral("lunch"));
    QTest::addRow("one user") << true << QStringLiteral("2024-03-24") << owner;
    QTest::addRow("one day") << false << QStringLiteral("2024-03-04") << QStringList{"master"};
}

void TestVelmoraCli::agendaListsEveryOccurrenceInOrder()
{
    QFETCH(bool, onlyOwner);
    QFETCH(QString, to);
    QFETCH(QStringList, expected);
    const auto id = [&](const char* name) { return QString::number(m_ids.value(QLatin1String(name))); };
    const QMap<QString, QString> lines{
        {"master", "2024-03-04 09:00\t2024-03-04 10:00\t" + id("master") + "\tTeam meeting"},
        {"dentist", "2024-03-05 10:00\t2024-03-05 11:00\t" + id("dentist") + "\tDentist"},
        {"lunch", "2024-03-05 12:00\t2024-03-05 13:00\t" + id("lunch") + "\tLunch with Bea"},
        {"taxes", "2024-03-06 00:00\t2024-03-08 00:00\t" + id("taxes") + "\tFile taxes"},
        {"changed", "2024-03-12 14:00\t2024-03-12 15:00\t" + id("changed") + "\tTeam meeting, moved"},
        {"late", "2024-03-24 23:30\t2024-03-25 00:15\t" + id("late") + "\tLate call"},
    };
    QStringList arguments{QStringLiteral("agenda"), QStringLiteral("2024-03-04"), to, QStringLiteral("--db"), m_path};
    if (onlyOwner)
        arguments << QStringLiteral("--user") << QString::number(m_owner);
    const ProgramResult result = cli(arguments);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QString wanted;
    for (const QString& name : expected)
        wanted += lines.value(name) + QLatin1Char('\n');
    QCOMPARE(result.out, wanted);
}

void TestVelmoraCli::agendaLeavesTheFileUnchanged()
{
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QCOMPARE(cli({QStringLiteral("agenda"), QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"),
                  QStringLiteral("--db"), m_path})
                 .exitCode,
             0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
}

void TestVelmoraCli::sampleDatabaseGivesAnAgenda()
{
    m_sandbox->setFakeNow(QStringLiteral("2024-03-10T09:00:00"));
    const QString path = m_sandbox->installRoot() + QStringLiteral("Data/VelmoraV2.mdb");
    QFile::remove(path);
    const ProgramResult created = velmora::test::runProgram(
        *m_sandbox, QStringLiteral("velmora_dbtool"), {QStringLiteral("--create"), path, QStringLiteral("--demo")}, 60000);
    QCOMPARE(created.exitCode, 0);

    // Without --db: the installed database.
    const ProgramResult result = cli({QStringLiteral("agenda"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-31")});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.size() > 20, qPrintable(result.out));
    static const QRegularExpression shape(
        QStringLiteral("^(2024-03-\\d\\d \\d\\d:\\d\\d)\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\t\\d+\t[^\t]*$"));
    QString previous;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = shape.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QVERIFY2(previous <= match.captured(1), qPrintable(line));
        previous = match.captured(1);
    }
}

void TestVelmoraCli::badArgumentsShowUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("nothing") << QStringList{};
    QTest::addRow("unknown command") << QStringList{"list", "2024-03-01", "2024-03-02"};
    QTest::addRow("one day only") << QStringList{"agenda", "2024-03-01"};
    QTest::addRow("three days") << QStringList{"agenda", "2024-03-01", "2024-03-02", "2024-03-03"};
    QTest::addRow("no such month") << QStringList{"agenda", "2024-13-01", "2024-12-02"};
    QTest::addRow("not a date") << QStringList{"agenda", "yesterday", "2024-03-02"};
    QTest::addRow("from after to") << QStringList{"agenda", "2024-03-02", "2024-03-01"};
    QTest::addRow("user not a number") << QStringList{"agenda", "2024-03-01", "2024-03-02", "--user", "Bea"};
    QTest::addRow("user without value") << QStringList{"agenda", "2024-03-01", "2024-03-02", "--user"};
    QTest::addRow("unknown option") << QStringList{"agenda", "2024-03-01", "2024-03-02", "--all"};
}

void TestVelmoraCli::badArgumentsShowUsage()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = cli(arguments << QStringLiteral("--db") << m_path);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QStringLiteral("Usage: velmora_cli agenda FROM TO")), qPrintable(result.err));
    QCOMPARE(result.out, QString());
}

void TestVelmoraCli::missingDatabaseIsReported()
{
    const QString missing = m_sandbox->path() + QStringLiteral("/nowhere.mdb");
    const ProgramResult result =
        cli({QStringLiteral("agenda"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-02"), QStringLiteral("--db"), missing});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QStringLiteral("no database file at ") + missing), qPrintable(result.err));
    QVERIFY(!QFile::exists(missing));
}

QTEST_MAIN(TestVelmoraCli)
#include "tst_velmora_cli.moc"
