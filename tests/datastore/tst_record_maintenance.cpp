// Keeping an item's rows consistent: reminder rows created, timed and marked
// for the launcher bar, the due and alive rules, series rows removed, the
// completion states, the list tests and the plain-text rendering.

#include "datastore/item_text.h"
#include "datastore/reminder_rules.h"
#include "datastore/reminder_sync.h"
#include "datastore/series_links.h"
#include "datastore/task_completion.h"
#include "foundation/date_texts.h"
#include "foundation/window_messages.h"
#include "platform/window_bus.h"
#include "tests/datastore/item_store_fixture.h"

#include <QtTest>

using namespace velmora;

namespace {

// Wednesday 15 May 2024, 8:00.
DateTime testNow()
{
    return DateTime::fromParts(2024, 5, 15, 8, 0);
}

QVariant at(DateTime value)
{
    return QVariant::fromValue(value);
}

QVariantMap reminderRow(DateTime time, int minutesBefore = 15)
{
    return {{QStringLiteral("ReminderTime"), at(time)}, {QStringLiteral("ReminderNewTime"), at(time)},
            {QStringLiteral("ReminderMinutesBeforeStart"), minutesBefore}, {QStringLiteral("ReminderMethod"), 1},
            {QStringLiteral("HasNotified"), 1}, {QStringLiteral("IsTodayReminder"), 0}};
}

// Weekly on Mondays from Monday 6 May 2024 at 9:00 for an hour, no end.
QVariantMap mondayPattern()
{
    return {{QStringLiteral("RecurrenceType"), 1}, {QStringLiteral("Interval"), 1},
            {QStringLiteral("DayOfWeekMask"), 2}, {QStringLiteral("PatternStartDate"), at(DateTime::fromParts(2024, 5, 6))},
            {QStringLiteral("NoEndDate"), 1}, {QStringLiteral("StartTime"), at(DateTime::fromParts(1899, 12, 30, 9, 0))},
            {QStringLiteral("EndTime"), at(DateTime::fromParts(1899, 12, 30, 10, 0))}, {QStringLiteral("Duration"), 60}};
}

QVariantMap task(const QString& subject)
{
    return {{QStringLiteral("IsTask"), 1}, {QStringLiteral("Subject"), subject},
            {QStringLiteral("StartDate"), at(DateTime::fromParts(2024, 5, 17, 10, 0))},
            {QStringLiteral("DueDate"), at(DateTime::fromParts(2024, 5, 17, 10, 30))}};
}

QVariantMap appointment(const QString& subject, int state, qint64 parent = 0)
{
    return {{QStringLiteral("IsTask"), 0}, {QStringLiteral("Subject"), subject},
            {QStringLiteral("RecurrenceState"), state}, {QStringLiteral("ParentID"), parent},
            {QStringLiteral("StartDate"), at(DateTime::fromParts(2024, 5, 20, 9, 0))},
            {QStringLiteral("DueDate"), at(DateTime::fromParts(2024, 5, 20, 10, 0))}};
}

} // namespace

class TestRecordMaintenance : public QObject {
    Q_OBJECT
private slots:
    void syncCreatesTheMissingReminder();
    void syncNeedsHasReminder();
    void markTodayReminderTellsTheTopBar();
    void completeTaskIsNotMarked();
    void reminderDueOn_data();
    void reminderDueOn();
    void occurrenceAlive_data();
    void occurrenceAlive();
    void removeFromOccurrenceKeepsSeriesPattern();
    void removeFromMasterTaskDeletesBoth();
    void deleteMasterExceptions();
    void deleteOccurrenceOwnException();
    void seriesLinksAndOccurrenceState();
    void completionStates();
    void dueTests_data();
    void dueTests();
    void itemsAsText();
};

void TestRecordMaintenance::syncCreatesTheMissingReminder()
{
    test::ItemStore store(testNow());
    QVariantMap row = task(QStringLiteral("Report"));
    row[QStringLiteral("HasReminder")] = 1;
    const qint64 taskId = store.add(QStringLiteral("ITask"), row);
    store.reopen();

    QVERIFY(SyncModificationToReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));

    QCOMPARE(store.count(QStringLiteral("Reminders")), 1);
    const qint64 reminderId = store.value(QStringLiteral("SELECT ReminderID FROM ITask WHERE ITaskID = ?1"), {taskId}).toLongLong();
    QVERIFY(reminderId > 0);
    const QVariantList key{reminderId};
    QCOMPARE(store.value(QStringLiteral("SELECT ReminderMinutesBeforeStart FROM Reminders WHERE ReminderID = ?1"), key).toInt(), 15);
    const DateTime expected = DateTime::fromParts(2024, 5, 17, 9, 45);
    QCOMPARE(store.dateValue(QStringLiteral("SELECT ReminderTime FROM Reminders WHERE ReminderID = ?1"), key), expected);
    QCOMPARE(store.dateValue(QStringLiteral("SELECT ReminderNewTime FROM Reminders WHERE ReminderID = ?1"), key), expected);

    // Moving the item re-times the same row.
    store.tasks->edit();
    store.tasks->fieldByName(QStringLiteral("StartDate")).setDateTime(DateTime::fromParts(2024, 5, 18, 14, 0));
    QVERIFY(SyncModificationToReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));
    QCOMPARE(store.count(QStringLiteral("Reminders")), 1);
    QCOMPARE(store.dateValue(QStringLiteral("SELECT ReminderTime FROM Reminders WHERE ReminderID = ?1"), key),
             DateTime::fromParts(2024, 5, 18, 13, 45));
}

void TestRecordMaintenance::syncNeedsHasReminder()
{
    test::ItemStore store(testNow());
    store.add(QStringLiteral("ITask"), task(QStringLiteral("Quiet")));
    store.reopen();
    QVERIFY(!SyncModificationToReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));
    store.patterns->close();
    QVERIFY(!SyncModificationToReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));
    QCOMPARE(store.count(QStringLiteral("Reminders")), 0);
}

void TestRecordMaintenance::markTodayReminderTellsTheTopBar()
{
    test::ItemStore store(testNow());
    const qint64 reminderId = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 15, 9, 30, 5)));
    QVariantMap row = task(QStringLiteral("Call Ann"));
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = reminderId;
    store.add(QStringLiteral("ITask"), row);
    store.reopen();

    platform::WindowBusListener topBar;
    QVERIFY(topBar.listen(QStringLiteral("Velmora TopBar")));
    QSignalSpy received(&topBar, &platform::WindowBusListener::copyData);

    QVERIFY(MarkTodayReminder(store.tasks.get(), store.patterns.get(), store.reminders.get(), store.exceptions.get()));

    QCOMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toLongLong(), reminderId + 999999);
    QCOMPARE(CopyDataText(received.at(0).at(1).toByteArray()), QStringLiteral("9:30:5 Call Ann"));
    const QVariantList key{reminderId};
    QCOMPARE(store.value(QStringLiteral("SELECT IsTodayReminder FROM Reminders WHERE ReminderID = ?1"), key).toInt(), 1);
    QCOMPARE(store.value(QStringLiteral("SELECT HasNotified FROM Reminders WHERE ReminderID = ?1"), key).toInt(), 0);
    QCOMPARE(store.dateValue(QStringLiteral("SELECT ReminderNewTime FROM Reminders WHERE ReminderID = ?1"), key),
             DateTime::fromParts(2024, 5, 15, 9, 30, 5));
}

void TestRecordMaintenance::completeTaskIsNotMarked()
{
    test::ItemStore store(testNow());
    const qint64 reminderId = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 15, 9, 30)));
    QVariantMap row = task(QStringLiteral("Done already"));
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = reminderId;
    row[QStringLiteral("IsComplete")] = 1;
    store.add(QStringLiteral("ITask"), row);
    store.reopen();

    platform::WindowBusListener topBar;
    QVERIFY(topBar.listen(QStringLiteral("Velmora TopBar")));
    QSignalSpy received(&topBar, &platform::WindowBusListener::copyData);
    QVERIFY(!MarkTodayReminder(store.tasks.get(), store.patterns.get(), store.reminders.get(), store.exceptions.get()));
    QCOMPARE(received.size(), 0);
    QCOMPARE(store.value(QStringLiteral("SELECT IsTodayReminder FROM Reminders")).toInt(), 0);
}

void TestRecordMaintenance::reminderDueOn_data()
{
    QTest::addColumn<bool>("recurring");
    QTest::addColumn<int>("minutesBefore");
    QTest::addColumn<DateTime>("reminderTime");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<DateTime>("day");
    QTest::addColumn<bool>("due");
    const DateTime longAgo = DateTime::fromParts(2024, 1, 2, 9, 0);
    const DateTime sunday = DateTime::fromParts(2024, 5, 19);
    const DateTime monday = DateTime::fromParts(2024, 5, 20);
    QTest::addRow("a day's lead: due the Sunday before") << true << 1440 << longAgo << false << sunday << true;
    QTest::addRow("a day's lead: not on the Monday itself") << true << 1440 << longAgo << false << monday << false;
    QTest::addRow("no lead: due on the Monday") << true << 0 << longAgo << false << monday << true;
    QTest::addRow("no lead: not on Sunday") << true << 0 << longAgo << false << sunday << false;
    QTest::addRow("before the series starts") << true << 0 << longAgo << false << DateTime::fromParts(2024, 4, 29) << false;
    QTest::addRow("plain item on its reminder day") << false << 15 << DateTime::fromParts(2024, 5, 19, 23, 50) << false
                                                    << sunday << true;
    QTest::addRow("plain item on another day") << false << 15 << longAgo << false << sunday << false;
    QTest::addRow("complete item never") << true << 0 << monday << true << monday << false;
}

void TestRecordMaintenance::reminderDueOn()
{
    QFETCH(bool, recurring);
    QFETCH(int, minutesBefore);
    QFETCH(DateTime, reminderTime);
    QFETCH(bool, complete);
    QFETCH(DateTime, day);
    QFETCH(bool, due);
    test::ItemStore store(testNow());
    QVariantMap row = appointment(QStringLiteral("Standup"), recurring ? 1 : 0);
    row[QStringLiteral("IsRecurring")] = recurring ? 1 : 0;
    row[QStringLiteral("IRecurrencePatternID")] = store.add(QStringLiteral("IRecurrencePattern"), mondayPattern());
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = store.add(QStringLiteral("Reminders"), reminderRow(reminderTime, minutesBefore));
    row[QStringLiteral("IsComplete")] = complete ? 1 : 0;
    store.add(QStringLiteral("ITask"), row);
    store.reopen();

    QCOMPARE(IsReminderDueOn(store.appointments.get(), store.patterns.get(), store.reminders.get(), day), due);
}

void TestRecordMaintenance::occurrenceAlive_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("exceptionDayOffset"); // of the master's Exceptions row from today; -100 for none
    QTest::addColumn<bool>("exceptionDeleted");
    QTest::addColumn<DateTime>("when");
    QTest::addColumn<bool>("alive");
    const DateTime early = DateTime::fromParts(2024, 5, 15, 8, 0);
    const DateTime late = DateTime::fromParts(2024, 5, 15, 11, 0);
    QTest::addRow("plain item") << 0 << -100 << true << early << true;
    QTest::addRow("occurrence") << 2 << -100 << true << early << true;
    QTest::addRow("deleted occurrence") << 3 << -100 << true << early << false;
    QTest::addRow("changed occurrence before its reminder time") << 4 << -100 << true << early << true;
    QTest::addRow("changed occurrence after its reminder time") << 4 << -100 << true << late << false;
    QTest::addRow("master with no exception") << 1 << -100 << true << early << true;
    QTest::addRow("master with a deleted exception today") << 1 << 0 << true << early << false;
    QTest::addRow("master with an exception tomorrow") << 1 << 1 << true << early << true;
    // A changed occurrence hides the master's reminder on its day just as a deleted one does.
    QTest::addRow("master with a changed exception today") << 1 << 0 << false << early << false;
}

void TestRecordMaintenance::occurrenceAlive()
{
    QFETCH(int, state);
    QFETCH(int, exceptionDayOffset);
    QFETCH(bool, exceptionDeleted);
    QFETCH(DateTime, when);
    QFETCH(bool, alive);
    test::ItemStore store(testNow());
    QVariantMap row = appointment(QStringLiteral("Series"), state);
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 10, 9, 45)));
    const qint64 itemId = store.add(QStringLiteral("ITask"), row);
    if (exceptionDayOffset != -100)
        store.add(QStringLiteral("Exceptions"),
                  {{QStringLiteral("ITaskID"), itemId + 1}, {QStringLiteral("ParentID"), itemId},
                   {QStringLiteral("OriginalDate"),
                    at(testNow().datePart().addDays(exceptionDayOffset).addMinutes(9 * 60))},
                   {QStringLiteral("IsDeleted"), exceptionDeleted ? 1 : 0}});
    store.reopen();

    QCOMPARE(IsOccurrenceAlive(store.appointments.get(), store.reminders.get(), store.exceptions.get(), when), alive);
    QVERIFY(IsOccurrenceAlive(store.appointments.get(), store.reminders.get(), nullptr, when));
}

void TestRecordMaintenance::removeFromOccurrenceKeepsSeriesPattern()
{
    test::ItemStore store(testNow());
    const qint64 patternId = store.add(QStringLiteral("IRecurrencePattern"), mondayPattern());
    const qint64 masterId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Master"), 1));
    QVariantMap row = appointment(QStringLiteral("Occurrence"), 2, masterId);
    row[QStringLiteral("IsRecurring")] = 1;
    row[QStringLiteral("IRecurrencePatternID")] = patternId;
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 20, 8, 45)));
    const qint64 occurrenceId = store.add(QStringLiteral("ITask"), row);
    store.reopen();
    QVERIFY(store.appointments->locate(QStringLiteral("ITaskID"), occurrenceId));

    QVERIFY(RemoveRecurrenceAndReminder(store.appointments.get(), store.reminders.get(), store.patterns.get()));

    QCOMPARE(store.count(QStringLiteral("Reminders")), 0);
    QCOMPARE(store.count(QStringLiteral("IRecurrencePattern")), 1);
    const QVariantList key{occurrenceId};
    QCOMPARE(store.value(QStringLiteral("SELECT IRecurrencePatternID FROM ITask WHERE ITaskID = ?1"), key).toLongLong(), patternId);
    QCOMPARE(store.value(QStringLiteral("SELECT HasReminder FROM ITask WHERE ITaskID = ?1"), key).toInt(), 0);
    QVERIFY(!RemoveRecurrenceAndReminder(store.appointments.get(), store.reminders.get(), nullptr));
}

void TestRecordMaintenance::removeFromMasterTaskDeletesBoth()
{
    test::ItemStore store(testNow());
    QVariantMap row = task(QStringLiteral("Weekly report"));
    row[QStringLiteral("IsRecurring")] = 1;
    row[QStringLiteral("RecurrenceState")] = 1;
    row[QStringLiteral("IRecurrencePatternID")] = store.add(QStringLiteral("IRecurrencePattern"), mondayPattern());
    row[QStringLiteral("HasReminder")] = 1;
    row[QStringLiteral("ReminderID")] = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 20, 8, 45)));
    const qint64 taskId = store.add(QStringLiteral("ITask"), row);
    store.reopen();

    QVERIFY(RemoveRecurrenceAndReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));

    QCOMPARE(store.count(QStringLiteral("Reminders")), 0);
    QCOMPARE(store.count(QStringLiteral("IRecurrencePattern")), 0);
    QCOMPARE(store.value(QStringLiteral("SELECT IsRecurring + HasReminder + IRecurrencePatternID + ReminderID FROM ITask "
                                        "WHERE ITaskID = ?1"), {taskId}).toInt(), 0);
    // Nothing left to remove.
    QVERIFY(!RemoveRecurrenceAndReminder(store.tasks.get(), store.reminders.get(), store.patterns.get()));
}

void TestRecordMaintenance::deleteMasterExceptions()
{
    test::ItemStore store(testNow());
    const qint64 unrelated = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Other"), 0));
    const qint64 masterId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Master"), 1));
    const qint64 otherMaster = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Other master"), 1));
    for (int week = 1; week <= 2; ++week) {
        QVariantMap row = appointment(QStringLiteral("Occurrence"), week == 1 ? 2 : 4, masterId);
        row[QStringLiteral("HasReminder")] = 1;
        row[QStringLiteral("ReminderID")] = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 20, 8, 45)));
        const qint64 occurrenceId = store.add(QStringLiteral("ITask"), row);
        store.add(QStringLiteral("Exceptions"), {{QStringLiteral("ITaskID"), occurrenceId}, {QStringLiteral("ParentID"), masterId},
                                                 {QStringLiteral("OriginalDate"), at(DateTime::fromParts(2024, 5, 13 + 7 * week))}});
    }
    const qint64 keptOccurrence = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Kept"), 2, otherMaster));
    store.add(QStringLiteral("Exceptions"), {{QStringLiteral("ITaskID"), keptOccurrence}, {QStringLiteral("ParentID"), otherMaster},
                                             {QStringLiteral("OriginalDate"), at(DateTime::fromParts(2024, 5, 21))}});
    const qint64 keptReminder = store.add(QStringLiteral("Reminders"), reminderRow(DateTime::fromParts(2024, 5, 21, 8, 0)));
    store.reopen();
    QVERIFY(store.appointments->locate(QStringLiteral("ITaskID"), masterId));

    QVERIFY(DeleteAppointmentExceptions(store.appointments.get(), store.exceptions.get(), store.reminders.get()));

    QCOMPARE(store.appointments->fieldByName(QStringLiteral("ITaskID")).asInteger(), masterId);
    QCOMPARE(store.value(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE ParentID = ?1"), {masterId}).toInt(), 0);
    QCOMPARE(store.value(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE ITaskID IN (?1, ?2, ?3, ?4)"),
                         {unrelated, masterId, otherMaster, keptOccurrence}).toInt(), 4);
    QCOMPARE(store.value(QStringLiteral("SELECT group_concat(ParentID) FROM Exceptions")).toString(), QString::number(otherMaster));
    QCOMPARE(store.value(QStringLiteral("SELECT group_concat(ReminderID) FROM Reminders")).toString(), QString::number(keptReminder));
    QVERIFY(!store.exceptions->filtered());

    // A plain item has no occurrences to delete.
    QVERIFY(store.appointments->locate(QStringLiteral("ITaskID"), unrelated));
    QVERIFY(!DeleteAppointmentExceptions(store.appointments.get(), store.exceptions.get(), store.reminders.get()));
}

void TestRecordMaintenance::deleteOccurrenceOwnException()
{
    test::ItemStore store(testNow());
    const qint64 masterId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Master"), 1));
    const qint64 occurrenceId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Deleted one"), 3, masterId));
    store.add(QStringLiteral("Exceptions"), {{QStringLiteral("ITaskID"), occurrenceId}, {QStringLiteral("ParentID"), masterId},
                                             {QStringLiteral("IsDeleted"), 0}});
    store.add(QStringLiteral("Exceptions"), {{QStringLiteral("ITaskID"), occurrenceId}, {QStringLiteral("ParentID"), masterId},
                                             {QStringLiteral("IsDeleted"), 1}});
    store.reopen();
    QVERIFY(store.appointments->locate(QStringLiteral("ITaskID"), occurrenceId));

    QVERIFY(DeleteAppointmentExceptions(store.appointments.get(), store.exceptions.get(), store.reminders.get()));

    QCOMPARE(store.value(QStringLiteral("SELECT group_concat(IsDeleted) FROM Exceptions")).toString(), QStringLiteral("0"));
    QCOMPARE(store.count(QStringLiteral("ITask")), 2);
}

void TestRecordMaintenance::seriesLinksAndOccurrenceState()
{
    test::ItemStore store(testNow());
    const qint64 plainId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Plain"), 0));
    const qint64 masterId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Master"), 1));
    const qint64 occurrenceId = store.add(QStringLiteral("ITask"), appointment(QStringLiteral("Occurrence"), 2, masterId));
    store.add(QStringLiteral("Exceptions"), {{QStringLiteral("ITaskID"), occurrenceId}, {QStringLiteral("ParentID"), masterId},
                                             {QStringLiteral("IsDeleted"), 0}});
    store.reopen();
    DataSet* items = store.appointments.get();

    QVERIFY(items->locate(QStringLiteral("ITaskID"), plainId));
    QVERIFY(!HasSeriesLinks(items, store.exceptions.get()));
    QVERIFY(items->locate(QStringLiteral("ITaskID"), masterId));
    QVERIFY(HasSeriesLinks(items, store.exceptions.get()));
    QVERIFY(items->locate(QStringLiteral("ITaskID"), occurrenceId));
    QVERIFY(HasSeriesLinks(items, nullptr));

    SetOccurrenceState(items, store.exceptions.get(), 3);
    QCOMPARE(store.value(QStringLiteral("SELECT RecurrenceState FROM ITask WHERE ITaskID = ?1"), {occurrenceId}).toInt(), 3);
    QCOMPARE(store.value(QStringLiteral("SELECT IsDeleted FROM Exceptions")).toInt(), 1);
    SetOccurrenceState(items, store.exceptions.get(), 4);
    QCOMPARE(store.value(QStringLiteral("SELECT IsDeleted FROM Exceptions")).toInt(), 0);
}

void TestRecordMaintenance::completionStates()
{
    test::ItemStore store(testNow());
    QVariantMap row = task(QStringLiteral("Recurring chore"));
    row[QStringLiteral("IsRecurring")] = 1;
    row[QStringLiteral("RecurrenceState")] = 1;
    row[QStringLiteral("IRecurrencePatternID")] = store.add(QStringLiteral("IRecurrencePattern"), mondayPattern());
    row[QStringLiteral("HasReminder")] = 1;
    const qint64 taskId = store.add(QStringLiteral("ITask"), row);
    store.reopen();
    DataSet* tasks = store.tasks.get();
    const QString state = QStringLiteral("SELECT IsComplete || ',' || Status || ',' || PercentComplete || ',' || IsRecurring "
                                         "|| ',' || RecurrenceState || ',' || HasReminder || ',' || "
                                         "ifnull(DateCompleted, 'null') FROM ITask WHERE ITaskID = ?1");
    const DateTime completed = DateTime::fromParts(2024, 5, 14);

    SetTaskComplete(tasks, true, completed);
    QCOMPARE(store.value(state, {taskId}).toString(),
             QStringLiteral("1,2,100,0,0,0,") + QString::number(completed.toDays()));
    QVERIFY(IsCompletedTask(tasks));
    QVERIFY(!IsOpenOrCompletedToday(tasks));
    QVERIFY(!IsTaskActive(tasks, store.patterns.get()));

    QVERIFY(SetTaskInProgress(tasks, 40, true));
    QCOMPARE(store.value(state, {taskId}).toString(), QStringLiteral("0,1,40,1,1,0,null"));
    QVERIFY(IsOpenOrCompletedToday(tasks));
    QVERIFY(IsTaskActive(tasks, store.patterns.get()));
    QVERIFY(!IsYearlyPattern(tasks, store.patterns.get()));

    SetTaskComplete(tasks, false, testNow());
    QVERIFY(IsOpenOrCompletedToday(tasks));
    QVERIFY(ResetTaskComplete(tasks, false));
    QCOMPARE(store.value(state, {taskId}).toString(), QStringLiteral("0,0,0,1,1,0,null"));
    QVERIFY(!ResetTaskComplete(nullptr, false));
}

void TestRecordMaintenance::dueTests_data()
{
    QTest::addColumn<QVariant>("dueDate");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("overdue");
    QTest::addColumn<bool>("dueWithinWeek");
    QTest::addColumn<bool>("active");
    QTest::addRow("no due date") << QVariant() << false << false << false << true;
    QTest::addRow("due yesterday") << at(DateTime::fromParts(2024, 5, 14, 17, 0)) << false << true << false << false;
    QTest::addRow("due earlier today") << at(DateTime::fromParts(2024, 5, 15, 7, 0)) << false << false << true << true;
    QTest::addRow("due tomorrow") << at(DateTime::fromParts(2024, 5, 16, 9, 0)) << false << false << true << true;
    QTest::addRow("due in seven days") << at(DateTime::fromParts(2024, 5, 22)) << false << false << true << true;
    QTest::addRow("due in eight days") << at(DateTime::fromParts(2024, 5, 23)) << false << false << false << true;
    QTest::addRow("complete and late") << at(DateTime::fromParts(2024, 5, 1)) << true << false << false << false;
}

void TestRecordMaintenance::dueTests()
{
    QFETCH(QVariant, dueDate);
    QFETCH(bool, complete);
    QFETCH(bool, overdue);
    QFETCH(bool, dueWithinWeek);
    QFETCH(bool, active);
    test::ItemStore store(testNow());
    QVariantMap row = task(QStringLiteral("Due"));
    row[QStringLiteral("DueDate")] = dueDate;
    row[QStringLiteral("IsComplete")] = complete ? 1 : 0;
    store.add(QStringLiteral("ITask"), row);
    store.reopen();

    QCOMPARE(IsOverdue(store.tasks.get()), overdue);
    QCOMPARE(IsDueWithinWeek(store.tasks.get()), dueWithinWeek);
    QCOMPARE(IsTaskActive(store.tasks.get(), store.patterns.get()), active);
}

void TestRecordMaintenance::itemsAsText()
{
    test::ItemStore store(testNow());
    store.add(QStringLiteral("ITask"),
              {{QStringLiteral("IsTask"), 1}, {QStringLiteral("Subject"), QStringLiteral("Quarterly report")},
               {QStringLiteral("PlaceName"), QStringLiteral("Office")}, {QStringLiteral("Categories"), QStringLiteral("Business")},
               {QStringLiteral("Importance"), 2}, {QStringLiteral("ReminderInfo"), QStringLiteral("Reminder At 9:00")},
               {QStringLiteral("Status"), 1}, {QStringLiteral("PercentComplete"), 40}, {QStringLiteral("TotalWork"), 12.5},
               {QStringLiteral("ActualWork"), 4}, {QStringLiteral("Mileage"), QStringLiteral("30 km")},
               {QStringLiteral("BillingInformation"), QStringLiteral("Project 7")}, {QStringLiteral("Companies"), QStringLiteral("Acme")},
               {QStringLiteral("Body"), QStringLiteral("Numbers first.")}});
    store.reopen();

    QCOMPARE(FormatTaskAsText(store.tasks.get()),
             QStringLiteral("=================================\r\nSubject: Quarterly report\r\nLocation: Office\r\n"
                            "Categories: Business\r\n\r\nStart Date: \r\nDue Date: \r\nPriority: High\r\n\r\n"
                            "Reminder Information: Reminder At 9:00\r\n\r\nStatus: In Progress\r\nPercent Complete: 40% \r\n\r\n"
                            "Total Work: 12.5 hours\r\nActual Work: 4 hours\r\n\r\nMileage: 30 km\r\n"
                            "Billing Information: Project 7\r\nCompanies: Acme\r\n\r\nNumbers first."));

    QVariantMap meeting = appointment(QStringLiteral("Review"), 0);
    meeting[QStringLiteral("BusyStatus")] = 2;
    meeting[QStringLiteral("Body")] = QStringLiteral("Agenda attached.");
    store.add(QStringLiteral("ITask"), meeting);
    store.reopen();
    const DateTime start = DateTime::fromParts(2024, 5, 27, 9, 0);
    const QStringList lines = FormatAppointmentAsText(store.appointments.get(), start, start.addMinutes(60)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 16);
    QCOMPARE(lines.at(1), QStringLiteral("Subject: Review"));
    QVERIFY(lines.at(5).startsWith(QStringLiteral("Start: ")) && lines.at(5).endsWith(ShortTimeText(start)));
    QVERIFY(lines.at(6).startsWith(QStringLiteral("End: ")) && lines.at(6).endsWith(ShortTimeText(start.addMinutes(60))));
    QCOMPARE(lines.at(7), QStringLiteral("Show Time As: Busy"));
    QCOMPARE(lines.at(15), QStringLiteral("Agenda attached."));
    QCOMPARE(BusyStatusName(3), QStringLiteral("Out Of Office"));
    QCOMPARE(BusyStatusName(4), QString());
}

QTEST_MAIN(TestRecordMaintenance)
#include "tst_record_maintenance.moc"
