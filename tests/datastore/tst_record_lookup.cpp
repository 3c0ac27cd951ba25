// Looking records up without losing the user's place: user names, name
// lists, lookup rows found or added, a task's pattern and reminder, open
// tasks, and reading a query afresh.

#include "datastore/query_reload.h"
#include "datastore/query_tags.h"
#include "datastore/record_lookup.h"
#include "datastore/record_print.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/debug_capture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scripted_dialogs.h"

#include <QtTest>

#include <climits>

using namespace velmora;

namespace {

// A function, not a constant: the date arithmetic is not ready before main().
DateTime testNow()
{
    return DateTime::fromParts(2024, 5, 15, 10, 20);
}

} // namespace

class TestRecordLookup : public QObject {
    Q_OBJECT
private slots:
    void userFullName_data();
    void userFullName();
    void userFullNameFromParts();
    void nameListKeepsTheCursor();
    void findOrAddLookupRecord_data();
    void findOrAddLookupRecord();
    void locateTaskSubTables();
    void skipToOpenTask_data();
    void skipToOpenTask();
    void reloadSeesOtherWritersAndStays();
    void rowResyncReadsOtherWriters();
    void printRecordOnlyForAViewer();
};

void TestRecordLookup::userFullName_data()
{
    QTest::addColumn<int>("userID");
    QTest::addColumn<QString>("name");
    QTest::addRow("found") << 6 << QStringLiteral("Ann Lee");
    QTest::addRow("missing") << 99 << QString();
    QTest::addRow("no user mark") << INT_MAX << QString();
}

void TestRecordLookup::userFullName()
{
    QFETCH(int, userID);
    QFETCH(QString, name);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Users (UserID, FullName) VALUES (4, 'Admin'), (6, 'Ann Lee'), "
                                         "(8, 'Bo Park')"));
    auto users = database.query(QStringLiteral("SELECT * FROM Users ORDER BY UserID"), kTagUsers);
    users->last();
    int moves = 0;
    users->events().afterScroll = [&moves](DataSet&) { ++moves; };

    QCOMPARE(GetUserFullName(users.get(), userID), name);
    QCOMPARE(users->fieldByName(QStringLiteral("UserID")).asInteger(), 8);
    if (userID == INT_MAX)
        QCOMPARE(moves, 0); // not even looked for
    users->close();
    QCOMPARE(GetUserFullName(users.get(), 6), QString());
}

void TestRecordLookup::userFullNameFromParts()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("CREATE TABLE Staff (UserID INTEGER PRIMARY KEY, FirstName TEXT, LastName TEXT)"));
    database.db().execute(QStringLiteral("INSERT INTO Staff VALUES (3, 'Ann', 'Lee')"));
    auto staff = database.query(QStringLiteral("SELECT * FROM Staff"), kTagUsers);
    QCOMPARE(GetUserFullName(staff.get(), 3), QStringLiteral("Lee, Ann"));
}

void TestRecordLookup::nameListKeepsTheCursor()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Categories (Name) VALUES ('Work'), ('Home'), (' Travel ')"));
    auto categories = database.query(QStringLiteral("SELECT * FROM Categories ORDER BY CategoryID"), kTagCategories);
    categories->setRecNo(2);
    QCOMPARE(GetNameList(categories.get()), QStringLiteral("Work\r\nHome\r\n Travel"));
    QCOMPARE(categories->recNo(), 2);
    QCOMPARE(GetFieldValuesAsLines(categories.get(), QStringLiteral("CategoryID")), QStringLiteral("1\r\n2\r\n3"));
    categories->close();
    QCOMPARE(GetNameList(categories.get()), QString());
}

void TestRecordLookup::findOrAddLookupRecord_data()
{
    QTest::addColumn<QString>("nameText");
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QStringList>("allowed"); // "-" alone: no list given
    QTest::addColumn<QString>("expect");      // "default", "new" or the name of an existing row
    QTest::addColumn<QString>("storedName");  // for "new"
    const QStringList noList{QStringLiteral("-")};
    QTest::addRow("empty name") << QStringLiteral("   ") << QStringLiteral("2") << noList << "default" << QString();
    QTest::addRow("known name") << QStringLiteral("Home") << QString() << noList << "Home" << QString();
    QTest::addRow("known name, trimmed, other case") << QStringLiteral(" home ") << QString() << noList << "Home"
                                                     << QString();
    QTest::addRow("unknown name, known key") << QStringLiteral("Garden") << QStringLiteral("1") << noList << "Work"
                                             << QString();
    QTest::addRow("new name") << QStringLiteral(" Garden ") << QStringLiteral("abc") << noList << "new"
                              << QStringLiteral(" Garden ");
    QTest::addRow("allowed known name") << QStringLiteral("Home") << QString() << QStringList{"Home", "Work"} << "Home"
                                        << QString();
    QTest::addRow("name outside the allowed list") << QStringLiteral("Home") << QStringLiteral("1")
                                                   << QStringList{"Work"} << "new" << QStringLiteral("Home");
}

void TestRecordLookup::findOrAddLookupRecord()
{
    QFETCH(QString, nameText);
    QFETCH(QString, idText);
    QFETCH(QStringList, allowed);
    QFETCH(QString, expect);
    QFETCH(QString, storedName);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Categories (Name) VALUES ('Work'), ('Home')"));
    auto categories = database.query(QStringLiteral("SELECT * FROM Categories"), kTagCategories);
    const bool listGiven = allowed != QStringList{QStringLiteral("-")};

    const int id = FindOrAddLookupRecord(categories.get(), QStringLiteral("CategoryID"), QStringLiteral("Name"), 77,
                                         idText, nameText, listGiven ? &allowed : nullptr);
    if (expect == QLatin1String("default")) {
        QCOMPARE(id, 77);
        QCOMPARE(database.count(QStringLiteral("Categories")), 2);
    } else if (expect == QLatin1String("new")) {
        QCOMPARE(database.count(QStringLiteral("Categories")), 3);
        QCOMPARE(id, 3);
        QCOMPARE(database.db().scalar(QStringLiteral("SELECT Name FROM Categories WHERE CategoryID = 3")).toString(),
                 storedName);
    } else {
        QCOMPARE(database.count(QStringLiteral("Categories")), 2);
        QCOMPARE(id, database.db().scalar(QStringLiteral("SELECT CategoryID FROM Categories WHERE Name = ?"), {expect})
                         .toInt());
    }
}

void TestRecordLookup::locateTaskSubTables()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    auto& db = database.db();
    db.execute(QStringLiteral("INSERT INTO Reminders (ReminderID) VALUES (1), (2), (3)"));
    db.execute(QStringLiteral("INSERT INTO IRecurrencePattern (IRecurrencePatternID) VALUES (1), (2)"));
    db.execute(QStringLiteral("INSERT INTO ITask (ITaskID, ReminderID, IRecurrencePatternID) VALUES "
                              "(10, 3, 2), (11, 0, NULL)"));
    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask"), kTagTasks);
    auto reminders = database.query(QStringLiteral("SELECT * FROM Reminders"), kTagReminders);
    auto patterns = database.query(QStringLiteral("SELECT * FROM IRecurrencePattern"), kTagRecurrences);
    test::DebugCapture capture;

    QVERIFY(LocateITaskSubTables(QStringLiteral("ITaskID"), 10, tasks.get(), reminders.get(), patterns.get()));
    QCOMPARE(reminders->fieldByName(QStringLiteral("ReminderID")).asInteger(), 3);
    QCOMPARE(patterns->fieldByName(QStringLiteral("IRecurrencePatternID")).asInteger(), 2);
    QTRY_VERIFY(capture.contains(QStringLiteral("LocateITaskSubTables Found Reminder!")));
    QVERIFY(capture.contains(QStringLiteral("LocateITaskSubTables Found Recurrence!")));

    reminders->first();
    QVERIFY(LocateITaskSubTables(QStringLiteral("ITaskID"), 11, tasks.get(), reminders.get(), patterns.get()));
    QCOMPARE(reminders->recNo(), 1); // no reminder: left where it was
    QVERIFY(!LocateITaskSubTables(QStringLiteral("ITaskID"), 12, tasks.get(), reminders.get(), patterns.get()));

    test::ScriptedDialogs dialogs;
    QVERIFY(!LocateITaskSubTables(QStringLiteral("NoSuchField"), 1, tasks.get(), reminders.get(), patterns.get()));
    QCOMPARE(dialogs.shown().size(), 1);
    QVERIFY(dialogs.shown().first().text.startsWith(QStringLiteral("Fail to locate record.\r\nReason: ")));
}

void TestRecordLookup::skipToOpenTask_data()
{
    QTest::addColumn<int>("fromRecNo");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QString>("landsOn"); // Subject, or "eof" / "bof"
    // Rows: A open, B deleted occurrence, C complete, D open, E complete.
    QTest::addRow("next skips deleted and complete") << 1 << false << "D";
    QTest::addRow("next from an open task moves on") << 4 << false << "eof";
    QTest::addRow("back skips to the first open") << 4 << true << "A";
    QTest::addRow("back from the first") << 1 << true << "bof";
}

void TestRecordLookup::skipToOpenTask()
{
    QFETCH(int, fromRecNo);
    QFETCH(bool, backwards);
    QFETCH(QString, landsOn);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO ITask (Subject, RecurrenceState, IsComplete) VALUES "
                                         "('A', 0, 0), ('B', 3, 0), ('C', 1, 1), ('D', 2, 0), ('E', 0, 1)"));
    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask ORDER BY ITaskID"), kTagTasks);
    tasks->setRecNo(fromRecNo);
    SkipToOpenTask(tasks.get(), backwards);
    if (landsOn == QLatin1String("eof"))
        QVERIFY(tasks->eof());
    else if (landsOn == QLatin1String("bof"))
        QVERIFY(tasks->bof());
    else
        QCOMPARE(tasks->fieldByName(QStringLiteral("Subject")).asString(), landsOn);
}

void TestRecordLookup::reloadSeesOtherWritersAndStays()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North'), ('South'), ('East')"));
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions ORDER BY Name"), kTagRegions);
    QVERIFY(regions->locate(QStringLiteral("Name"), QStringLiteral("South")));
    auto other = DbConnection::open(database.path());
    other->execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('Central')"));
    other->execute(QStringLiteral("UPDATE Regions SET Description = 'warm' WHERE Name = 'South'"));

    ReloadQuery(regions.get(), QStringLiteral("RegionID"));
    QCOMPARE(regions->recordCount(), 4);
    QCOMPARE(regions->fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("South"));
    QCOMPARE(regions->fieldByName(QStringLiteral("Description")).asString(), QStringLiteral("warm"));
}

void TestRecordLookup::rowResyncReadsOtherWriters()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North'), ('South')"));
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions ORDER BY RegionID"), kTagRegions);
    regions->last();
    auto other = DbConnection::open(database.path());
    other->execute(QStringLiteral("UPDATE Regions SET Description = 'warm'"));

    ApplyRowUpdates(regions.get(), false);
    QCOMPARE(regions->fieldByName(QStringLiteral("Description")).asString(), QString());
    ApplyRowUpdates(regions.get(), true);
    QCOMPARE(regions->fieldByName(QStringLiteral("Description")).asString(), QStringLiteral("warm"));
    regions->first(); // only the current row is read again
    QCOMPARE(regions->fieldByName(QStringLiteral("Description")).asString(), QString());
}

void TestRecordLookup::printRecordOnlyForAViewer()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name, Color) VALUES ('North', 255)"));
    auto regions = database.query(QStringLiteral("SELECT RegionID, Name, Color FROM Regions"), kTagRegions);
    QCOMPARE(PrintRecord(regions.get(), true), QString());

    test::DebugCapture capture;
    const QString text = PrintRecord(regions.get(), true);
    QCOMPARE(text, QStringLiteral("\tRegionID\tName\tColor\r\n\t1\tNorth\t255"));
    QTRY_VERIFY(capture.contains(QStringLiteral("PrintRecord: ") + text));
    QVERIFY(capture.channels().contains(QStringLiteral("DBCommAceessUnit")));
}

QTEST_MAIN(TestRecordLookup)
#include "tst_record_lookup.moc"
