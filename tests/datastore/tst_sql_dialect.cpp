// The SQL dialect: the suite's statements come out as SQLite takes them, only
// the foreign parts rewritten, and the rewritten statements really run.

#include "datastore/sql_dialect.h"
#include "platform/exception.h"
#include "platform/sqlite_statement.h"

#include <QTest>

#include <sqlite3.h>

using namespace velmora;
using velmora::platform::SqliteStatement;

namespace {

const QString kDefaultKeysSql = QStringLiteral(
    "SELECT * FROM      (SELECT TOP 1 CategoryID       FROM Categories     ORDER BY CategoryID) AS TableB,"
    "      (SELECT TOP 1 PlaceID          FROM Places         ORDER BY PlaceID) AS TableC,"
    "      (SELECT TOP 1 UserID           FROM Users          ORDER BY UserID) AS TableD,"
    "      (SELECT TOP 1 RegionID         FROM Regions        ORDER BY RegionID) AS TableH ");

const QString kTempNotificationSql = QStringLiteral(
    " CREATE TABLE TempNotification (TaskID Integer Not Null,  UserID Integer Not Null, V2 Char(10),"
    "  SnoozeTime Integer,  ReminderID Integer Not Null,  StartTime Datetime ,  Subject Char(255) ,"
    "  UserName Char(255) ,  Description Char(255),  RichDescription Memo,  PlaceName Char(255)) ");

const QString kAlertRemindersSql = QStringLiteral(
    "SELECT Reminders.*, A.Subject As TaskName, Users.FullName As UserName, A.Categories As CategoryName,"
    " A.PlaceName As PlaceName, A.Body As TaskDescription,  A.RecurrenceState AS RecurrenceState,"
    " A.ITaskID AS ITaskID FROM Reminders, ITask AS A, Users  WHERE (A.HasReminder <> 0) AND"
    " (A.UserID = Users.UserID) AND (A.ReminderID = Reminders.ReminderID) ORDER By Reminders.ReminderNewTime");

// An in-memory database that runs translated statements.
class MemoryDb {
public:
    MemoryDb() { sqlite3_open(":memory:", &m_db); }
    ~MemoryDb() { sqlite3_close(m_db); }
    MemoryDb(const MemoryDb&) = delete;
    MemoryDb& operator=(const MemoryDb&) = delete;

    sqlite3* handle() const { return m_db; }

    void run(const QString& sql)
    {
        for (const QString& statement : SqlDialect::translateStatements(sql))
            SqliteStatement(m_db, statement.toUtf8().constData()).exec();
    }

    // Every row of a query, each row's columns joined by "|".
    QStringList rows(const QString& sql)
    {
        SqliteStatement query(m_db, SqlDialect::translate(sql).toUtf8().constData());
        QStringList result;
        while (query.step()) {
            QStringList columns;
            for (int i = 0; i < query.columnCount(); ++i)
                columns << (query.isNull(i) ? QStringLiteral("null") : query.text(i));
            result << columns.join(QLatin1Char('|'));
        }
        return result;
    }

    QString declaredType(const QString& table, const QString& column)
    {
        SqliteStatement query(m_db, QStringLiteral("SELECT %1 FROM %2").arg(column, table).toUtf8().constData());
        return query.columnDeclaredType(0);
    }

private:
    sqlite3* m_db = nullptr;
};

} // namespace

class TestSqlDialect : public QObject {
    Q_OBJECT

private slots:
    void translates_data();
    void translates();
    void severalColumnsAddedOneStatementEach();
    void invalidDateLiteralNamesItsPosition();
    void schemaInJetTypesKeepsFieldTypes();
    void defaultKeysStatementRuns();
    void booleanComparisonsCountAnyNonZeroAsTrue();
    void dateLiteralsCompareWithStoredDays();
};

void TestSqlDialect::translates_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");

    const auto unchanged = [](const char* name, const QString& sql) { QTest::addRow("%s", name) << sql << sql; };
    unchanged("plain select keeps its trailing blank", QStringLiteral("SELECT * FROM Users "));
    unchanged("bracketed text in quotes", QStringLiteral("SELECT * FROM Categories WHERE (Name <> '[None]')  ORDER By Name"));
    unchanged("named parameter", QStringLiteral("SELECT * FROM ToDoList WHERE (LinkID = :ITaskID) AND (LinkType = 'T')"));
    unchanged("join with aliases", kAlertRemindersSql);
    unchanged("lower-case keywords", QStringLiteral("Select * from ITask WHERE (IsTask = 0)  AND (UserID = 3)"));
    unchanged("like with percent", QStringLiteral("SELECT * FROM Notes WHERE  Body like '%milk%'"));
    unchanged("aggregate", QStringLiteral("SELECT MAX(TASK_UID) AS MAX_TASK_UID FROM MSP_TASKS WHERE PROJ_ID = 7"));
    unchanged("delete", QStringLiteral("DELETE FROM ToDoList Where LinkID = 12"));
    unchanged("drop", QStringLiteral("DROP TABLE TempNotification"));
    unchanged("every rewrite's trigger inside quotes",
              QStringLiteral("SELECT 'SELECT TOP 1 [x] = True #1/1/2000#' AS a, \"True\" FROM t"));
    unchanged("words that only begin like True", QStringLiteral("SELECT * FROM t WHERE TrueName = FalseStart"));

    QTest::addRow("TOP in every sub-select")
        << kDefaultKeysSql
        << QStringLiteral(
               "SELECT * FROM      (SELECT CategoryID       FROM Categories     ORDER BY CategoryID LIMIT 1) AS TableB,"
               "      (SELECT PlaceID          FROM Places         ORDER BY PlaceID LIMIT 1) AS TableC,"
               "      (SELECT UserID           FROM Users          ORDER BY UserID LIMIT 1) AS TableD,"
               "      (SELECT RegionID         FROM Regions        ORDER BY RegionID LIMIT 1) AS TableH ");
    QTest::addRow("TOP before the trailing blank") << "SELECT TOP 10 * FROM ITask ORDER BY StartDate "
                                                   << "SELECT * FROM ITask ORDER BY StartDate LIMIT 10 ";
    QTest::addRow("DISTINCT TOP") << "select distinct top 5 Name from Places"
                                  << "select distinct Name from Places LIMIT 5";
    QTest::addRow("outer and inner TOP keep their own scope")
        << "SELECT TOP 2 * FROM ITask WHERE ITaskID IN (SELECT TOP 3 ITaskID FROM ITask ORDER BY StartDate DESC) ORDER BY Subject"
        << "SELECT * FROM ITask WHERE ITaskID IN (SELECT ITaskID FROM ITask ORDER BY StartDate DESC LIMIT 3) ORDER BY Subject LIMIT 2";
    QTest::addRow("TOP with a function after it") << "SELECT TOP 1 MAX(a) FROM (SELECT a FROM t) AS x"
                                                  << "SELECT MAX(a) FROM (SELECT a FROM t) AS x LIMIT 1";

    QTest::addRow("bracketed names") << "SELECT [Subject], A.[Start Time] FROM [ITask] AS A"
                                     << "SELECT \"Subject\", A.\"Start Time\" FROM \"ITask\" AS A";

    QTest::addRow("= True and = False ask for non-zero and zero")
        << "SELECT * FROM Reminders WHERE (IsTodayReminder = True) and (HasNotified = False)"
        << "SELECT * FROM Reminders WHERE (IsTodayReminder <> 0) and (HasNotified = 0)";
    QTest::addRow("<> True is zero, <> False non-zero") << "SELECT * FROM t WHERE a <> TRUE OR b <> false"
                                                        << "SELECT * FROM t WHERE a = 0 OR b <> 0";
    QTest::addRow("SET assigns, WHERE compares")
        << "UPDATE ITask SET IsComplete = True, HasReminder = FALSE WHERE IsTask = true"
        << "UPDATE ITask SET IsComplete = 1, HasReminder = 0 WHERE IsTask <> 0";
    QTest::addRow("booleans as values") << "INSERT INTO t (a, b) VALUES (True, False)"
                                        << "INSERT INTO t (a, b) VALUES (1, 0)";

    QTest::addRow("date literal, month first") << "SELECT * FROM ITask WHERE StartDate >= #12/31/2005#"
                                               << "SELECT * FROM ITask WHERE StartDate >= 38717";
    QTest::addRow("date literal with time") << "SELECT * FROM ITask WHERE StartDate < #2005-12-31 18:00#"
                                            << "SELECT * FROM ITask WHERE StartDate < 38717.75";
    QTest::addRow("two-digit year and PM") << "SELECT #1/2/05 6:00 PM#" << "SELECT 38354.75";
    QTest::addRow("time alone") << "SELECT #12:00:00 AM#, #6:00#" << "SELECT 0, 0.25";

    QTest::addRow("created work table")
        << kTempNotificationSql
        << QStringLiteral(
               " CREATE TABLE TempNotification (TaskID INTEGER Not Null,  UserID INTEGER Not Null, V2 TEXT,"
               "  SnoozeTime INTEGER,  ReminderID INTEGER Not Null,  StartTime DATETIME ,  Subject TEXT ,"
               "  UserName TEXT ,  Description TEXT,  RichDescription LONGTEXT,  PlaceName TEXT) ");
    QTest::addRow("every Jet type")
        << "CREATE TABLE Notes (NoteID Counter, Body Memo, Info LongText, Color Long, Icon Short, Mark Byte,"
           " IsDone YesNo, Seen Bit, Shown Logical, Photo OLEObject, Raw LongBinary, Pic Image,"
           " Price Currency, Rate Single, Hours Double, Created Date, Modified Datetime, Label Text(50),"
           " Code VarChar(8), Kind Char(1))"
        << "CREATE TABLE Notes (NoteID INTEGER PRIMARY KEY AUTOINCREMENT, Body LONGTEXT, Info LONGTEXT,"
           " Color INTEGER, Icon INTEGER, Mark INTEGER, IsDone BOOLEAN, Seen BOOLEAN, Shown BOOLEAN,"
           " Photo BLOB, Raw BLOB, Pic BLOB, Price DOUBLE, Rate DOUBLE, Hours DOUBLE, Created DATETIME,"
           " Modified DATETIME, Label TEXT, Code TEXT, Kind TEXT)";
    QTest::addRow("columns named like types") << "CREATE TABLE t (Date Date, Text Memo, [Counter] Long)"
                                              << "CREATE TABLE t (Date DATETIME, Text LONGTEXT, \"Counter\" INTEGER)";
    QTest::addRow("counter with its own primary key")
        << "CREATE TABLE t (ID AutoIncrement(1,1) CONSTRAINT pk PRIMARY KEY, Name VarChar(20) NOT NULL)"
        << "CREATE TABLE t (ID INTEGER CONSTRAINT pk PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL)";
    QTest::addRow("unknown types and decimals stay") << "CREATE TABLE t (a Decimal(10,2), b Numeric, c Guid)"
                                                     << "CREATE TABLE t (a Decimal(10,2), b Numeric, c Guid)";
    QTest::addRow("several statements") << "DROP TABLE a; CREATE TABLE a (x Memo);"
                                        << "DROP TABLE a;  CREATE TABLE a (x LONGTEXT)";
}

void TestSqlDialect::translates()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(SqlDialect::translate(sql), expected);
}

void TestSqlDialect::severalColumnsAddedOneStatementEach()
{
    // The layout update adds the missing columns in one Jet statement.
    const QString sql = QStringLiteral("ALTER table ITask ADD [Anniversary]  datetime, [Birthday]  datetime");
    QCOMPARE(SqlDialect::translateStatements(sql),
             QStringList({QStringLiteral("ALTER table ITask ADD \"Anniversary\"  DATETIME"),
                          QStringLiteral("ALTER table ITask ADD \"Birthday\"  DATETIME")}));
    QCOMPARE(SqlDialect::translateStatements(QStringLiteral("ALTER TABLE ITask ADD COLUMN Note Char(20)")),
             QStringList(QStringLiteral("ALTER TABLE ITask ADD COLUMN Note TEXT")));

    MemoryDb db;
    db.run(QStringLiteral("CREATE TABLE ITask (ITaskID Counter, Subject Char(255))"));
    db.run(sql);
    QCOMPARE(db.declaredType(QStringLiteral("ITask"), QStringLiteral("Anniversary")), QStringLiteral("DATETIME"));
    QCOMPARE(db.declaredType(QStringLiteral("ITask"), QStringLiteral("Birthday")), QStringLiteral("DATETIME"));
}

void TestSqlDialect::invalidDateLiteralNamesItsPosition()
{
    try {
        SqlDialect::translate(QStringLiteral("SELECT * FROM ITask WHERE StartDate > #2/30/2005#"));
        QFAIL("an impossible date went through");
    } catch (const Exception& error) {
        QCOMPARE(error.message(), QStringLiteral("Invalid date #2/30/2005# at position 39"));
    }
}

void TestSqlDialect::schemaInJetTypesKeepsFieldTypes()
{
    MemoryDb db;
    db.run(kTempNotificationSql);
    QCOMPARE(db.declaredType(QStringLiteral("TempNotification"), QStringLiteral("RichDescription")),
             QStringLiteral("LONGTEXT"));
    QCOMPARE(db.declaredType(QStringLiteral("TempNotification"), QStringLiteral("StartTime")),
             QStringLiteral("DATETIME"));

    // A counter numbers new rows by itself, also when written in brackets.
    db.run(QStringLiteral("CREATE TABLE [Notes] ([NoteID] Counter, [Body] Memo, [IsDone] YesNo)"));
    db.run(QStringLiteral("INSERT INTO Notes (Body, IsDone) VALUES ('first', True); "
                          "INSERT INTO Notes (Body, IsDone) VALUES ('second', False)"));
    QCOMPARE(db.rows(QStringLiteral("SELECT NoteID, Body, IsDone FROM Notes ORDER BY NoteID")),
             QStringList({QStringLiteral("1|first|1"), QStringLiteral("2|second|0")}));
}

void TestSqlDialect::defaultKeysStatementRuns()
{
    MemoryDb db;
    db.run(QStringLiteral("CREATE TABLE Categories (CategoryID Counter, Name Char(255));"
                          "CREATE TABLE Places (PlaceID Counter, Name Char(255));"
                          "CREATE TABLE Users (UserID Counter, FullName Char(255));"
                          "CREATE TABLE Regions (RegionID Counter, Name Char(255))"));
    db.run(QStringLiteral("INSERT INTO Categories (CategoryID, Name) VALUES (7, 'Work');"
                          "INSERT INTO Categories (CategoryID, Name) VALUES (3, '[None]');"
                          "INSERT INTO Places (PlaceID, Name) VALUES (4, '[None]');"
                          "INSERT INTO Places (PlaceID, Name) VALUES (9, 'Office');"
                          "INSERT INTO Users (UserID, FullName) VALUES (2, 'Ann');"
                          "INSERT INTO Users (UserID, FullName) VALUES (5, 'Bob');"
                          "INSERT INTO Regions (RegionID, Name) VALUES (11, 'North')"));
    QCOMPARE(db.rows(kDefaultKeysSql), QStringList(QStringLiteral("3|4|2|11")));
    QCOMPARE(db.rows(QStringLiteral("SELECT * FROM Categories WHERE (Name <> '[None]')  ORDER By Name")),
             QStringList(QStringLiteral("7|Work")));
}

void TestSqlDialect::booleanComparisonsCountAnyNonZeroAsTrue()
{
    MemoryDb db;
    db.run(QStringLiteral("CREATE TABLE Reminders (ReminderID Counter, IsTodayReminder YesNo, HasNotified YesNo)"));
    // Row 3 holds a true written as -1, the way older files keep it.
    db.run(QStringLiteral("INSERT INTO Reminders VALUES (1, True, False);"
                          "INSERT INTO Reminders VALUES (2, True, True);"
                          "INSERT INTO Reminders VALUES (3, -1, 0);"
                          "INSERT INTO Reminders VALUES (4, False, False)"));
    QCOMPARE(db.rows(QStringLiteral("SELECT ReminderID FROM Reminders WHERE (IsTodayReminder = True) and "
                                    "(HasNotified = False) ORDER BY ReminderID")),
             QStringList({QStringLiteral("1"), QStringLiteral("3")}));
    QCOMPARE(db.rows(QStringLiteral("SELECT ReminderID FROM Reminders WHERE IsTodayReminder <> True")),
             QStringList(QStringLiteral("4")));

    db.run(QStringLiteral("UPDATE Reminders SET HasNotified = True WHERE IsTodayReminder = True"));
    QCOMPARE(db.rows(QStringLiteral("SELECT ReminderID FROM Reminders WHERE HasNotified = False")),
             QStringList(QStringLiteral("4")));
}

void TestSqlDialect::dateLiteralsCompareWithStoredDays()
{
    MemoryDb db;
    db.run(QStringLiteral("CREATE TABLE ITask (ITaskID Counter, StartDate Datetime)"));
    // 30 Dec 2005 23:00, 31 Dec 2005 10:00, 1 Jan 2006 00:00 as stored days.
    db.run(QStringLiteral("INSERT INTO ITask VALUES (1, 38716 + 23.0 / 24);"
                          "INSERT INTO ITask VALUES (2, 38717 + 10.0 / 24);"
                          "INSERT INTO ITask VALUES (3, 38718)"));
    QCOMPARE(db.rows(QStringLiteral("SELECT ITaskID FROM ITask WHERE StartDate >= #12/31/2005# AND "
                                    "StartDate < #2006-01-01# ORDER BY ITaskID")),
             QStringList(QStringLiteral("2")));
    QCOMPARE(db.rows(QStringLiteral("SELECT TOP 1 ITaskID FROM ITask WHERE StartDate > #12/31/2005 10:00 AM# "
                                    "ORDER BY StartDate")),
             QStringList(QStringLiteral("3")));
}

QTEST_MAIN(TestSqlDialect)
#include "tst_sql_dialect.moc"
