// The sample set: the counts it promises, every kind of series, occurrences
// that agree with their exception rows, reminders and to-do items that point
// at real rows, and the same rows for the same day.

#include "datastore/database_schema.h"
#include "datastore/demo_data.h"
#include "platform/exception.h"
#include "tests/datastore/database_probe.h"

#include <QDate>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using velmora::DateTime;
using velmora::DemoDataSummary;
using velmora::test::DatabaseProbe;

namespace {

// A Wednesday in June: the day most checks look at.
const DateTime kToday = DateTime::fromParts(2024, 6, 12);

DateTime dateOf(const QVariant& days)
{
    return DateTime::fromDays(days.toDouble());
}

// The weekday bit of the masks: Sunday 1, Monday 2 ... Saturday 64.
int weekdayBit(const DateTime& day)
{
    return 1 << (day.dayOfWeek() - 1);
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void countsAreThoseReportedAndPromised_data();
    void countsAreThoseReportedAndPromised();
    void rowsFollowTheRecordRules();
    void everyRecurrenceTypeHasAMasterOnItsPattern();
    void occurrencesAgreeWithTheirExceptionRows();
    void remindersAreLinkedOneToOne();
    void toDoItemsBelongToAnItemOfTheirKind();
    void sameDayGivesTheSameRows();
    void failureKeepsNothing();

private:
    QString makeDemo(const DateTime& today, DemoDataSummary* summary = nullptr);

    QTemporaryDir m_dir;
    int m_made = 0;
    QString m_path;
    DemoDataSummary m_summary;
};

QString TestDemoData::makeDemo(const DateTime& today, DemoDataSummary* summary)
{
    const QString path = m_dir.filePath(QStringLiteral("demo%1.mdb").arg(++m_made));
    DemoDataSummary made;
    velmora::createDatabase(path, [&](sqlite3* db) { made = velmora::addDemoData(db, today); });
    if (summary)
        *summary = made;
    return path;
}

void TestDemoData::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = makeDemo(kToday, &m_summary);
}

void TestDemoData::countsAreThoseReportedAndPromised_data()
{
    QTest::addColumn<DateTime>("today");

    QTest::addRow("midweek in June") << kToday;
    QTest::addRow("a Sunday at a month's end") << DateTime::fromParts(2025, 8, 31);
    QTest::addRow("between the years") << DateTime::fromParts(2023, 12, 28);
    QTest::addRow("twenty days before a leap day") << DateTime::fromParts(2024, 2, 9);
}

void TestDemoData::countsAreThoseReportedAndPromised()
{
    QFETCH(DateTime, today);

    DemoDataSummary summary;
    const QString path = makeDemo(today, &summary);
    DatabaseProbe probe(path);
    auto count = [&](const char* sql) { return int(probe.integer(QString::fromLatin1(sql))); };

    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE IsTask = 0 AND RecurrenceState = 0"), summary.appointments);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE IsTask <> 0 AND RecurrenceState = 0"), summary.tasks);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE IsTask <> 0 AND RecurrenceState = 0 AND IsComplete <> 0"),
             summary.completedTasks);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE RecurrenceState = 1"), summary.series);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE RecurrenceState = 4"), summary.changedOccurrences);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE RecurrenceState = 3"), summary.deletedOccurrences);
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders"), summary.reminders);
    QCOMPARE(count("SELECT COUNT(*) FROM ToDoList"), summary.toDoItems);
    QCOMPARE(count("SELECT COUNT(*) FROM Contacts"), summary.contacts);
    QCOMPARE(count("SELECT COUNT(*) FROM Notes"), summary.notes);
    QCOMPARE(count("SELECT COUNT(*) FROM Holidays WHERE (Name <> '[None]')"), summary.holidays);
    QCOMPARE(count("SELECT COUNT(*) FROM Users"), 1 + summary.resources);
    QCOMPARE(count("SELECT COUNT(*) FROM Places WHERE (Name <> '[None]')"), summary.places);
    QCOMPARE(count("SELECT COUNT(*) FROM Regions WHERE (Name <> '[None]')"), summary.regions);

    // What the sample promises, whatever the day.
    QVERIFY2(summary.appointments >= 150 && summary.appointments <= 400, qPrintable(summary.describe()));
    QVERIFY2(summary.tasks >= 50 && summary.tasks <= 200, qPrintable(summary.describe()));
    QVERIFY(summary.completedTasks >= 10 && summary.completedTasks < summary.tasks);
    QVERIFY(summary.series >= 6);
    QVERIFY(summary.changedOccurrences >= 1 && summary.deletedOccurrences >= 1);
    QVERIFY(summary.reminders >= 20);
    QVERIFY(summary.toDoItems >= 20);
    QVERIFY(summary.contacts >= 10 && summary.notes >= 5 && summary.holidays >= 5);
    QCOMPARE(summary.resources, 3);
    QCOMPARE(count("SELECT COUNT(*) FROM Users WHERE IsDisplayed <> 0"), 4);
    QCOMPARE(count("SELECT COUNT(DISTINCT HolidayType) FROM Holidays WHERE (Name <> '[None]')"), 3);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE IsAllDayEvent <> 0 AND RecurrenceState = 0") > 0, true);

    // Around the day: single items from about three months back to three ahead.
    const double from = today.addDays(-100).toDays();
    const double to = today.addDays(100).toDays();
    QCOMPARE(int(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE RecurrenceState = 0 AND "
                                              "(StartDate < ?1 OR StartDate > ?2)"),
                               {from, to})),
             0);
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE StartDate < ?1"), {today.toDays()}) > 50);
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE StartDate >= ?1"), {today.toDays()}) > 50);
    QCOMPARE(probe.text(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

void TestDemoData::rowsFollowTheRecordRules()
{
    DatabaseProbe probe(m_path);
    auto count = [&](const char* sql) { return int(probe.integer(QString::fromLatin1(sql))); };

    // The derived flags agree with the importance.
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE IsImportant <> (Importance IN (2, 3)) "
                   "OR IsUrgent <> (Importance IN (1, 3))"),
             0);
    // Completion fields move together; nothing is completed in the future.
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE (IsComplete <> 0) <> (Status = 2) "
                   "OR (IsComplete <> 0) <> (DateCompleted IS NOT NULL) "
                   "OR (IsComplete <> 0 AND PercentComplete <> 100)"),
             0);
    QCOMPARE(int(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE DateCompleted > ?1"),
                               {kToday.toDays()})),
             0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE DueDate < StartDate"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE UserID NOT IN (SELECT UserID FROM Users)"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE PlaceID NOT IN (SELECT PlaceID FROM Places)"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask i JOIN Places p ON p.PlaceID = i.PlaceID "
                   "WHERE p.Name <> '[None]' AND i.PlaceName IS NOT p.Name"),
             0);
    QCOMPARE(count("SELECT COUNT(*) FROM Places WHERE RegionID NOT IN (SELECT RegionID FROM Regions)"), 0);

    // Text the user left empty is stored as NULL, never as an empty text.
    for (const velmora::TableSchema& table : velmora::databaseTables()) {
        for (const velmora::ColumnSchema& column : table.columns) {
            const qint64 empty = probe.integer(
                QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE \"%2\" = ''").arg(table.name, column.name));
            QVERIFY2(empty == 0, qPrintable(table.name + QLatin1Char('.') + column.name));
        }
    }
}

void TestDemoData::everyRecurrenceTypeHasAMasterOnItsPattern()
{
    DatabaseProbe probe(m_path);
    const QList<QVariantList> masters = probe.rows(QStringLiteral(
        "SELECT i.ITaskID, i.IsRecurring, i.StartDate, i.IsAllDayEvent, p.RecurrenceType, p.Interval, "
        "p.DayOfWeekMask, p.DayOfMonth, p.Instance, p.MonthOfYear, p.StartTime, p.PatternStartDate, p.NoEndDate, "
        "p.EndType, p.PatternEndDate FROM ITask i JOIN IRecurrencePattern p "
        "ON p.IRecurrencePatternID = i.IRecurrencePatternID WHERE i.RecurrenceState = 1"));
    QCOMPARE(masters.size(), m_summary.series);
    // One pattern per master, none left over.
    QCOMPARE(int(probe.integer(QStringLiteral("SELECT COUNT(*) FROM IRecurrencePattern"))), m_summary.series);

    QSet<int> types;
    for (const QVariantList& row : masters) {
        const DateTime start = dateOf(row[2]);
        const int type = row[4].toInt();
        const int mask = row[6].toInt();
        const int instance = row[8].toInt();
        types.insert(type);
        const QByteArray what = QByteArray("master ") + row[0].toByteArray();
        QCOMPARE(row[1].toInt(), 1);
        if (!row[3].toBool())
            QCOMPARE(start.timePart(), dateOf(row[10]));
        QVERIFY2(start.datePart() >= dateOf(row[11]), what.constData());
        // The master stands on a day its own pattern gives.
        switch (type) {
        case 0:
            if (row[5].toInt() == 0)
                QVERIFY2(mask == 62 && (weekdayBit(start) & 62), what.constData());
            break;
        case 1:
            QVERIFY2(weekdayBit(start) & mask, what.constData());
            break;
        case 2:
            QCOMPARE(start.day(), row[7].toInt());
            break;
        case 3:
        case 6:
            QVERIFY2(weekdayBit(start) & mask, what.constData());
            if (instance == 5)
                QVERIFY2(start.addDays(7).month() != start.month(), what.constData());
            else
                QCOMPARE((start.day() - 1) / 7 + 1, instance);
            if (type == 6)
                QCOMPARE(start.month(), row[9].toInt());
            break;
        case 5:
            QCOMPARE(start.month(), row[9].toInt());
            QCOMPARE(start.day(), row[7].toInt());
            break;
        default:
            QFAIL("unknown recurrence type");
        }
        // The end settings agree with each other.
        const int endType = row[13].toInt();
        QCOMPARE(row[12].toBool(), endType == 0);
        QCOMPARE(row[14].isNull(), endType == 0);
    }
    QCOMPARE(types, (QSet<int>{0, 1, 2, 3, 5, 6}));
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM IRecurrencePattern WHERE Regenerate <> 0")) >= 1);
}

void TestDemoData::occurrencesAgreeWithTheirExceptionRows()
{
    DatabaseProbe probe(m_path);
    const QList<QVariantList> occurrences = probe.rows(QStringLiteral(
        "SELECT o.ITaskID, o.RecurrenceState, o.ParentID, o.StartDate, o.IRecurrencePatternID, m.RecurrenceState, "
        "p.StartTime FROM ITask o JOIN ITask m ON m.ITaskID = o.ParentID "
        "JOIN IRecurrencePattern p ON p.IRecurrencePatternID = m.IRecurrencePatternID "
        "WHERE o.RecurrenceState IN (2, 3, 4)"));
    QCOMPARE(occurrences.size(), m_summary.changedOccurrences + m_summary.deletedOccurrences);
    QCOMPARE(int(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Exceptions"))), occurrences.size());

    for (const QVariantList& row : occurrences) {
        const QByteArray what = QByteArray("occurrence ") + row[0].toByteArray();
        QCOMPARE(row[5].toInt(), 1); // the parent is a master
        QVERIFY2(row[4].isNull() || row[4].toInt() == 0, what.constData()); // no pattern of its own
        const QList<QVariantList> exceptions = probe.rows(
            QStringLiteral("SELECT ParentID, OriginalDate, IsDeleted, IsArchived FROM Exceptions WHERE ITaskID = ?1"),
            {row[0]});
        QCOMPARE(exceptions.size(), 1);
        const QVariantList& exception = exceptions.first();
        QCOMPARE(exception[0].toLongLong(), row[2].toLongLong());
        QCOMPARE(exception[2].toInt() != 0, row[1].toInt() == 3);
        QCOMPARE(exception[3].toInt(), 0);
        // The original start is a start of the series; a changed one moved away from it.
        const DateTime original = dateOf(exception[1]);
        QCOMPARE(original.timePart(), dateOf(row[6]));
        if (row[1].toInt() == 4)
            QVERIFY2(dateOf(row[3]) != original, what.constData());
        else
            QCOMPARE(dateOf(row[3]), original);
    }
}

void TestDemoData::remindersAreLinkedOneToOne()
{
    DatabaseProbe probe(m_path);
    auto count = [&](const char* sql) { return int(probe.integer(QString::fromLatin1(sql))); };

    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE ReminderID > 0 "
                   "AND ReminderID NOT IN (SELECT ReminderID FROM Reminders)"),
             0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE (HasReminder <> 0) <> (IFNULL(ReminderID, 0) > 0)"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM ITask WHERE HasReminder <> 0 AND IFNULL(ReminderInfo, '') = ''"), 0);
    // Each reminder row serves exactly one item.
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders r WHERE (SELECT COUNT(*) FROM ITask i "
                   "WHERE i.ReminderID = r.ReminderID) <> 1"),
             0);
    // A single appointment's reminder is its lead time before the start.
    const QList<QVariantList> single = probe.rows(QStringLiteral(
        "SELECT i.StartDate, r.ReminderTime, r.ReminderNewTime, r.ReminderMinutesBeforeStart FROM ITask i "
        "JOIN Reminders r ON r.ReminderID = i.ReminderID WHERE i.IsTask = 0 AND i.RecurrenceState = 0"));
    QVERIFY(single.size() >= 10);
    for (const QVariantList& row : single) {
        QCOMPARE(dateOf(row[1]), dateOf(row[0]).addMinutes(-row[3].toInt()));
        QCOMPARE(dateOf(row[2]), dateOf(row[1]));
    }

    int methods = 0;
    for (const QVariantList& row : probe.rows(QStringLiteral("SELECT ReminderMethod FROM Reminders")))
        methods |= row.first().toInt();
    for (int bit : {1, 2, 4, 8, 16, 64})
        QVERIFY2(methods & bit, qPrintable(QStringLiteral("no reminder uses the way %1").arg(bit)));
    // Nothing in the sample acts on the computer, and a program only runs
    // from a reminder that has already been shown.
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders WHERE Behavior <> 0"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders WHERE (ReminderMethod & 32) <> 0 AND HasNotified = 0"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders WHERE (ReminderMethod & 8) <> 0 AND RecipientsTo IS NULL"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM Reminders WHERE (ReminderMethod & 64) <> 0 AND MultiActions IS NULL"), 0);
    // A single item's reminder that fell due before today has been shown.
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Reminders r JOIN ITask i ON i.ReminderID = r.ReminderID "
                                          "WHERE i.RecurrenceState = 0 AND r.HasNotified = 0 AND r.ReminderNewTime < ?1"),
                           {kToday.toDays()}),
             qint64(0));
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Reminders WHERE HasNotified = 0 AND ReminderNewTime >= ?1"),
                          {kToday.toDays()})
            >= 10);
}

void TestDemoData::toDoItemsBelongToAnItemOfTheirKind()
{
    DatabaseProbe probe(m_path);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ToDoList t LEFT JOIN ITask i ON i.ITaskID = t.LinkID "
                                          "WHERE i.ITaskID IS NULL OR (t.LinkType = 'T') <> (i.IsTask <> 0) "
                                          "OR t.LinkType NOT IN ('T', 'A')")),
             qint64(0));
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ToDoList WHERE LinkType = 'T'")) > 0);
    QVERIFY(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ToDoList WHERE LinkType = 'A'")) > 0);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ToDoList WHERE IsActive = 0")), qint64(0));
}

void TestDemoData::sameDayGivesTheSameRows()
{
    const QString again = makeDemo(kToday);
    const QString query = QStringLiteral("SELECT * FROM ITask ORDER BY ITaskID");
    DatabaseProbe first(m_path);
    DatabaseProbe second(again);
    QCOMPARE(second.rows(query), first.rows(query));
    const QString reminders = QStringLiteral("SELECT * FROM Reminders ORDER BY ReminderID");
    QCOMPARE(second.rows(reminders), first.rows(reminders));

    // Another day moves the items along with it.
    const QString later = makeDemo(kToday.addDays(7));
    DatabaseProbe moved(later);
    const QString firstStart = QStringLiteral("SELECT MIN(StartDate) FROM ITask WHERE RecurrenceState = 0");
    QCOMPARE(dateOf(moved.value(firstStart)), dateOf(first.value(firstStart)).addDays(7));
}

void TestDemoData::failureKeepsNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("broken.mdb"));
    velmora::createDatabase(path);
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    // Notes are written last: everything before them must go too.
    QCOMPARE(sqlite3_exec(db, "DROP TABLE Notes", nullptr, nullptr, nullptr), SQLITE_OK);
    bool raised = false;
    try {
        velmora::addDemoData(db, kToday);
    } catch (const velmora::Exception&) {
        raised = true;
    }
    const bool stillOpen = sqlite3_get_autocommit(db) != 0;
    sqlite3_close(db);
    QVERIFY(raised);
    QVERIFY2(stillOpen, "a transaction was left open");

    DatabaseProbe probe(path);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask")), qint64(0));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Reminders")), qint64(0));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Users")), qint64(1));
}

QTEST_MAIN(TestDemoData)
#include "tst_demo_data.moc"
