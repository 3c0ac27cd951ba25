// The reminder information text: the due text, the rule and range of a
// series, the reminder's parts in their fixed order, and its storing on post.

#include "datastore/post_edition.h"
#include "datastore/post_handlers.h"
#include "datastore/reminder_info.h"
#include "foundation/date_texts.h"
#include "foundation/locale_snapshot.h"
#include "foundation/registry_key.h"
#include "foundation/settings_keys.h"
#include "tests/datastore/item_store_fixture.h"

#include <QtTest>

using namespace velmora;

namespace {

// Wednesday 15 May 2024, 8:00.
DateTime testNow()
{
    return DateTime::fromParts(2024, 5, 15, 8, 0);
}

DateTime patternStart()
{
    return DateTime::fromParts(2024, 5, 1);
}

QString shortDate(DateTime value)
{
    return LocaleSnapshot::current().toString(value.date(), QLocale::ShortFormat);
}

QVariantMap pattern(int type, int interval, int mask = 0, int dayOfMonth = 1, int instance = 1, int month = 1)
{
    return {{QStringLiteral("RecurrenceType"), type},      {QStringLiteral("Interval"), interval},
            {QStringLiteral("DayOfWeekMask"), mask},       {QStringLiteral("DayOfMonth"), dayOfMonth},
            {QStringLiteral("Instance"), instance},        {QStringLiteral("MonthOfYear"), month},
            {QStringLiteral("PatternStartDate"), QVariant::fromValue(patternStart())},
            {QStringLiteral("NoEndDate"), 1},
            {QStringLiteral("StartTime"), QVariant::fromValue(DateTime::fromParts(1899, 12, 30, 9, 0))},
            {QStringLiteral("EndTime"), QVariant::fromValue(DateTime::fromParts(1899, 12, 30, 10, 0))},
            {QStringLiteral("Duration"), 60}};
}

QVariantMap seriesItem(bool isTask, qint64 patternId, bool allDay = true)
{
    return {{QStringLiteral("IsTask"), isTask ? 1 : 0},      {QStringLiteral("Subject"), QStringLiteral("Series")},
            {QStringLiteral("IsRecurring"), 1},              {QStringLiteral("RecurrenceState"), 1},
            {QStringLiteral("IRecurrencePatternID"), patternId}, {QStringLiteral("IsAllDayEvent"), allDay ? 1 : 0},
            {QStringLiteral("StartDate"), QVariant::fromValue(patternStart().addMinutes(9 * 60))}};
}

} // namespace

class TestReminderInfo : public QObject {
    Q_OBJECT
private slots:
    void init() { m_locale = std::make_unique<LocaleSnapshot::Override>(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { m_locale.reset(); }

    void dueTextOfRecurringTask_data();
    void dueTextOfRecurringTask();
    void ruleTextOfEachRecurrenceType_data();
    void ruleTextOfEachRecurrenceType();
    void timedSeriesWithEndShowsRangeAndTimes();
    void onlySeriesMastersHaveRecurrenceText_data();
    void onlySeriesMastersHaveRecurrenceText();
    void reminderHintPartsInOrder_data();
    void reminderHintPartsInOrder();
    void reminderInfoJoinsBothPartsAndIsStoredOnPost();

private:
    std::unique_ptr<LocaleSnapshot::Override> m_locale;
};

void TestReminderInfo::dueTextOfRecurringTask_data()
{
    QTest::addColumn<int>("dueInDays");
    QTest::addColumn<QString>("dueText");
    QTest::addRow("due tomorrow") << 1 << "Due tomorrow.";
    QTest::addRow("due three days ago") << -3 << "Overdue by 3 days.";
    QTest::addRow("due in two days") << 2 << "Due in 2 days.";
    QTest::addRow("due today") << 0 << "Due today.";
    QTest::addRow("due yesterday") << -1 << "Due yesterday.";
}

void TestReminderInfo::dueTextOfRecurringTask()
{
    QFETCH(int, dueInDays);
    QFETCH(QString, dueText);
    test::ItemStore store(testNow());
    QVariantMap task = seriesItem(true, store.add(QStringLiteral("IRecurrencePattern"), pattern(0, 1)));
    task[QStringLiteral("DueDate")] = QVariant::fromValue(testNow().addDays(dueInDays).addMinutes(90));
    store.add(QStringLiteral("ITask"), task);
    store.reopen();

    QCOMPARE(GetHintOfRecurrence(store.tasks.get(), store.patterns.get()),
             dueText + QStringLiteral(" Starts every day effective ") + shortDate(patternStart()));
}

void TestReminderInfo::ruleTextOfEachRecurrenceType_data()
{
    QTest::addColumn<QVariantMap>("patternRow");
    QTest::addColumn<QString>("ruleText");
    const int monday = 2, wednesday = 8, thursday = 16, friday = 32;
    QTest::addRow("daily") << pattern(0, 1) << "Occurs every day";
    QTest::addRow("every 3 days") << pattern(0, 3) << "Occurs every 3 days";
    QTest::addRow("daily every weekday") << pattern(0, 0, 62) << "Occurs every weekday";
    QTest::addRow("weekly") << pattern(1, 1, monday | wednesday) << "Occurs every Monday, Wednesday";
    QTest::addRow("weekly every weekday") << pattern(1, 0, 62) << "Occurs every weekday";
    QTest::addRow("every 2 weeks on Monday and Wednesday")
        << pattern(1, 2, monday | wednesday) << "Occurs every 2 weeks on Monday, Wednesday";
    QTest::addRow("monthly by day") << pattern(2, 1, 0, 15) << "Occurs day 15 of every month";
    QTest::addRow("every 3 months by day") << pattern(2, 3, 0, 15) << "Occurs day 15 of every 3 months";
    QTest::addRow("monthly by weekday") << pattern(3, 1, friday, 1, 2) << "Occurs the second Friday of every month";
    QTest::addRow("last day every 2 months") << pattern(3, 2, 127, 1, 5) << "Occurs the last Day of every 2 months";
    QTest::addRow("yearly by day") << pattern(5, 1, 0, 4, 1, 7) << "Occurs every July 4";
    QTest::addRow("yearly by weekday") << pattern(6, 1, thursday, 1, 4, 11) << "Occurs the fourth Thursday of November";
    QTest::addRow("unknown type has no rule") << pattern(4, 1) << "";
}

// All-day appointments: the range has no times, so the rule stands alone before it.
void TestReminderInfo::ruleTextOfEachRecurrenceType()
{
    QFETCH(QVariantMap, patternRow);
    QFETCH(QString, ruleText);
    test::ItemStore store(testNow());
    store.add(QStringLiteral("ITask"), seriesItem(false, store.add(QStringLiteral("IRecurrencePattern"), patternRow)));
    store.reopen();

    const QString range = QStringLiteral("effective ") + shortDate(patternStart());
    QCOMPARE(GetHintOfRecurrence(store.appointments.get(), store.patterns.get()),
             ruleText.isEmpty() ? range : ruleText + QLatin1Char(' ') + range);
}

void TestReminderInfo::timedSeriesWithEndShowsRangeAndTimes()
{
    test::ItemStore store(testNow());
    QVariantMap row = pattern(0, 2);
    row[QStringLiteral("NoEndDate")] = 0;
    row[QStringLiteral("PatternEndDate")] = QVariant::fromValue(DateTime::fromParts(2024, 6, 30));
    store.add(QStringLiteral("ITask"), seriesItem(false, store.add(QStringLiteral("IRecurrencePattern"), row), false));
    store.reopen();

    QCOMPARE(GetHintOfRecurrence(store.appointments.get(), store.patterns.get()),
             QStringLiteral("Occurs every 2 days effective ") + shortDate(patternStart()) + QStringLiteral(" until ")
                 + store.patterns->fieldByName(QStringLiteral("PatternEndDate")).asString() + QStringLiteral(" from ")
                 + ShortTimeText(DateTime::fromParts(2024, 1, 1, 9, 0)) + QStringLiteral(" to ")
                 + ShortTimeText(DateTime::fromParts(2024, 1, 1, 10, 0)));
}

void TestReminderInfo::onlySeriesMastersHaveRecurrenceText_data()
{
    QTest::addColumn<int>("isRecurring");
    QTest::addColumn<int>("recurrenceState");
    QTest::addColumn<bool>("patternExists");
    QTest::addRow("not recurring") << 0 << 0 << true;
    QTest::addRow("occurrence of a series") << 1 << 2 << true;
    QTest::addRow("pattern row gone") << 1 << 1 << false;
}

void TestReminderInfo::onlySeriesMastersHaveRecurrenceText()
{
    QFETCH(int, isRecurring);
    QFETCH(int, recurrenceState);
    QFETCH(bool, patternExists);
    test::ItemStore store(testNow());
    const qint64 patternId = store.add(QStringLiteral("IRecurrencePattern"), pattern(0, 1));
    QVariantMap item = seriesItem(false, patternExists ? patternId : patternId + 100);
    item[QStringLiteral("IsRecurring")] = isRecurring;
    item[QStringLiteral("RecurrenceState")] = recurrenceState;
    store.add(QStringLiteral("ITask"), item);
    store.reopen();

    QCOMPARE(GetHintOfRecurrence(store.appointments.get(), store.patterns.get()), QString());
}

void TestReminderInfo::reminderHintPartsInOrder_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("behavior");
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("expectedParts");
    QTest::addRow("every method and a forced power off")
        << (64 | 32 | 16 | 8 | 4 | 2 | 1) << 6 << "chime.wav"
        << "Pop up a MSN Message Box; Read the notification content; Popup an agent: owl.acs; "
           "Send mail to ann@example.org; Play chime.wav; Execute /usr/bin/backup; Make computer power off by force. ";
    QTest::addRow("blank media plays nothing") << 16 << 0 << "   " << "";
    QTest::addRow("message box and safe log off") << 64 << 1 << "" << "Pop up a MSN Message Box; Make computer log off safely. ";
    QTest::addRow("mail and shutdown by force")
        << 8 << 8 << "" << "Send mail to ann@example.org; Make computer shutdown by force. ";
    QTest::addRow("unknown behavior adds nothing") << 2 << 9 << "" << "Read the notification content; ";
}

void TestReminderInfo::reminderHintPartsInOrder()
{
    QFETCH(int, method);
    QFETCH(int, behavior);
    QFETCH(QString, media);
    QFETCH(QString, expectedParts);
    test::ItemStore store(testNow());
    {
        RegistryKey key;
        QVERIFY(key.openKey(QString::fromLatin1(kAgentsInformationKey), true));
        key.writeString(QStringLiteral("Character2"), QStringLiteral("/opt/agents/owl.acs"));
    }
    const DateTime at = DateTime::fromParts(2024, 5, 16, 8, 45);
    const qint64 reminderId = store.add(
        QStringLiteral("Reminders"),
        {{QStringLiteral("ReminderTime"), QVariant::fromValue(at)}, {QStringLiteral("ReminderNewTime"), QVariant::fromValue(at)},
         {QStringLiteral("ReminderMethod"), method}, {QStringLiteral("Behavior"), behavior},
         {QStringLiteral("AgentChar"), 1}, {QStringLiteral("ReminderMedia"), media},
         {QStringLiteral("RecipientsTo"), QStringLiteral("ann@example.org")},
         {QStringLiteral("ApplicationPath"), QStringLiteral("/usr/bin/backup")}});
    store.add(QStringLiteral("ITask"), {{QStringLiteral("IsTask"), 1}, {QStringLiteral("Subject"), QStringLiteral("Pay")},
                                        {QStringLiteral("HasReminder"), 1}, {QStringLiteral("ReminderID"), reminderId}});
    store.reopen();

    QCOMPARE(GetReminderHint(store.tasks.get(), store.reminders.get(), false),
             QStringLiteral("Reminder At ") + ShortTimeText(at) + QStringLiteral("; ") + expectedParts);
    QCOMPARE(GetReminderHint(store.tasks.get(), store.reminders.get(), true),
             QStringLiteral("Reminder At ") + shortDate(at) + QLatin1Char(' ') + ShortTimeText(at) + QStringLiteral("; ")
                 + expectedParts);
}

// A series gives the rule, then the reminder at its time of day; a plain
// item's reminder names its date as well. A post stores the text.
void TestReminderInfo::reminderInfoJoinsBothPartsAndIsStoredOnPost()
{
    test::ItemStore store(testNow());
    const DateTime at = DateTime::fromParts(2024, 5, 15, 8, 45);
    const qint64 reminderId = store.add(QStringLiteral("Reminders"),
                                        {{QStringLiteral("ReminderTime"), QVariant::fromValue(at)},
                                         {QStringLiteral("ReminderNewTime"), QVariant::fromValue(at)},
                                         {QStringLiteral("ReminderMethod"), 1}});
    QVariantMap series = seriesItem(false, store.add(QStringLiteral("IRecurrencePattern"), pattern(0, 1)));
    series[QStringLiteral("HasReminder")] = 1;
    series[QStringLiteral("ReminderID")] = reminderId;
    const qint64 seriesId = store.add(QStringLiteral("ITask"), series);
    store.reopen();

    const QString rule = QStringLiteral("Occurs every day effective ") + shortDate(patternStart());
    const QString timeOnly = QStringLiteral("Reminder At ") + ShortTimeText(at) + QStringLiteral("; ");
    QCOMPARE(GetReminderInfo(store.appointments.get(), store.patterns.get(), store.reminders.get()),
             rule + QStringLiteral("\r\n") + timeOnly);
    QCOMPARE(GetReminderInfo(store.appointments.get(), store.patterns.get(), nullptr), QString());

    InstallReminderInfoProvider(store.patterns.get(), store.reminders.get());
    store.appointments->edit();
    store.appointments->fieldByName(QStringLiteral("IsRecurring")).setValue(false);
    const bool posted = PostEdition(store.appointments.get());
    setReminderInfoProvider({});
    QVERIFY(posted);
    QCOMPARE(store.value(QStringLiteral("SELECT ReminderInfo FROM ITask WHERE ITaskID = ?1"), {seriesId}).toString(),
             QStringLiteral("Reminder At ") + shortDate(at) + QLatin1Char(' ') + ShortTimeText(at) + QStringLiteral("; "));
}

QTEST_MAIN(TestReminderInfo)
#include "tst_reminder_info.moc"
