// Occurrence rows of a series on a real database: copies of tasks with their
// own reminder and pattern rows, occurrences made at the pattern's times,
// deletions, moves onto days that hold another occurrence, and completing
// a recurring task.

#include "datastore/database_schema.h"
#include "datastore/dataset.h"
#include "datastore/db_connection.h"
#include "datastore/general_handlers.h"
#include "datastore/mark_task_complete.h"
#include "datastore/occurrence_move.h"
#include "datastore/occurrence_rows.h"
#include "datastore/query_tags.h"
#include "datastore/schedule_event.h"
#include "datastore/series_rows.h"
#include "datastore/task_clone.h"
#include "tests/support/fake_clock.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QtTest>

#include <memory>

using namespace velmora;
using platform::DialogButton;
using platform::DialogButtons;

namespace {

DateTime at(int month, int day, int hour = 0, int minute = 0)
{
    return DateTime::fromParts(2024, month, day, hour, minute);
}

DateTime timeOfDay(int hour, int minute = 0)
{
    return DateTime::fromParts(1899, 12, 30, hour, minute);
}

// A database made as installing makes it, with the data module's four
// queries over it.
class SeriesStore {
public:
    SeriesStore()
    {
        m_path = m_sandbox.path() + QStringLiteral("/series.mdb");
        createDatabase(m_path);
        m_db = DbConnection::open(m_path);
    }

    DbConnection& db() { return *m_db; }

    // Opened after the rows of a test are written: the cursors read them once.
    void open(int itemTag = kTagAppointments)
    {
        items = query(QStringLiteral("SELECT * FROM ITask ORDER BY ITaskID"), itemTag, QStringLiteral("qryAppointments"));
        patterns = query(QStringLiteral("SELECT * FROM IRecurrencePattern"), kTagRecurrences, QStringLiteral("qryRecurrences"));
        reminders = query(QStringLiteral("SELECT * FROM Reminders"), kTagReminders, QStringLiteral("qryReminders"));
        exceptions = query(QStringLiteral("SELECT * FROM Exceptions ORDER BY ExceptionID"), kTagExceptions,
                           QStringLiteral("qryExceptions"));
    }

    // Weekly on the days of mask from startDay, StartTime/Duration as given.
    qint64 addPattern(int mask, DateTime startDay, DateTime startTime, int duration, DateTime endDay = {})
    {
        const bool noEnd = endDay.msecs() == 0;
        m_db->execute(QStringLiteral("INSERT INTO IRecurrencePattern (RecurrenceType, Interval, DayOfWeekMask, "
                                     "PatternStartDate, PatternEndDate, NoEndDate, EndType, Occurrences, StartTime, "
                                     "EndTime, Duration) VALUES (1, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {mask, startDay.toDays(), noEnd ? QVariant() : QVariant(endDay.toDays()), noEnd, noEnd ? 0 : 2,
                       noEnd ? 10 : 1, startTime.toDays(), startTime.addMinutes(duration).toDays(), duration});
        return m_db->lastInsertRowId();
    }

    qint64 addReminder()
    {
        m_db->execute(QStringLiteral("INSERT INTO Reminders (ReminderMinutesBeforeStart, ReminderMethod) VALUES (15, 1)"));
        return m_db->lastInsertRowId();
    }

    qint64 addItem(const QString& subject, DateTime start, DateTime due, int state = 0, qint64 pattern = 0,
                   qint64 reminder = 0, bool hasReminder = false, qint64 parent = 0, bool isTask = false)
    {
        m_db->execute(QStringLiteral("INSERT INTO ITask (Subject, StartDate, DueDate, RecurrenceState, IsRecurring, "
                                     "IRecurrencePatternID, ReminderID, HasReminder, ParentID, IsTask) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {subject, start.toDays(), due.toDays(), state, state != 0 || pattern != 0,
                       pattern ? QVariant(pattern) : QVariant(), reminder ? QVariant(reminder) : QVariant(),
                       hasReminder, parent, isTask});
        return m_db->lastInsertRowId();
    }

    void addException(qint64 task, qint64 parent, DateTime original, bool deleted)
    {
        m_db->execute(QStringLiteral("INSERT INTO Exceptions (ITaskID, ParentID, OriginalDate, IsDeleted) "
                                     "VALUES (?, ?, ?, ?)"),
                      {task, parent, original.toDays(), deleted});
    }

    QVariant value(const QString& sql, const QVariantList& values = {}) { return m_db->scalar(sql, values); }
    qint64 count(const QString& table) { return value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong(); }
    QVariant field(qint64 taskId, const QString& name)
    {
        return value(QStringLiteral("SELECT %1 FROM ITask WHERE ITaskID = ?").arg(name), {taskId});
    }
    DateTime dateField(qint64 taskId, const QString& name) { return DateTime::fromDays(field(taskId, name).toDouble()); }

    bool locate(qint64 taskId) { return items->locate(QStringLiteral("ITaskID"), taskId); }

    std::unique_ptr<DataSet> items, patterns, reminders, exceptions;

private:
    std::unique_ptr<DataSet> query(const QString& sql, int tag, const QString& name)
    {
        auto ds = std::make_unique<DataSet>(m_db.get());
        ds->setObjectName(name);
        ds->setTag(tag);
        ds->setSql(sql);
        AttachGeneralHandlers(*ds);
        ds->open();
        return ds;
    }

    test::Sandbox m_sandbox;
    QString m_path;
    std::unique_ptr<DbConnection> m_db;
};

// Mondays at 9:00 for an hour from 4 March 2024; the master row's own times
// (7:00 to 7:30) differ from its pattern's. The occurrence of 11 March was
// moved to 12 March; the one of 18 March deleted.
struct MondaySeries {
    explicit MondaySeries(SeriesStore& store)
    {
        pattern = store.addPattern(2, at(3, 4), timeOfDay(9), 60);
        reminder = store.addReminder();
        master = store.addItem(QStringLiteral("Team meeting"), at(3, 4, 7), at(3, 4, 7, 30), 1, pattern, reminder, true);
        changed = store.addItem(QStringLiteral("Team meeting"), at(3, 12, 14), at(3, 12, 15), 4, 0, 0, false, master);
        store.addException(changed, master, at(3, 11, 9), false);
        deleted = store.addItem(QStringLiteral("Team meeting"), at(3, 18, 9), at(3, 18, 10), 3, 0, 0, false, master);
        store.addException(deleted, master, at(3, 18, 9), true);
    }
    qint64 pattern = 0, reminder = 0, master = 0, changed = 0, deleted = 0;
};

ScheduleEvent occurrenceEvent(qint64 master, DateTime start, DateTime finish, DateTime original)
{
    ScheduleEvent event;
    event.taskId = master;
    event.caption = QStringLiteral("Team meeting");
    event.isRecurring = true;
    event.type = etOccurrence;
    event.start = start;
    event.finish = finish;
    event.originalStart = original;
    event.masterId = master;
    return event;
}

void verifyWarningBox(const platform::MessageBoxRequest& box, const QString& text, DialogButtons buttons)
{
    QCOMPARE(box.caption, QStringLiteral("Warning"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.icon, platform::DialogIcon::Warning);
    QVERIFY(box.topmost);
}

const QString kSameDayText = QStringLiteral("Two occurences of \"Team meeting\" cannot occur on the same day.");
const QString kDeletedDayQuestion = QStringLiteral(
    "You change the date of the occurence of \"Team meeting\", If you want to change the date of all the occurences, "
    "you must first open the appointment series. Do you want to change only this occurences?");

} // namespace

class TestOccurrences : public QObject {
    Q_OBJECT
private slots:
    void cloneTaskNeverSharesRows_data();
    void cloneTaskNeverSharesRows();
    void createOccurrenceRefuses_data();
    void createOccurrenceRefuses();
    void createOccurrenceUsesThePatternsTimes();
    void deletingOccurrencesLeavesDeletedRows();
    void moveOntoAnotherDay_data();
    void moveOntoAnotherDay();
    void dropOntoAnotherDay_data();
    void dropOntoAnotherDay();
    void completingMovesTheSeriesOn();
    void completingEndsAPlainTaskOrAFinishedSeries_data();
    void completingEndsAPlainTaskOrAFinishedSeries();

private:
    test::FakeClock m_clock{at(3, 1, 8)};
};

void TestOccurrences::cloneTaskNeverSharesRows_data()
{
    QTest::addColumn<bool>("hasReminder");
    QTest::addColumn<bool>("cloneFlags");
    QTest::addColumn<bool>("reminderCopied");
    QTest::addColumn<bool>("patternCopied");
    QTest::addRow("stale reminder key is let go") << false << true << false << true;
    QTest::addRow("reminder and pattern copied") << true << true << true << true;
    QTest::addRow("nothing copied, nothing shared") << true << false << false << false;
}

void TestOccurrences::cloneTaskNeverSharesRows()
{
    QFETCH(bool, hasReminder);
    QFETCH(bool, cloneFlags);
    QFETCH(bool, reminderCopied);
    QFETCH(bool, patternCopied);
    SeriesStore store;
    const qint64 pattern = store.addPattern(2, at(3, 4), timeOfDay(9), 60);
    const qint64 reminder = store.addReminder();
    const qint64 source = store.addItem(QStringLiteral("Standup"), at(3, 4, 9), at(3, 4, 10), 1, pattern, reminder,
                                        hasReminder, 0, true);
    store.open(kTagTasks);
    QVERIFY(store.locate(source));

    const qint64 copy = CloneTask(store.items.get(), store.patterns.get(), store.reminders.get(), cloneFlags, cloneFlags);
    QVERIFY(copy > source);
    QCOMPARE(store.items->fieldByName(QStringLiteral("ITaskID")).asInteger(), copy);
    QVERIFY(PrefixField(store.items.get(), QStringLiteral("Subject"), QStringLiteral("Copy Of ")));

    QCOMPARE(store.field(copy, QStringLiteral("Subject")).toString(), QStringLiteral("Copy Of Standup"));
    QCOMPARE(store.field(source, QStringLiteral("Subject")).toString(), QStringLiteral("Standup"));
    QCOMPARE(store.field(source, QStringLiteral("ReminderID")).toLongLong(), reminder);
    QCOMPARE(store.field(source, QStringLiteral("IRecurrencePatternID")).toLongLong(), pattern);
    QCOMPARE(store.count(QStringLiteral("Reminders")), reminderCopied ? 2 : 1);
    QCOMPARE(store.count(QStringLiteral("IRecurrencePattern")), patternCopied ? 2 : 1);

    const QVariant copyReminder = store.field(copy, QStringLiteral("ReminderID"));
    const QVariant copyPattern = store.field(copy, QStringLiteral("IRecurrencePatternID"));
    QCOMPARE(copyReminder.isNull(), !reminderCopied);
    QCOMPARE(copyPattern.isNull(), !patternCopied);
    if (patternCopied) {
        // Changing the copy's pattern leaves the source's as it was.
        QVERIFY(copyPattern.toLongLong() != pattern);
        QVERIFY(store.patterns->locate(QStringLiteral("IRecurrencePatternID"), copyPattern));
        store.patterns->edit();
        store.patterns->fieldByName(QStringLiteral("DayOfWeekMask")).setValue(8);
        store.patterns->post();
        const QString mask = QStringLiteral("SELECT DayOfWeekMask FROM IRecurrencePattern WHERE IRecurrencePatternID = ?");
        QCOMPARE(store.value(mask, {pattern}).toInt(), 2);
        QCOMPARE(store.value(mask, {copyPattern}).toInt(), 8);
    }
}

void TestOccurrences::createOccurrenceRefuses_data()
{
    QTest::addColumn<int>("rowState");
    QTest::addColumn<int>("state");
    QTest::addRow("plain item") << 0 << 4;
    QTest::addRow("materialised occurrence") << 2 << 4;
    QTest::addRow("deleted occurrence") << 3 << 3;
    QTest::addRow("changed occurrence") << 4 << 4;
    QTest::addRow("master, state 0") << 1 << 0;
    QTest::addRow("master, state 2") << 1 << 2;
    QTest::addRow("master, state 5") << 1 << 5;
}

void TestOccurrences::createOccurrenceRefuses()
{
    QFETCH(int, rowState);
    QFETCH(int, state);
    SeriesStore store;
    const qint64 pattern = store.addPattern(2, at(3, 4), timeOfDay(9), 60);
    const qint64 row = store.addItem(QStringLiteral("Team meeting"), at(3, 4, 9), at(3, 4, 10), rowState, pattern, 0,
                                     false, rowState >= 2 ? 99 : 0);
    store.open();
    QVERIFY(store.locate(row));
    QVERIFY(store.patterns->locate(QStringLiteral("IRecurrencePatternID"), pattern));

    QCOMPARE(CreateOccurrence(store.items.get(), store.exceptions.get(), store.patterns.get(), store.reminders.get(),
                              at(3, 11, 9), state),
             qint64(0));
    QCOMPARE(store.count(QStringLiteral("ITask")), 1);
    QCOMPARE(store.count(QStringLiteral("Exceptions")), 0);
}

void TestOccurrences::createOccurrenceUsesThePatternsTimes()
{
    SeriesStore store;
    const qint64 pattern = store.addPattern(2, at(3, 4), timeOfDay(14, 30), 90);
    const qint64 reminder = store.addReminder();
    const qint64 master = store.addItem(QStringLiteral("Review"), at(3, 4, 7), at(3, 4, 7, 30), 1, pattern, reminder, true);
    store.open();
    QVERIFY(store.locate(master));
    QVERIFY(store.patterns->locate(QStringLiteral("IRecurrencePatternID"), pattern));

    const DateTime original = at(3, 11, 7);
    const qint64 id = CreateOccurrence(store.items.get(), store.exceptions.get(), store.patterns.get(),
                                       store.reminders.get(), original, 4);
    QVERIFY(id > master);
    QCOMPARE(store.items->fieldByName(QStringLiteral("ITaskID")).asInteger(), id);
    QCOMPARE(store.dateField(id, QStringLiteral("StartDate")), at(3, 11, 14, 30));
    QCOMPARE(store.dateField(id, QStringLiteral("DueDate")), at(3, 11, 16));
    QCOMPARE(store.field(id, QStringLiteral("RecurrenceState")).toInt(), 4);
    QCOMPARE(store.field(id, QStringLiteral("ParentID")).toLongLong(), master);
    QCOMPARE(store.field(id, QStringLiteral("Subject")).toString(), QStringLiteral("Review"));
    QVERIFY(store.field(id, QStringLiteral("IsRecurring")).toBool());
    QVERIFY(store.field(id, QStringLiteral("IRecurrencePatternID")).isNull());
    // Its own copy of the master's reminder.
    const qint64 ownReminder = store.field(id, QStringLiteral("ReminderID")).toLongLong();
    QVERIFY(ownReminder != 0 && ownReminder != reminder);
    QCOMPARE(store.count(QStringLiteral("Reminders")), 2);

    const QList<QVariant> exception{
        store.value(QStringLiteral("SELECT ParentID FROM Exceptions WHERE ITaskID = ?"), {id}),
        store.value(QStringLiteral("SELECT OriginalDate FROM Exceptions WHERE ITaskID = ?"), {id}),
        store.value(QStringLiteral("SELECT IsDeleted FROM Exceptions WHERE ITaskID = ?"), {id}),
        store.value(QStringLiteral("SELECT IsArchived FROM Exceptions WHERE ITaskID = ?"), {id}),
    };
    QCOMPARE(exception[0].toLongLong(), master);
    QCOMPARE(DateTime::fromDays(exception[1].toDouble()), original);
    QCOMPARE(exception[2].toInt(), 0);
    QCOMPARE(exception[3].toInt(), 0);
    // The master keeps its own row as it was.
    QCOMPARE(store.dateField(master, QStringLiteral("StartDate")), at(3, 4, 7));
    QCOMPARE(store.field(master, QStringLiteral("RecurrenceState")).toInt(), 1);
}

void TestOccurrences::deletingOccurrencesLeavesDeletedRows()
{
    SeriesStore store;
    const qint64 pattern = store.addPattern(2, at(3, 4), timeOfDay(9), 60);
    const qint64 master = store.addItem(QStringLiteral("Team meeting"), at(3, 4, 9), at(3, 4, 10), 1, pattern);
    store.open();
    const auto deleteEvent = [&](const ScheduleEvent& event, bool occurrenceOnly) {
        return DeleteEventRows(store.items.get(), store.exceptions.get(), store.patterns.get(), store.reminders.get(),
                               &event, occurrenceOnly);
    };

    // The same computed occurrence deleted twice: two deleted rows, both for 11 March.
    const ScheduleEvent computed = occurrenceEvent(master, at(3, 11, 9), at(3, 11, 10), at(3, 11, 9));
    QVERIFY(deleteEvent(computed, true));
    QVERIFY(deleteEvent(computed, true));
    QCOMPARE(store.value(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE RecurrenceState = 3 AND ParentID = ? "
                                        "AND StartDate = ?"),
                         {master, at(3, 11, 9).toDays()})
                 .toInt(),
             2);
    QCOMPARE(store.value(QStringLiteral("SELECT COUNT(*) FROM Exceptions WHERE IsDeleted <> 0 AND ParentID = ? "
                                        "AND OriginalDate = ?"),
                         {master, at(3, 11, 9).toDays()})
                 .toInt(),
             2);
    QCOMPARE(SeriesOccurrenceOnDay(store.db().handle(), master, at(3, 11)), std::optional(etException));

    // A changed occurrence deleted becomes a deleted one, with its Exceptions row.
    QVERIFY(store.locate(master));
    QVERIFY(store.patterns->locate(QStringLiteral("IRecurrencePatternID"), pattern));
    const qint64 changed = CreateOccurrence(store.items.get(), store.exceptions.get(), store.patterns.get(),
                                            store.reminders.get(), at(3, 18, 9), 4);
    QVERIFY(changed != 0);
    ScheduleEvent changedEvent = occurrenceEvent(master, at(3, 18, 9), at(3, 18, 10), at(3, 18, 9));
    changedEvent.taskId = changed;
    changedEvent.type = etCustom;
    QVERIFY(deleteEvent(changedEvent, true));
    QCOMPARE(store.field(changed, QStringLiteral("RecurrenceState")).toInt(), 3);
    QCOMPARE(store.value(QStringLiteral("SELECT IsDeleted FROM Exceptions WHERE ITaskID = ?"), {changed}).toInt(), 1);

    // An event whose row is gone changes nothing.
    ScheduleEvent gone = changedEvent;
    gone.taskId = 9999;
    QVERIFY(deleteEvent(gone, true));
    QCOMPARE(store.count(QStringLiteral("ITask")), 4);

    // The whole series takes its occurrence rows and their Exceptions rows along.
    ScheduleEvent series = computed;
    series.type = etPattern;
    QVERIFY(deleteEvent(series, false));
    QCOMPARE(store.count(QStringLiteral("ITask")), 0);
    QCOMPARE(store.count(QStringLiteral("Exceptions")), 0);
    QVERIFY(!DeleteEventRows(store.items.get(), nullptr, nullptr, nullptr, nullptr, true));
}

void TestOccurrences::moveOntoAnotherDay_data()
{
    QTest::addColumn<int>("newDay"); // in March
    QTest::addColumn<DialogButton>("answer");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("box");
    QTest::addRow("onto a changed occurrence's day") << 11 << DialogButton::Yes << false << kSameDayText;
    QTest::addRow("onto a deleted occurrence's day, yes") << 18 << DialogButton::Yes << true << kDeletedDayQuestion;
    QTest::addRow("onto a deleted occurrence's day, no") << 18 << DialogButton::No << false << kDeletedDayQuestion;
    QTest::addRow("onto a free day") << 20 << DialogButton::Yes << true << QString();
    QTest::addRow("within its own day") << 4 << DialogButton::Yes << true << QString();
}

void TestOccurrences::moveOntoAnotherDay()
{
    QFETCH(int, newDay);
    QFETCH(DialogButton, answer);
    QFETCH(bool, allowed);
    QFETCH(QString, box);
    SeriesStore store;
    const MondaySeries series(store);
    store.open();
    QVERIFY(store.locate(series.master));
    test::ScriptedDialogs dialogs;
    dialogs.queueAnswers({answer});

    QCOMPARE(MoveRecurringEventToAnotherDay(store.items.get(), store.exceptions.get(), store.patterns.get(),
                                            store.reminders.get(), at(3, 4, 9), at(3, newDay, 15), at(3, newDay, 16), true),
             allowed);
    QCOMPARE(dialogs.shown().size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        verifyWarningBox(dialogs.shown().first(), box, DialogButtons::YesNo);

    // Without messages a changed occurrence's day is refused silently.
    dialogs.clear();
    QVERIFY(!MoveRecurringEventToAnotherDay(store.items.get(), store.exceptions.get(), store.patterns.get(),
                                            store.reminders.get(), at(3, 4, 9), at(3, 11, 9), at(3, 11, 10), false));
    QVERIFY(dialogs.shown().isEmpty());
}

void TestOccurrences::dropOntoAnotherDay_data()
{
    QTest::addColumn<DateTime>("start");
    QTest::addColumn<DateTime>("finish");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("box");
    QTest::addColumn<DialogButtons>("buttons");
    // The occurrence of 25 March is dragged.
    QTest::addRow("within its own day") << at(3, 25, 15) << at(3, 25, 16) << true << QString() << DialogButtons::Ok;
    QTest::addRow("onto a computed occurrence") << at(4, 1, 11) << at(4, 1, 12) << false << kSameDayText
                                                << DialogButtons::Ok;
    QTest::addRow("onto a changed occurrence") << at(3, 12, 8) << at(3, 12, 9) << false << kSameDayText
                                               << DialogButtons::Ok;
    QTest::addRow("onto a deleted occurrence") << at(3, 18, 8) << at(3, 18, 9) << true << kDeletedDayQuestion
                                               << DialogButtons::YesNo;
    QTest::addRow("onto a free day") << at(3, 27, 9) << at(3, 27, 10) << true << QString() << DialogButtons::Ok;
    QTest::addRow("spanning into a Monday") << at(3, 31, 22) << at(4, 1, 1) << false << kSameDayText
                                            << DialogButtons::Ok;
    QTest::addRow("ending at midnight before a Monday") << at(3, 31, 23) << at(4, 1) << true << QString()
                                                        << DialogButtons::Ok;
}

void TestOccurrences::dropOntoAnotherDay()
{
    QFETCH(DateTime, start);
    QFETCH(DateTime, finish);
    QFETCH(bool, accepted);
    QFETCH(QString, box);
    QFETCH(DialogButtons, buttons);
    SeriesStore store;
    const MondaySeries series(store);
    store.open();
    QVERIFY(store.locate(series.master));
    test::ScriptedDialogs dialogs;
    dialogs.queueAnswers({DialogButton::Yes});

    const ScheduleEvent before = occurrenceEvent(series.master, at(3, 25, 9), at(3, 25, 10), at(3, 25, 9));
    ScheduleEvent after = before;
    after.start = start;
    after.finish = finish;
    sqlite3* db = store.db().handle();
    const SeriesOccurrenceLookup lookup = [db](const ScheduleEvent& event, DateTime day) {
        return SeriesOccurrenceOnDay(db, event.masterId, day);
    };
    QCOMPARE(AcceptOccurrenceDrop(before, {after}, lookup, store.items.get(), store.exceptions.get(),
                                  store.patterns.get(), store.reminders.get()),
             accepted);
    QCOMPARE(dialogs.shown().size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        verifyWarningBox(dialogs.shown().first(), box, buttons);
}

void TestOccurrences::completingMovesTheSeriesOn()
{
    SeriesStore store;
    // Tuesdays from 5 March; the task runs from Sunday 9:00 to Tuesday 17:00.
    const qint64 pattern = store.addPattern(4, at(3, 5), timeOfDay(9), 60);
    const qint64 reminder = store.addReminder();
    const qint64 task = store.addItem(QStringLiteral("Report"), at(3, 3, 9), at(3, 5, 17), 1, pattern, reminder, true,
                                      0, true);
    store.open(kTagTasks);
    QVERIFY(store.locate(task));
    const DateTime completed = at(3, 5, 18);

    QVERIFY(MarkTaskComplete(store.items.get(), store.patterns.get(), store.reminders.get(), completed));
    QCOMPARE(store.count(QStringLiteral("ITask")), 2);
    const qint64 copy = store.value(QStringLiteral("SELECT MAX(ITaskID) FROM ITask")).toLongLong();
    QVERIFY(copy != task);

    // The completed copy of this instance, with rows of its own.
    QCOMPARE(store.field(copy, QStringLiteral("Subject")).toString(), QStringLiteral("Report"));
    QVERIFY(store.field(copy, QStringLiteral("IsComplete")).toBool());
    QCOMPARE(store.dateField(copy, QStringLiteral("DateCompleted")), completed);
    QCOMPARE(store.field(copy, QStringLiteral("PercentComplete")).toInt(), 100);
    QCOMPARE(store.field(copy, QStringLiteral("Status")).toInt(), 2);
    QVERIFY(!store.field(copy, QStringLiteral("IsRecurring")).toBool());
    QCOMPARE(store.field(copy, QStringLiteral("RecurrenceState")).toInt(), 0);
    QCOMPARE(store.dateField(copy, QStringLiteral("StartDate")), at(3, 3, 9));
    QCOMPARE(store.dateField(copy, QStringLiteral("DueDate")), at(3, 5, 17));
    const qint64 copyPattern = store.field(copy, QStringLiteral("IRecurrencePatternID")).toLongLong();
    const qint64 copyReminder = store.field(copy, QStringLiteral("ReminderID")).toLongLong();
    QVERIFY(copyPattern != 0 && copyPattern != pattern);
    QVERIFY(copyReminder != 0 && copyReminder != reminder);

    // The series moved on to the next Tuesday, its start two days before it.
    QCOMPARE(store.dateField(task, QStringLiteral("DueDate")), at(3, 12));
    QCOMPARE(store.dateField(task, QStringLiteral("StartDate")), at(3, 10));
    QVERIFY(!store.field(task, QStringLiteral("IsComplete")).toBool());
    QVERIFY(store.field(task, QStringLiteral("DateCompleted")).isNull());
    QCOMPARE(store.field(task, QStringLiteral("PercentComplete")).toInt(), 0);
    QCOMPARE(store.field(task, QStringLiteral("Status")).toInt(), 0);
    QVERIFY(store.field(task, QStringLiteral("IsRecurring")).toBool());
    QCOMPARE(store.field(task, QStringLiteral("RecurrenceState")).toInt(), 1);
    QCOMPARE(store.field(task, QStringLiteral("IRecurrencePatternID")).toLongLong(), pattern);
    QCOMPARE(store.field(task, QStringLiteral("ReminderID")).toLongLong(), reminder);
}

void TestOccurrences::completingEndsAPlainTaskOrAFinishedSeries_data()
{
    QTest::addColumn<bool>("series");
    QTest::addRow("plain task") << false;
    QTest::addRow("series past its last occurrence") << true;
}

void TestOccurrences::completingEndsAPlainTaskOrAFinishedSeries()
{
    QFETCH(bool, series);
    SeriesStore store;
    // A single Tuesday, 5 March: there is nothing after it.
    const qint64 pattern = series ? store.addPattern(4, at(3, 5), timeOfDay(9), 60, at(3, 5)) : 0;
    const qint64 task = store.addItem(QStringLiteral("Report"), at(3, 3, 9), at(3, 5, 17), series ? 1 : 0, pattern, 0,
                                      false, 0, true);
    store.open(kTagTasks);
    QVERIFY(store.locate(task));

    QVERIFY(MarkTaskComplete(store.items.get(), store.patterns.get(), store.reminders.get(), at(3, 5, 18)));
    QCOMPARE(store.count(QStringLiteral("ITask")), 1);
    QCOMPARE(store.count(QStringLiteral("IRecurrencePattern")), series ? 1 : 0);
    QVERIFY(store.field(task, QStringLiteral("IsComplete")).toBool());
    QCOMPARE(store.dateField(task, QStringLiteral("DateCompleted")), at(3, 5, 18));
    QVERIFY(!store.field(task, QStringLiteral("IsRecurring")).toBool());
    QCOMPARE(store.field(task, QStringLiteral("RecurrenceState")).toInt(), 0);
    QCOMPARE(store.dateField(task, QStringLiteral("DueDate")), at(3, 5, 17));
}

QTEST_MAIN(TestOccurrences)
#include "tst_occurrences.moc"
