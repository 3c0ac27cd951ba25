// What a new record starts with and what a post writes: defaults by table,
// the default foreign keys, stamps, derived fields and cleared values.

#include "datastore/foreign_key_defaults.h"
#include "datastore/post_handlers.h"
#include "datastore/query_tags.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/fake_clock.h"

#include <QtTest>

using namespace velmora;

namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0)
{
    return DateTime::fromParts(year, month, day, hour, minute);
}
DateTime timeOfDay(int hour, int minute)
{
    return at(1899, 12, 30, hour, minute);
}

// A Wednesday, the 15th: weekday bit 8, third week of the month.
// A function, not a constant: the date arithmetic is not ready before main().
DateTime testNow()
{
    return at(2024, 5, 15, 10, 20);
}

// Expected and actual values in one comparable form, typed by the expectation.
QString shown(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.metaType() == QMetaType::fromType<DateTime>())
        return value.value<DateTime>().toIsoText();
    return value.toString();
}
QString shown(const Field& field, const QVariant& expected)
{
    if (field.isNull())
        return QStringLiteral("NULL");
    switch (expected.typeId()) {
    case QMetaType::Bool: return QVariant(field.asBoolean()).toString();
    case QMetaType::Int: return QString::number(field.asInteger());
    case QMetaType::Double: return QString::number(field.asFloat());
    case QMetaType::QString: return field.asString();
    default: return field.asDateTime().toIsoText();
    }
}

void seedReferenceRows(DbConnection& db)
{
    db.execute(QStringLiteral("INSERT INTO Categories (CategoryID, Name) VALUES (3, '[None]')"));
    db.execute(QStringLiteral("INSERT INTO Places (PlaceID, Name) VALUES (5, '[None]')"));
    db.execute(QStringLiteral("INSERT INTO Users (UserID, FullName) VALUES (7, 'Administrator')"));
    db.execute(QStringLiteral("INSERT INTO Regions (RegionID, Name) VALUES (2, '[None]')"));
}

void fillCache(test::RulesDatabase& database)
{
    auto scratch = database.query(QStringLiteral("SELECT 1"), kTagTransaction, QStringLiteral("qryTransaction"), false);
    GetDefaultIndex(*scratch);
}

} // namespace

class TestRecordDefaults : public QObject {
    Q_OBJECT
private slots:
    void newRecordDefaultsByTag_data();
    void newRecordDefaultsByTag();
    void newItemStartsAtTheNextHalfHour_data();
    void newItemStartsAtTheNextHalfHour();
    void cacheFilledOnlyWhenEveryTableHasRows_data();
    void cacheFilledOnlyWhenEveryTableHasRows();
    void postDerivesUrgencyFromImportance_data();
    void postDerivesUrgencyFromImportance();
    void postStampsAndFillsMissingKeys();
    void postClearsEmptyTextsAndFarDates();
    void postClearsOnlyListedContactFields();
    void postWritesReminderInfoFromProvider();
};

void TestRecordDefaults::newRecordDefaultsByTag_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* name, int tag, const char* table, const char* field, const QVariant& expected) {
        QTest::addRow("%s", name) << tag << QString::fromLatin1(table) << QString::fromLatin1(field) << expected;
    };
    const QVariant today = QVariant::fromValue(at(2024, 5, 15));
    const QVariant now = QVariant::fromValue(testNow());
    const QVariant white = 16777215;

    row("pattern start", kTagRecurrences, "IRecurrencePattern", "PatternStartDate", today);
    row("pattern end nine weeks on", kTagRecurrences, "IRecurrencePattern", "PatternEndDate",
        QVariant::fromValue(at(2024, 7, 17)));
    row("pattern no end", kTagRecurrences, "IRecurrencePattern", "NoEndDate", true);
    row("pattern occurrences", kTagRecurrences, "IRecurrencePattern", "Occurrences", 10);
    row("pattern weekly", kTagRecurrences, "IRecurrencePattern", "RecurrenceType", 1);
    row("pattern interval", kTagRecurrences, "IRecurrencePattern", "Interval", 1);
    row("pattern Wednesday bit", kTagRecurrences, "IRecurrencePattern", "DayOfWeekMask", 8);
    row("pattern day of month", kTagRecurrences, "IRecurrencePattern", "DayOfMonth", 15);
    row("pattern third week", kTagRecurrences, "IRecurrencePattern", "Instance", 3);
    row("pattern month", kTagRecurrences, "IRecurrencePattern", "MonthOfYear", 5);
    row("pattern 8:00", kTagRecurrences, "IRecurrencePattern", "StartTime", QVariant::fromValue(timeOfDay(8, 0)));
    row("pattern 8:30", kTagRecurrences, "IRecurrencePattern", "EndTime", QVariant::fromValue(timeOfDay(8, 30)));
    row("pattern duration", kTagRecurrences, "IRecurrencePattern", "Duration", 30);
    row("pattern no regenerate", kTagRecurrences, "IRecurrencePattern", "Regenerate", false);

    const QVariant inFifteen = QVariant::fromValue(at(2024, 5, 15, 10, 35));
    row("reminder due", kTagReminders, "Reminders", "ReminderNewTime", inFifteen);
    row("reminder time", kTagReminders, "Reminders", "ReminderTime", inFifteen);
    row("reminder window", kTagReminders, "Reminders", "ReminderMethod", 1);
    row("reminder no action", kTagReminders, "Reminders", "Behavior", 0);
    row("reminder not today", kTagReminders, "Reminders", "IsTodayReminder", false);
    row("reminder not notified", kTagReminders, "Reminders", "HasNotified", false);
    row("reminder not set", kTagReminders, "Reminders", "ReminderSet", false);
    row("reminder agent", kTagReminders, "Reminders", "AgentChar", 0);
    row("reminder lead", kTagReminders, "Reminders", "ReminderMinutesBeforeStart", 15);

    for (int tag : {kTagTasks, kTagAppointments}) {
        const QByteArray kind = tag == kTagTasks ? "task" : "appointment";
        const auto item = [&](const char* what, const char* field, const QVariant& expected) {
            row((kind + ' ' + what).constData(), tag, "ITask", field, expected);
        };
        item("is task", "IsTask", tag == kTagTasks);
        item("starts at the half hour", "StartDate", QVariant::fromValue(at(2024, 5, 15, 10, 30)));
        item("due half an hour later", "DueDate", QVariant::fromValue(at(2024, 5, 15, 11, 0)));
        item("duration", "Duration", 30);
        item("importance normal", "Importance", 1);
        item("status", "Status", 0);
        item("no reminder", "HasReminder", false);
        item("not recurring", "IsRecurring", false);
        item("plain item", "RecurrenceState", 0);
        item("work done", "ActualWork", 0);
        item("work planned", "TotalWork", 0);
        item("percent", "PercentComplete", 0);
        for (const char* flag : {"IsImportant", "IsUrgent", "IsComplete", "IsPrivate", "IsTeamTask", "IsAllDayEvent",
                                 "IsSecurity", "IsShowTraditionalCalendar"})
            item(flag, flag, false);
        item("label white", "Label", white);
        item("colour white", "Color", white);
        item("sensitivity", "Sensitivity", 1);
        item("created now", "TimeCreated", now);
        item("modified now", "TimeModified", now);
        item("default place", "PlaceID", 5);
        item("default user", "UserID", 7);
    }

    row("task to-do type", kTagTaskToDos, "ToDoList", "LinkType", QStringLiteral("T"));
    row("task to-do owner", kTagTaskToDos, "ToDoList", "LinkID", 41);
    row("appointment to-do type", kTagAppointmentToDos, "ToDoList", "LinkType", QStringLiteral("A"));
    row("appointment to-do owner", kTagAppointmentToDos, "ToDoList", "LinkID", 41);
    row("to-do not finished", kTagTaskToDos, "ToDoList", "IsFinished", false);
    row("to-do not important", kTagTaskToDos, "ToDoList", "IsImportant", false);
    row("to-do not urgent", kTagTaskToDos, "ToDoList", "IsUrgent", false);
    row("to-do active", kTagTaskToDos, "ToDoList", "IsActive", true);

    // A table never takes its own key as a default, but takes the others.
    row("category own key", kTagCategories, "Categories", "CategoryID", QVariant());
    row("category place", kTagCategories, "Categories", "PlaceID", 5);
    row("category user", kTagCategories, "Categories", "UserID", 7);
    row("category not secure", kTagCategories, "Categories", "IsSecurityCategory", false);
    row("place own key", kTagPlaces, "Places", "PlaceID", QVariant());
    row("place category", kTagPlaces, "Places", "CategoryID", 3);
    row("place colour", kTagPlaces, "Places", "Color", white);
    row("user own key", kTagUsers, "Users", "UserID", QVariant());

    row("holiday category", kTagHolidays, "Holidays", "Categories", QStringLiteral("Holiday"));
    row("holiday icon", kTagHolidays, "Holidays", "Icon", 0);
    row("holiday available", kTagHolidays, "Holidays", "IsAvailable", true);
    row("holiday no start year", kTagHolidays, "Holidays", "HasStartYear", false);
    row("holiday type", kTagHolidays, "Holidays", "HolidayType", 1);
    row("holiday occurrences", kTagHolidays, "Holidays", "Occurrences", 1);
    row("holiday interval", kTagHolidays, "Holidays", "Interval", 1);
    row("holiday Monday", kTagHolidays, "Holidays", "WeekMask", 2);
    row("holiday day", kTagHolidays, "Holidays", "DayOfMonth", 1);
    row("holiday instance", kTagHolidays, "Holidays", "Instance", 1);
    row("holiday month", kTagHolidays, "Holidays", "MonthOfYear", 1);
    row("holiday western calendar", kTagHolidays, "Holidays", "IsTraditionalCalendar", false);

    row("user employed from today", kTagUsers, "Users", "StartTime", today);
    row("user employed for a century", kTagUsers, "Users", "EndTime", QVariant::fromValue(at(2124, 5, 15)));
    row("user work days", kTagUsers, "Users", "WorkDays", 5.0);
    row("user work hours", kTagUsers, "Users", "WorkHours", 7.5);
    row("user full time", kTagUsers, "Users", "WorkType", QStringLiteral("F"));
    row("user software", kTagUsers, "Users", "Software", QStringLiteral("N"));
    row("user gender", kTagUsers, "Users", "Gender", true);
    row("user displayed", kTagUsers, "Users", "IsDisplayed", true);
    row("user created", kTagUsers, "Users", "TimeCreated", now);

    row("note height", kTagNotes, "Notes", "Height", 203);
    row("note left", kTagNotes, "Notes", "Left", 80);
    row("note top", kTagNotes, "Notes", "Top", 78);
    row("note width", kTagNotes, "Notes", "Width", 237);
    row("note sensitivity", kTagNotes, "Notes", "Sensitivity", 1);
    row("note importance", kTagNotes, "Notes", "Importance", 1);
    row("note user", kTagNotes, "Notes", "UserID", 7);
}

void TestRecordDefaults::newRecordDefaultsByTag()
{
    QFETCH(int, tag);
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    seedReferenceRows(database.db());
    fillCache(database);
    database.db().execute(QStringLiteral("INSERT INTO ITask (ITaskID, IsTask, Subject) VALUES (41, 1, 'Owner')"));

    auto master = database.query(QStringLiteral("SELECT * FROM ITask"), kTagTasks, QStringLiteral("qryTasks"));
    auto ds = database.query(QStringLiteral("SELECT * FROM ") + table, tag);
    if (table == QLatin1String("ToDoList")) {
        ds->close();
        ds->setSql(QStringLiteral("SELECT * FROM ToDoList WHERE (LinkID = :ITaskID)"));
        ds->setMasterSource(master.get());
        ds->open();
    }
    ds->append();
    QCOMPARE(shown(ds->fieldByName(field), expected), shown(expected));
}

void TestRecordDefaults::newItemStartsAtTheNextHalfHour_data()
{
    QTest::addColumn<DateTime>("now");
    QTest::addColumn<DateTime>("start");
    QTest::addRow("on the hour") << at(2024, 5, 15, 10, 0) << at(2024, 5, 15, 10, 30);
    QTest::addRow("on the half hour stays") << at(2024, 5, 15, 10, 30) << at(2024, 5, 15, 10, 30);
    QTest::addRow("just after the half hour") << at(2024, 5, 15, 10, 31) << at(2024, 5, 15, 11, 0);
    // The hour wraps but the date does not: a late item starts at today's midnight.
    QTest::addRow("late evening") << at(2024, 5, 15, 23, 45) << at(2024, 5, 15, 0, 0);
}

void TestRecordDefaults::newItemStartsAtTheNextHalfHour()
{
    QFETCH(DateTime, now);
    QFETCH(DateTime, start);
    test::FakeClock clock(now);
    test::RulesDatabase database;
    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask WHERE IsTask <> 0"), kTagTasks);
    tasks->append();
    QCOMPARE(tasks->fieldByName(QStringLiteral("StartDate")).asDateTime(), start);
    QCOMPARE(tasks->fieldByName(QStringLiteral("DueDate")).asDateTime(), start.addMinutes(30));
}

void TestRecordDefaults::cacheFilledOnlyWhenEveryTableHasRows_data()
{
    QTest::addColumn<QString>("emptyTable");
    QTest::addColumn<int>("userID");
    QTest::addColumn<bool>("newTaskHasPlace");
    QTest::addRow("all filled") << QString() << 7 << true;
    QTest::addRow("no users") << QStringLiteral("Users") << 0 << false;
    QTest::addRow("no regions") << QStringLiteral("Regions") << 0 << false;
}

void TestRecordDefaults::cacheFilledOnlyWhenEveryTableHasRows()
{
    QFETCH(QString, emptyTable);
    QFETCH(int, userID);
    QFETCH(bool, newTaskHasPlace);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    seedReferenceRows(database.db());
    if (!emptyTable.isEmpty())
        database.db().execute(QStringLiteral("DELETE FROM ") + emptyTable);
    fillCache(database);
    QCOMPARE(defaultForeignKeys().userID, userID);
    QCOMPARE(defaultForeignKeys().placeID, newTaskHasPlace ? 5 : 0);

    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask"), kTagTasks);
    tasks->append();
    QCOMPARE(tasks->fieldByName(QStringLiteral("PlaceID")).isNull(), !newTaskHasPlace);
    QCOMPARE(tasks->fieldByName(QStringLiteral("UserID")).isNull(), userID == 0);
}

void TestRecordDefaults::postDerivesUrgencyFromImportance_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("importance");
    QTest::addColumn<bool>("important");
    QTest::addColumn<bool>("urgent");
    for (int tag : {kTagTasks, kTagAppointments}) {
        const char* kind = tag == kTagTasks ? "task" : "appointment";
        QTest::addRow("%s low", kind) << tag << 0 << false << false;
        QTest::addRow("%s normal", kind) << tag << 1 << false << true;
        QTest::addRow("%s high", kind) << tag << 2 << true << false;
        QTest::addRow("%s urgent", kind) << tag << 3 << true << true;
    }
}

void TestRecordDefaults::postDerivesUrgencyFromImportance()
{
    QFETCH(int, tag);
    QFETCH(int, importance);
    QFETCH(bool, important);
    QFETCH(bool, urgent);
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    auto items = database.query(QStringLiteral("SELECT * FROM ITask"), tag);
    items->append();
    items->fieldByName(QStringLiteral("Subject")).setValue(QStringLiteral("Report"));
    items->fieldByName(QStringLiteral("Importance")).setValue(importance);
    items->post();
    const qint64 id = items->fieldByName(QStringLiteral("ITaskID")).asInteger();
    QCOMPARE(database.db().scalar(QStringLiteral("SELECT IsImportant FROM ITask WHERE ITaskID = ?"), {id}).toInt(),
             important ? 1 : 0);
    QCOMPARE(database.db().scalar(QStringLiteral("SELECT IsUrgent FROM ITask WHERE ITaskID = ?"), {id}).toInt(),
             urgent ? 1 : 0);
}

void TestRecordDefaults::postStampsAndFillsMissingKeys()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    seedReferenceRows(database.db());
    fillCache(database);
    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask"), kTagTasks);
    tasks->append();
    tasks->fieldByName(QStringLiteral("UserID")).setNull();
    tasks->fieldByName(QStringLiteral("PlaceID")).setValue(9);
    clock.advanceMsecs(5 * DateTime::kMsecsPerMinute);
    tasks->post();

    QCOMPARE(tasks->fieldByName(QStringLiteral("TimeCreated")).asDateTime(), testNow());
    QCOMPARE(tasks->fieldByName(QStringLiteral("TimeModified")).asDateTime(), testNow().addMinutes(5));
    QCOMPARE(tasks->fieldByName(QStringLiteral("UserID")).asInteger(), 7);  // NULL takes the default
    QCOMPARE(tasks->fieldByName(QStringLiteral("PlaceID")).asInteger(), 9); // a chosen key stays
    // The post's transaction is over and another program sees the row.
    QCOMPARE(database.db().transactionDepth(), 0);
    auto other = DbConnection::open(database.path());
    QCOMPARE(other->scalar(QStringLiteral("SELECT COUNT(*) FROM ITask")).toInt(), 1);
}

void TestRecordDefaults::postClearsEmptyTextsAndFarDates()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    auto periods = database.query(QStringLiteral("SELECT * FROM Periods"), kTagRegions);
    periods->append();
    periods->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("Spring"));
    periods->fieldByName(QStringLiteral("Remark")).setValue(QString(""));
    periods->fieldByName(QStringLiteral("Notes")).setValue(QString(""));
    periods->fieldByName(QStringLiteral("StartDate")).setDateTime(at(2500, 12, 31, 23, 0));
    periods->fieldByName(QStringLiteral("EndDate")).setDateTime(at(2999, 1, 1));
    periods->post();
    const qint64 id = periods->fieldByName(QStringLiteral("PeriodID")).asInteger();
    const auto stored = [&](const char* field) {
        return database.db().scalar(QStringLiteral("SELECT %1 FROM Periods WHERE PeriodID = ?").arg(QLatin1String(field)),
                                    {id});
    };
    QCOMPARE(stored("Name").toString(), QStringLiteral("Spring"));
    QVERIFY(stored("Remark").isNull());
    QVERIFY(stored("Notes").isNull());
    QVERIFY(!stored("StartDate").isNull()); // the year 2500 itself stays
    QVERIFY(stored("EndDate").isNull());
}

void TestRecordDefaults::postClearsOnlyListedContactFields()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Contacts (FirstName, MiddleName, LastName, User1) "
                                         "VALUES ('Anna', 'Maria', 'Smith', 'x')"));
    auto contacts = database.query(QStringLiteral("SELECT * FROM Contacts"), kTagContacts, QStringLiteral("qryContacts"));
    contacts->edit();
    for (const char* field : {"FirstName", "MiddleName", "User1"})
        contacts->fieldByName(QLatin1String(field)).setValue(QString(""));
    contacts->fieldByName(QStringLiteral("Birthday")).setDateTime(at(2999, 1, 1));
    contacts->post();
    const auto stored = [&](const char* field) {
        return database.db().scalar(QStringLiteral("SELECT %1 FROM Contacts").arg(QLatin1String(field)));
    };
    QVERIFY(stored("FirstName").isNull());
    QCOMPARE(stored("MiddleName").toString(), QString(""));
    QVERIFY(!stored("MiddleName").isNull());
    QVERIFY(!stored("User1").isNull());
    QVERIFY(!stored("Birthday").isNull()); // contacts keep the dates outside programs deliver
}

void TestRecordDefaults::postWritesReminderInfoFromProvider()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    auto tasks = database.query(QStringLiteral("SELECT * FROM ITask"), kTagTasks);
    tasks->append();
    tasks->fieldByName(QStringLiteral("ReminderInfo")).setValue(QStringLiteral("typed"));
    tasks->post();
    QCOMPARE(tasks->fieldByName(QStringLiteral("ReminderInfo")).asString(), QStringLiteral("typed"));

    int calls = 0;
    setReminderInfoProvider([&calls](DataSet& ds) {
        ++calls;
        return QStringLiteral("Reminder for ") + ds.fieldByName(QStringLiteral("Subject")).asString();
    });
    tasks->edit();
    tasks->fieldByName(QStringLiteral("Subject")).setValue(QStringLiteral("Call Bob"));
    tasks->post();
    auto notes = database.query(QStringLiteral("SELECT * FROM Notes"), kTagNotes);
    notes->append();
    notes->post();
    setReminderInfoProvider(nullptr);

    QCOMPARE(calls, 1); // tasks and appointments only
    QCOMPARE(database.db().scalar(QStringLiteral("SELECT ReminderInfo FROM ITask")).toString(),
             QStringLiteral("Reminder for Call Bob"));
}

QTEST_MAIN(TestRecordDefaults)
#include "tst_record_defaults.moc"
