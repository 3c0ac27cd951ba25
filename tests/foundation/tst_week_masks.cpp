// Weekday masks: building and testing them, their names, and the n-th
// marked day of a month with month ends and masks of several days.

#include "foundation/clock.h"
#include "foundation/week_masks.h"

#include <QTest>

using namespace velmora;

namespace {

DateTime date(int year, int month, int day)
{
    return DateTime::fromParts(year, month, day);
}

} // namespace

class TestWeekMasks : public QObject {
    Q_OBJECT

private slots:
    void weekMaskText_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("recurrenceType");
        QTest::addColumn<QString>("text");

        const QString allDays = QStringLiteral("Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday");
        QTest::addRow("Sunday") << 1 << 1 << "Sunday";
        QTest::addRow("Saturday") << 64 << 1 << "Saturday";
        QTest::addRow("two days") << 10 << 1 << "Monday, Wednesday";
        QTest::addRow("weekday") << 62 << 1 << "weekday";
        QTest::addRow("weekday by weekday type") << 62 << 3 << "weekday";
        QTest::addRow("weekend day") << 65 << 6 << "weekend day";
        QTest::addRow("Sunday to Friday") << 63 << 1
                                          << "Sunday, Monday, Tuesday, Wednesday, Thursday, Friday";
        QTest::addRow("none") << 0 << 1 << "";
        QTest::addRow("every day weekly") << 127 << 1 << allDays;
        QTest::addRow("every day monthly by day") << 127 << 2 << allDays;
        QTest::addRow("every day monthly by weekday") << 127 << 3 << "Day";
        QTest::addRow("every day yearly by weekday") << 127 << 6 << "Day";
        QTest::addRow("128 not a mask") << 128 << 3 << "";
        QTest::addRow("200 not a mask") << 200 << 1 << "";
        QTest::addRow("negative not a mask") << -1 << 1 << "";
    }
    void weekMaskText()
    {
        QFETCH(int, mask);
        QFETCH(int, recurrenceType);
        QFETCH(QString, text);
        QCOMPARE(WeekMaskText(mask, recurrenceType), text);
    }

    void maskOfDaysMatchesDayInMask()
    {
        for (int mask = 0; mask < 128; ++mask) {
            bool day[7];
            for (int bit = 0; bit < 7; ++bit)
                day[bit] = mask & (1 << bit);
            QCOMPARE(WeekMaskOfDays(day[0], day[1], day[2], day[3], day[4], day[5], day[6]), mask);
            for (int weekday = 1; weekday <= 7; ++weekday)
                QCOMPARE(IsDayInMask(mask, weekday), day[weekday - 1]);
            QVERIFY(!IsDayInMask(mask, 0));
            QVERIFY(!IsDayInMask(mask, 8));
        }
    }

    void dayMasks()
    {
        QCOMPARE(DayMask(date(2024, 6, 2)), 1);  // Sunday
        QCOMPARE(DayMask(date(2024, 6, 5)), 8);  // Wednesday
        QCOMPARE(DayMask(date(2024, 6, 8)), 64); // Saturday
        QCOMPARE(DayMask(DateTime::fromParts(2024, 6, 8, 23, 59)), 64);

        ManualClock clock(DateTime::fromParts(2024, 6, 6, 9, 15)); // Thursday
        Clock::install(&clock);
        const int mask = TodayMask();
        Clock::install(nullptr);
        QCOMPARE(mask, 16);
    }

    void nthDayOfMonth_data()
    {
        QTest::addColumn<int>("instance");
        QTest::addColumn<int>("mask");
        QTest::addColumn<DateTime>("day");
        QTest::addColumn<bool>("expected");

        // June 2024: the 1st is a Saturday, the 30th a Sunday; 30 days.
        QTest::addRow("first Monday") << 1 << 2 << date(2024, 6, 3) << true;
        QTest::addRow("second Monday is not first") << 1 << 2 << date(2024, 6, 10) << false;
        QTest::addRow("first weekend day on the 1st") << 1 << 65 << date(2024, 6, 1) << true;
        QTest::addRow("second weekday") << 2 << 62 << date(2024, 6, 4) << true;
        QTest::addRow("first weekday is not second") << 2 << 62 << date(2024, 6, 3) << false;
        QTest::addRow("fourth Sunday") << 4 << 1 << date(2024, 6, 23) << true;
        QTest::addRow("last Sunday on the last day") << 5 << 1 << date(2024, 6, 30) << true;
        QTest::addRow("fourth Sunday is not last") << 5 << 1 << date(2024, 6, 23) << false;
        QTest::addRow("last weekday before a weekend end") << 5 << 62 << date(2024, 6, 28) << true;
        QTest::addRow("unmarked last day") << 5 << 62 << date(2024, 6, 30) << false;
        QTest::addRow("last day of month") << 5 << 127 << date(2024, 6, 30) << true;
        // Next month's first days must not count as this month's 29th-31st.
        QTest::addRow("last Monday, July 1st a Monday") << 5 << 2 << date(2024, 6, 24) << true;
        QTest::addRow("last Wednesday of February, March 1st a Wednesday") << 5 << 8 << date(2023, 2, 22) << true;
        QTest::addRow("last Thursday on leap day") << 5 << 16 << date(2024, 2, 29) << true;
        QTest::addRow("third of Monday or Wednesday") << 3 << 10 << date(2024, 6, 10) << true;
        QTest::addRow("fourth of Monday or Wednesday") << 4 << 10 << date(2024, 6, 12) << true;
        QTest::addRow("third is not fourth") << 3 << 10 << date(2024, 6, 12) << false;
        QTest::addRow("fourth of Tuesday or Thursday") << 4 << 20 << date(2024, 6, 13) << true;
        QTest::addRow("time of day ignored") << 1 << 2 << DateTime::fromParts(2024, 6, 3, 17, 45) << true;
        QTest::addRow("empty mask") << 1 << 0 << date(2024, 6, 3) << false;
        QTest::addRow("instance 0") << 0 << 127 << date(2024, 6, 1) << false;
        QTest::addRow("no sixth Monday") << 6 << 2 << date(2024, 6, 24) << false;
        QTest::addRow("weekday not in mask") << 1 << 2 << date(2024, 6, 4) << false;
    }
    void nthDayOfMonth()
    {
        QFETCH(int, instance);
        QFETCH(int, mask);
        QFETCH(DateTime, day);
        QFETCH(bool, expected);
        QCOMPARE(IsNthDayOfMonthByWeekMask(instance, mask, day), expected);
    }
};

QTEST_MAIN(TestWeekMasks)
#include "tst_week_masks.moc"
