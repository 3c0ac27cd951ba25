// The recurrence engine: which days a series takes for every kind of
// pattern, how it ends, how the pattern questions of the dialogs answer, and
// that "is this day an occurrence" agrees with the expanded series.

#include "datastore/occurrence_calculator.h"
#include "datastore/query_tags.h"
#include "datastore/recurrence_engine.h"
#include "datastore/recurrence_info.h"
#include "foundation/comm_settings.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/debug_capture.h"
#include "tests/support/fake_clock.h"

#include <QRandomGenerator>
#include <QtTest>

#include <ctime>
#include <set>

using namespace velmora;

namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;

DateTime day(const QDate& date)
{
    return DateTime::fromDate(date);
}

struct PatternRow {
    int type = 0;
    int interval = 1;
    int mask = 127;
    int dayOfMonth = 1;
    int instance = 1;
    int month = 1;
    QDate start;
    int occurrences = 0; // 0: no end
    QDate endDate;       // invalid: none
    bool regenerate = false;
};

RecurrencePattern makePattern(const PatternRow& row)
{
    RecurrencePattern pattern;
    pattern.recurrenceType = row.type;
    pattern.interval = row.interval;
    pattern.dayOfWeekMask = row.mask;
    pattern.dayOfMonth = row.dayOfMonth;
    pattern.instance = row.instance;
    pattern.monthOfYear = row.month;
    pattern.patternStartDate = day(row.start);
    pattern.noEndDate = row.occurrences == 0 && !row.endDate.isValid();
    pattern.occurrences = row.occurrences > 0 ? row.occurrences : 999999;
    if (row.endDate.isValid())
        pattern.patternEndDate = day(row.endDate);
    pattern.startTime = DateTime::fromParts(1899, 12, 30, 9, 0);
    pattern.endTime = DateTime::fromParts(1899, 12, 30, 10, 0);
    pattern.duration = 60;
    pattern.regenerate = row.regenerate;
    return pattern;
}

QStringList startDays(const std::vector<Occurrence>& occurrences)
{
    QStringList days;
    for (const Occurrence& occurrence : occurrences)
        days << occurrence.start.date().toString(Qt::ISODate);
    return days;
}

} // namespace

Q_DECLARE_METATYPE(PatternRow)

class TestRecurrenceEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void expandSeries_data();
    void expandSeries();
    void indicesAfterJumpingToAFarWindow();
    void wallClockTimesAcrossDaylightSaving();
    void allDayOccurrencesCoverWholeDays();
    void isOccurrenceOn_data();
    void isOccurrenceOn();
    void occurrenceTestAgreesWithExpansion();
    void seriesDescription_data();
    void seriesDescription();
    void configuredFirstDayOfWeek_data();
    void configuredFirstDayOfWeek();
    void nextOccurrenceDate_data();
    void nextOccurrenceDate();
    void regenerateDate_data();
    void regenerateDate();
    void patternValidity_data();
    void patternValidity();
    void durationValidity_data();
    void durationValidity();
    void countAndNthOccurrence();
    void closedDataSetGivesEmptyResults();

private:
    std::unique_ptr<DataSet> patternRow(const PatternRow& row);

    std::unique_ptr<test::RulesDatabase> m_database;
};

void TestRecurrenceEngine::initTestCase()
{
    m_database = std::make_unique<test::RulesDatabase>();
}

std::unique_ptr<DataSet> TestRecurrenceEngine::patternRow(const PatternRow& row)
{
    const RecurrencePattern p = makePattern(row);
    m_database->db().execute(
        QStringLiteral("INSERT INTO IRecurrencePattern (RecurrenceType, Interval, DayOfWeekMask, DayOfMonth, Instance, "
                       "MonthOfYear, PatternStartDate, PatternEndDate, NoEndDate, EndType, Occurrences, StartTime, "
                       "EndTime, Duration, Regenerate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {p.recurrenceType, p.interval, p.dayOfWeekMask, p.dayOfMonth, p.instance, p.monthOfYear,
         p.patternStartDate.toDays(), row.endDate.isValid() ? QVariant(p.patternEndDate.toDays()) : QVariant(),
         p.noEndDate, 0, p.occurrences, p.startTime.toDays(), p.endTime.toDays(), p.duration, p.regenerate});
    const qint64 id = m_database->db().scalar(QStringLiteral("SELECT MAX(IRecurrencePatternID) FROM IRecurrencePattern")).toLongLong();
    return m_database->query(QStringLiteral("SELECT * FROM IRecurrencePattern WHERE IRecurrencePatternID = %1").arg(id),
                             kTagRecurrences, QStringLiteral("qryRecurrences"), false);
}

void TestRecurrenceEngine::expandSeries_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<int>("firstDayOfWeek");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("expected");

    const auto d = [](int y, int m, int dd) { return QDate(y, m, dd); };
    const auto row = [](int type, int interval, int mask, QDate start) {
        PatternRow r;
        r.type = type;
        r.interval = interval;
        r.mask = mask;
        r.start = start;
        return r;
    };

    QTest::addRow("daily every day") << row(0, 1, 127, d(2024, 3, 1)) << kSunday << d(2024, 2, 1) << d(2024, 3, 3)
                                     << QStringList{"2024-03-01", "2024-03-02", "2024-03-03"};
    QTest::addRow("daily every 3 days into a leap February")
        << row(0, 3, 127, d(2024, 1, 27)) << kSunday << d(2024, 2, 20) << d(2024, 3, 5)
        << QStringList{"2024-02-20", "2024-02-23", "2024-02-26", "2024-02-29", "2024-03-03"};
    QTest::addRow("daily interval 0 mask 62: weekdays") << row(0, 0, 62, d(2024, 3, 1)) << kSunday << d(2024, 3, 1)
                                                        << d(2024, 3, 6)
                                                        << QStringList{"2024-03-01", "2024-03-04", "2024-03-05", "2024-03-06"};
    QTest::addRow("daily interval 0 other mask: none") << row(0, 0, 3, d(2024, 3, 1)) << kSunday << d(2024, 3, 1)
                                                       << d(2024, 3, 31) << QStringList{};
    QTest::addRow("weekly interval 0: weekdays whatever the mask")
        << row(1, 0, 2, d(2024, 3, 8)) << kSunday << d(2024, 3, 1) << d(2024, 3, 12)
        << QStringList{"2024-03-08", "2024-03-11", "2024-03-12"};
    QTest::addRow("weekly Mon Wed Fri from a Wednesday") << row(1, 1, 2 | 8 | 32, d(2024, 3, 6)) << kSunday
                                                         << d(2024, 3, 1) << d(2024, 3, 13)
                                                         << QStringList{"2024-03-06", "2024-03-08", "2024-03-11", "2024-03-13"};
    // Started on a Wednesday: with weeks from Sunday the start week's Sunday
    // and Monday lie before the start; with weeks from Monday its Sunday is
    // still to come, and every other week is a different one.
    QTest::addRow("every 2 weeks Sun Mon, weeks from Sunday")
        << row(1, 2, 1 | 2, d(2024, 3, 6)) << kSunday << d(2024, 3, 1) << d(2024, 4, 7)
        << QStringList{"2024-03-17", "2024-03-18", "2024-03-31", "2024-04-01"};
    QTest::addRow("every 2 weeks Sun Mon, weeks from Monday")
        << row(1, 2, 1 | 2, d(2024, 3, 6)) << kMonday << d(2024, 3, 1) << d(2024, 4, 7)
        << QStringList{"2024-03-10", "2024-03-18", "2024-03-24", "2024-04-01", "2024-04-07"};
    QTest::addRow("weekly weekend across the year end") << row(1, 1, 65, d(2024, 12, 28)) << kSunday
                                                        << d(2024, 12, 20) << d(2025, 1, 5)
                                                        << QStringList{"2024-12-28", "2024-12-29", "2025-01-04", "2025-01-05"};

    PatternRow monthly31 = row(2, 1, 127, d(2024, 1, 31));
    monthly31.dayOfMonth = 31;
    QTest::addRow("monthly day 31 in short months") << monthly31 << kSunday << d(2024, 1, 1) << d(2024, 5, 31)
                                                    << QStringList{"2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30", "2024-05-31"};
    PatternRow every2Months31 = row(2, 2, 127, d(2023, 12, 31));
    every2Months31.dayOfMonth = 31;
    QTest::addRow("every 2 months on day 31") << every2Months31 << kSunday << d(2023, 12, 1) << d(2024, 7, 31)
                                              << QStringList{"2023-12-31", "2024-02-29", "2024-04-30", "2024-06-30"};
    PatternRow monthly30 = row(2, 1, 127, d(2023, 1, 1));
    monthly30.dayOfMonth = 30;
    QTest::addRow("monthly day 30, common year") << monthly30 << kSunday << d(2023, 1, 1) << d(2023, 3, 31)
                                                 << QStringList{"2023-01-30", "2023-02-28", "2023-03-30"};
    PatternRow monthly15 = row(2, 1, 127, d(2024, 1, 20));
    monthly15.dayOfMonth = 15;
    QTest::addRow("monthly day before the start day") << monthly15 << kSunday << d(2024, 1, 1) << d(2024, 3, 1)
                                                      << QStringList{"2024-02-15"};

    PatternRow lastFriday = row(3, 1, 32, d(2024, 3, 1));
    lastFriday.instance = 5;
    QTest::addRow("last Friday, a month with five") << lastFriday << kSunday << d(2024, 3, 1) << d(2024, 5, 31)
                                                    << QStringList{"2024-03-29", "2024-04-26", "2024-05-31"};
    PatternRow fourthFriday = lastFriday;
    fourthFriday.instance = 4;
    QTest::addRow("fourth Friday") << fourthFriday << kSunday << d(2024, 3, 1) << d(2024, 3, 31)
                                   << QStringList{"2024-03-22"};
    PatternRow secondWeekday = row(3, 1, 62, d(2024, 6, 1));
    secondWeekday.instance = 2;
    QTest::addRow("second weekday") << secondWeekday << kSunday << d(2024, 6, 1) << d(2024, 6, 30)
                                    << QStringList{"2024-06-04"};
    PatternRow firstWeekendDay = row(3, 1, 65, d(2024, 1, 1));
    QTest::addRow("first weekend day") << firstWeekendDay << kSunday << d(2024, 1, 1) << d(2024, 1, 31)
                                       << QStringList{"2024-01-06"};
    PatternRow lastDay = row(3, 3, 127, d(2024, 2, 1));
    lastDay.instance = 5;
    QTest::addRow("last day of every third month") << lastDay << kSunday << d(2024, 1, 1) << d(2024, 12, 31)
                                                   << QStringList{"2024-02-29", "2024-05-31", "2024-08-31", "2024-11-30"};

    PatternRow leapDay = row(5, 1, 127, d(2024, 1, 1));
    leapDay.month = 2;
    leapDay.dayOfMonth = 29;
    QTest::addRow("yearly on 29 February") << leapDay << kSunday << d(2024, 1, 1) << d(2028, 12, 31)
                                           << QStringList{"2024-02-29", "2025-02-28", "2026-02-28", "2027-02-28", "2028-02-29"};
    PatternRow yearlyPast = row(5, 1, 127, d(2024, 7, 1));
    yearlyPast.month = 3;
    yearlyPast.dayOfMonth = 10;
    QTest::addRow("yearly, this year's day already past") << yearlyPast << kSunday << d(2024, 1, 1)
                                                          << d(2025, 12, 31) << QStringList{"2025-03-10"};
    PatternRow lastMondayOfMay = row(6, 1, 2, d(2024, 1, 1));
    lastMondayOfMay.month = 5;
    lastMondayOfMay.instance = 5;
    QTest::addRow("yearly last Monday of May") << lastMondayOfMay << kSunday << d(2024, 1, 1) << d(2025, 12, 31)
                                               << QStringList{"2024-05-27", "2025-05-26"};

    PatternRow byCount = row(0, 2, 127, d(2024, 3, 1));
    byCount.occurrences = 3;
    QTest::addRow("ends after 3") << byCount << kSunday << d(2024, 3, 1) << d(2024, 3, 31)
                                  << QStringList{"2024-03-01", "2024-03-03", "2024-03-05"};
    PatternRow byDate = row(1, 1, 2 | 32, d(2024, 3, 1));
    byDate.endDate = d(2024, 3, 11);
    QTest::addRow("ends by date, the end day included") << byDate << kSunday << d(2024, 3, 1) << d(2024, 3, 31)
                                                        << QStringList{"2024-03-01", "2024-03-04", "2024-03-08", "2024-03-11"};
    PatternRow farCount = row(0, 1, 127, d(2000, 1, 1));
    farCount.occurrences = 10000;
    QTest::addRow("count reached decades later") << farCount << kSunday << d(2027, 5, 16) << d(2027, 5, 20)
                                                 << QStringList{"2027-05-16", "2027-05-17", "2027-05-18"};
    PatternRow nearLimit = row(5, 1, 127, d(3990, 1, 1));
    nearLimit.month = 12;
    nearLimit.dayOfMonth = 31;
    QTest::addRow("no end stops at 3999-12-31") << nearLimit << kSunday << d(3998, 1, 1) << d(4005, 1, 1)
                                                << QStringList{"3998-12-31", "3999-12-31"};
}

void TestRecurrenceEngine::expandSeries()
{
    QFETCH(PatternRow, row);
    QFETCH(int, firstDayOfWeek);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, expected);

    const auto occurrences = ExpandSeries(makePattern(row), false, day(from), day(to), firstDayOfWeek);
    QCOMPARE(startDays(occurrences), expected);
    for (const Occurrence& occurrence : occurrences) {
        QCOMPARE(occurrence.start.time(), QTime(9, 0));
        QCOMPARE(occurrence.finish, occurrence.start.addMinutes(60));
    }
}

void TestRecurrenceEngine::indicesAfterJumpingToAFarWindow()
{
    PatternRow row;
    row.type = 1;
    row.interval = 3;
    row.mask = 2 | 8 | 64;
    row.start = QDate(1995, 6, 14);
    const RecurrencePattern pattern = makePattern(row);
    const auto whole = ExpandSeries(pattern, false, day(row.start), day(QDate(2025, 12, 31)), kMonday);
    const auto window = ExpandSeries(pattern, false, day(QDate(2025, 1, 1)), day(QDate(2025, 12, 31)), kMonday);
    QVERIFY(!window.empty());
    const std::size_t offset = whole.size() - window.size();
    for (std::size_t i = 0; i < window.size(); ++i) {
        QCOMPARE(window[i].start, whole[offset + i].start);
        QCOMPARE(window[i].index, whole[offset + i].index);
    }
    QCOMPARE(whole.back().index, int(whole.size()));
}

void TestRecurrenceEngine::wallClockTimesAcrossDaylightSaving()
{
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    PatternRow row;
    row.start = QDate(2024, 3, 29);
    RecurrencePattern pattern = makePattern(row);
    pattern.startTime = DateTime::fromParts(1899, 12, 30, 2, 30); // does not exist on 31 March in Berlin
    pattern.duration = 90;
    const auto spring = ExpandSeries(pattern, false, day(QDate(2024, 3, 29)), day(QDate(2024, 4, 1)), kSunday);
    const auto autumn = ExpandSeries(pattern, false, day(QDate(2024, 10, 26)), day(QDate(2024, 10, 28)), kSunday);
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();

    QCOMPARE(spring.size(), std::size_t(4));
    QCOMPARE(autumn.size(), std::size_t(3));
    for (const auto* series : {&spring, &autumn}) {
        for (const Occurrence& occurrence : *series) {
            QCOMPARE(occurrence.start.time(), QTime(2, 30));
            QCOMPARE(occurrence.finish.time(), QTime(4, 0));
        }
    }
    QCOMPARE(spring[2].start.date(), QDate(2024, 3, 31));
    QCOMPARE(autumn[1].start.date(), QDate(2024, 10, 27));
}

void TestRecurrenceEngine::allDayOccurrencesCoverWholeDays()
{
    PatternRow row;
    row.type = 1;
    row.mask = 32;
    row.start = QDate(2024, 3, 1);
    RecurrencePattern pattern = makePattern(row);
    pattern.duration = 2 * 1440;
    const auto occurrences = ExpandSeries(pattern, true, day(QDate(2024, 3, 1)), day(QDate(2024, 3, 10)), kSunday);
    QCOMPARE(startDays(occurrences), (QStringList{"2024-03-01", "2024-03-08"}));
    QCOMPARE(occurrences[0].start, day(QDate(2024, 3, 1)));
    QCOMPARE(occurrences[0].finish, day(QDate(2024, 3, 3)));
}

void TestRecurrenceEngine::isOccurrenceOn_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<int>("startHour");
    QTest::addColumn<int>("duration");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<bool>("expected");

    PatternRow mondays;
    mondays.type = 1;
    mondays.mask = 2;
    mondays.start = QDate(2024, 3, 4);
    const QTime noon(12, 0);
    QTest::addRow("on a Monday") << mondays << 9 << 60 << QDateTime(QDate(2024, 3, 11), noon) << true;
    QTest::addRow("not on a Tuesday") << mondays << 9 << 60 << QDateTime(QDate(2024, 3, 12), noon) << false;
    QTest::addRow("late Monday reaching into Tuesday")
        << mondays << 22 << 180 << QDateTime(QDate(2024, 3, 12), QTime(0, 30)) << true;
    QTest::addRow("but not Wednesday") << mondays << 22 << 180 << QDateTime(QDate(2024, 3, 13), noon) << false;
    QTest::addRow("ending at midnight keeps to its day")
        << mondays << 22 << 120 << QDateTime(QDate(2024, 3, 12), noon) << false;
    QTest::addRow("before the start") << mondays << 9 << 60 << QDateTime(QDate(2024, 2, 26), noon) << false;
    PatternRow ended = mondays;
    ended.endDate = QDate(2024, 3, 11);
    QTest::addRow("after the end date") << ended << 9 << 60 << QDateTime(QDate(2024, 3, 18), noon) << false;
    QTest::addRow("on the end date") << ended << 9 << 60 << QDateTime(QDate(2024, 3, 11), noon) << true;
    PatternRow dailyZero;
    dailyZero.interval = 0;
    dailyZero.mask = 127;
    dailyZero.start = QDate(2024, 3, 1);
    QTest::addRow("daily interval 0 cannot be computed")
        << dailyZero << 9 << 60 << QDateTime(QDate(2024, 3, 5), noon) << false;
    PatternRow monthlyZero = dailyZero;
    monthlyZero.type = 2;
    monthlyZero.dayOfMonth = 5;
    QTest::addRow("monthly interval 0 cannot be computed")
        << monthlyZero << 9 << 60 << QDateTime(QDate(2024, 3, 5), noon) << false;
    PatternRow every2Months31;
    every2Months31.type = 2;
    every2Months31.interval = 2;
    every2Months31.dayOfMonth = 31;
    every2Months31.start = QDate(2024, 1, 31);
    QTest::addRow("every 2 months on 31: 31 March") << every2Months31 << 9 << 60
                                                    << QDateTime(QDate(2024, 3, 31), noon) << true;
    QTest::addRow("every 2 months on 31: not 30 April") << every2Months31 << 9 << 60
                                                        << QDateTime(QDate(2024, 4, 30), noon) << false;
    QTest::addRow("type 4 never") << PatternRow{4, 1, 127, 1, 1, 1, QDate(2024, 1, 1), 0, QDate(), false} << 9 << 60
                                  << QDateTime(QDate(2024, 1, 1), noon) << false;
}

void TestRecurrenceEngine::isOccurrenceOn()
{
    QFETCH(PatternRow, row);
    QFETCH(int, startHour);
    QFETCH(int, duration);
    QFETCH(QDateTime, moment);
    QFETCH(bool, expected);

    RecurrencePattern pattern = makePattern(row);
    pattern.startTime = DateTime::fromParts(1899, 12, 30, startHour, 0);
    pattern.duration = duration;
    QCOMPARE(IsOccurrenceOn(pattern, DateTime::fromQDateTime(moment), kSunday), expected);
}

void TestRecurrenceEngine::occurrenceTestAgreesWithExpansion()
{
    QRandomGenerator random(20240515);
    const QDate from(2024, 1, 1);
    const QDate to(2025, 12, 31);
    for (int n = 0; n < 40; ++n) {
        static const int types[] = {0, 1, 2, 3, 5, 6};
        static const int masks[] = {1, 2, 32, 62, 65, 127, 2 | 8, 1 | 64 | 16};
        PatternRow row;
        row.type = types[random.bounded(6)];
        row.interval = random.bounded(4);
        row.mask = masks[random.bounded(8)];
        row.dayOfMonth = 1 + random.bounded(31);
        row.instance = 1 + random.bounded(5);
        row.month = 1 + random.bounded(12);
        row.start = QDate(2022, 1, 1).addDays(random.bounded(1000));
        if (random.bounded(3) == 0)
            row.occurrences = 1 + random.bounded(60);
        else if (random.bounded(2) == 0)
            row.endDate = row.start.addDays(random.bounded(900));
        RecurrencePattern pattern = makePattern(row);
        pattern.startTime = DateTime::fromParts(1899, 12, 30, random.bounded(24), 0);
        pattern.duration = random.bounded(3) * 1000 + 30;
        const int firstDay = 1 + random.bounded(7);

        std::set<QDate> covered;
        const auto expanded = ExpandSeries(pattern, false, day(from.addDays(-5)), day(to), firstDay);
        for (const Occurrence& occurrence : expanded) {
            for (DateTime d = occurrence.start.datePart(); d < occurrence.finish; d = d.addDays(1))
                covered.insert(d.date());
        }
        for (QDate date = from; date <= to; date = date.addDays(1)) {
            const bool expected = covered.count(date) > 0;
            if (IsOccurrenceOn(pattern, day(date).addMsecs(3600 * 1000), firstDay) != expected) {
                QFAIL(qPrintable(QStringLiteral("pattern %1 type %2 interval %3 mask %4 differs on %5")
                                     .arg(n)
                                     .arg(row.type)
                                     .arg(row.interval)
                                     .arg(row.mask)
                                     .arg(date.toString(Qt::ISODate))));
            }
        }
    }
}

void TestRecurrenceEngine::seriesDescription_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("recurrence");
    QTest::addColumn<int>("dayType");
    QTest::addColumn<int>("periodicity");
    QTest::addColumn<int>("dayNumber");

    // dayOfMonth 12, instance 3, month 7 throughout.
    QTest::addRow("daily weekdays") << 0 << 0 << 62 << int(cxreDaily) << int(cxdtWeekDay) << 0 << 1;
    QTest::addRow("daily every 2") << 0 << 2 << 127 << int(cxreDaily) << int(cxdtEveryDay) << 2 << 1;
    QTest::addRow("weekly") << 1 << 2 << 42 << int(cxreWeekly) << int(cxdtDay) << 2 << 1;
    QTest::addRow("weekly interval 0") << 1 << 0 << 42 << int(cxreDaily) << int(cxdtWeekDay) << 1 << 1;
    QTest::addRow("monthly by day") << 2 << 3 << 127 << int(cxreMonthly) << int(cxdtDay) << 3 << 12;
    QTest::addRow("monthly third weekend day") << 3 << 1 << 65 << int(cxreMonthly) << int(cxdtWeekEndDay) << 1 << 3;
    QTest::addRow("monthly third Thursday") << 3 << 1 << 16 << int(cxreMonthly) << int(cxdtThursday) << 1 << 3;
    QTest::addRow("monthly third day of any kind") << 3 << 1 << 127 << int(cxreMonthly) << int(cxdtEveryDay) << 1 << 3;
    QTest::addRow("yearly by day") << 5 << 1 << 127 << int(cxreYearly) << int(cxdtDay) << 7 << 12;
    QTest::addRow("yearly third Sunday") << 6 << 1 << 1 << int(cxreYearly) << int(cxdtSunday) << 7 << 3;
}

void TestRecurrenceEngine::seriesDescription()
{
    QFETCH(int, type);
    QFETCH(int, interval);
    QFETCH(int, mask);
    QFETCH(int, recurrence);
    QFETCH(int, dayType);
    QFETCH(int, periodicity);
    QFETCH(int, dayNumber);

    PatternRow row{type, interval, mask, 12, 3, 7, QDate(2024, 3, 1), 5, QDate(2024, 9, 1), false};
    RecurringEvent event;
    LoadRecurrenceInfo(event, makePattern(row));
    const RecurrenceInfo& info = event.recurrenceInfo;
    QCOMPARE(event.eventType, etPattern);
    QCOMPARE(int(info.recurrence), recurrence);
    QCOMPARE(int(info.dayType), dayType);
    QCOMPARE(info.periodicity, periodicity);
    QCOMPARE(info.dayNumber, dayNumber);
    QCOMPARE(info.count, 5);
    QCOMPARE(info.start, DateTime::fromParts(2024, 3, 1, 9, 0));
    QCOMPARE(info.finish, DateTime::fromParts(2024, 9, 1, 10, 0));
    if (type == 1)
        QCOMPARE(info.occurDays, WeekDays(42));
}

void TestRecurrenceEngine::configuredFirstDayOfWeek_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::addRow("unset") << QString() << kSunday;
    QTest::addRow("Monday") << QStringLiteral("Monday") << kMonday;
    QTest::addRow("without case") << QStringLiteral("saturday") << 7;
    QTest::addRow("a number") << QStringLiteral("2") << kMonday;
}

void TestRecurrenceEngine::configuredFirstDayOfWeek()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    test::Sandbox sandbox;
    if (!stored.isNull())
        WriteWorkWeekSettings(62, stored, QStringLiteral("Starts on Jan 1"), QStringLiteral("8:00 AM"),
                              QStringLiteral("5:00 PM"));
    QCOMPARE(ConfiguredFirstDayOfWeek(), expected);
}

void TestRecurrenceEngine::nextOccurrenceDate_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<DateTime>("after");
    QTest::addColumn<DateTime>("expected");

    PatternRow daily{0, 1, 127, 1, 1, 1, QDate(2024, 3, 1), 0, QDate(), false};
    QTest::addRow("daily: never the same day") << daily << DateTime::fromParts(2024, 3, 5, 14, 0)
                                               << DateTime::fromParts(2024, 3, 6);
    QTest::addRow("before the series") << daily << DateTime::fromParts(2024, 1, 1)
                                       << DateTime::fromParts(2024, 3, 1);
    PatternRow fridays{1, 1, 32, 1, 1, 1, QDate(2024, 3, 1), 0, QDate(), false};
    QTest::addRow("weekly: the next Friday") << fridays << DateTime::fromParts(2024, 3, 1, 9, 0)
                                             << DateTime::fromParts(2024, 3, 8);
    PatternRow fridaysByCount = fridays;
    fridaysByCount.occurrences = 2;
    fridaysByCount.endDate = QDate(2024, 3, 8);
    QTest::addRow("past the last occurrence") << fridaysByCount << DateTime::fromParts(2024, 3, 8)
                                              << DateTime();
    PatternRow countOnly = fridays;
    countOnly.occurrences = 3; // the row has no end date
    QTest::addRow("count without an end date") << countOnly << DateTime::fromParts(2024, 3, 8)
                                                << DateTime::fromParts(2024, 3, 15);
    QTest::addRow("count without an end date, used up") << countOnly << DateTime::fromParts(2024, 3, 15)
                                                        << DateTime();
    PatternRow farDaily{0, 1, 127, 1, 1, 1, QDate(1990, 1, 1), 0, QDate(), false};
    QTest::addRow("decades after the start") << farDaily << DateTime::fromParts(2024, 12, 31, 23, 59)
                                             << DateTime::fromParts(2025, 1, 1);
}

void TestRecurrenceEngine::nextOccurrenceDate()
{
    QFETCH(PatternRow, row);
    QFETCH(DateTime, after);
    QFETCH(DateTime, expected);
    test::Sandbox sandbox;
    const auto patterns = patternRow(row);
    QCOMPARE(GetNextOccurenceDate(*patterns, after), expected);
}

void TestRecurrenceEngine::regenerateDate_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<DateTime>("completed");
    QTest::addColumn<DateTime>("expected");

    // Today is 2024-05-15.
    PatternRow daily{0, 1, 127, 1, 1, 1, QDate(2024, 1, 1), 0, QDate(), true};
    QTest::addRow("completed today: tomorrow") << daily << DateTime::fromParts(2024, 5, 15)
                                               << DateTime::fromParts(2024, 5, 16);
    QTest::addRow("two days ago: yesterday is not after today") << daily << DateTime::fromParts(2024, 5, 13)
                                                               << DateTime();
    QTest::addRow("yesterday late: today is not after today") << daily << DateTime::fromParts(2024, 5, 14, 23, 0)
                                                             << DateTime();
    PatternRow notRegenerating = daily;
    notRegenerating.regenerate = false;
    QTest::addRow("not regenerating") << notRegenerating << DateTime::fromParts(2024, 5, 15) << DateTime();
    PatternRow weekly = daily;
    weekly.type = 1;
    QTest::addRow("weekly: 7 days") << weekly << DateTime::fromParts(2024, 5, 15) << DateTime::fromParts(2024, 5, 22);
    PatternRow monthly = daily;
    monthly.type = 3;
    QTest::addRow("monthly keeps the day, clamped") << monthly << DateTime::fromParts(2024, 5, 31)
                                                    << DateTime::fromParts(2024, 6, 30);
    PatternRow yearly = daily;
    yearly.type = 5;
    QTest::addRow("yearly from a leap day") << yearly << DateTime::fromParts(2024, 2, 29)
                                            << DateTime::fromParts(2025, 2, 28);
    PatternRow ending = daily;
    ending.occurrences = 5;
    ending.endDate = QDate(2024, 5, 16);
    QTest::addRow("on the last date") << ending << DateTime::fromParts(2024, 5, 15) << DateTime::fromParts(2024, 5, 16);
    QTest::addRow("beyond the last date") << ending << DateTime::fromParts(2024, 5, 16) << DateTime();
    PatternRow otherType = daily;
    otherType.type = 4;
    QTest::addRow("type 4 has no step") << otherType << DateTime::fromParts(2024, 5, 15) << DateTime();
}

void TestRecurrenceEngine::regenerateDate()
{
    QFETCH(PatternRow, row);
    QFETCH(DateTime, completed);
    QFETCH(DateTime, expected);
    test::FakeClock clock(DateTime::fromParts(2024, 5, 15, 10, 20));
    const auto patterns = patternRow(row);
    QCOMPARE(GetRegenerateDate(*patterns, completed), expected);
}

void TestRecurrenceEngine::patternValidity_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<QString>("message");

    const QString noDay = QStringLiteral("At least one day should be checked.");
    const QString notValid = QStringLiteral("The recurrence pattern is not valid.");
    QTest::addRow("daily, no day") << PatternRow{0, 1, 0, 1, 1, 1, QDate(2024, 1, 1), 0, QDate(), false} << noDay;
    QTest::addRow("monthly, no day") << PatternRow{2, 1, 0, 5, 1, 1, QDate(2024, 1, 1), 0, QDate(), false} << noDay;
    QTest::addRow("monthly interval 0") << PatternRow{2, 0, 127, 5, 1, 1, QDate(2024, 1, 1), 0, QDate(), false}
                                        << notValid;
    QTest::addRow("daily interval 0, not weekdays")
        << PatternRow{0, 0, 127, 1, 1, 1, QDate(2024, 1, 1), 0, QDate(), false} << notValid;
    QTest::addRow("yearly month 13") << PatternRow{5, 1, 127, 5, 1, 13, QDate(2024, 1, 1), 0, QDate(), false}
                                     << notValid;
    QTest::addRow("unknown type 4") << PatternRow{4, 1, 127, 5, 1, 1, QDate(2024, 1, 1), 0, QDate(), false}
                                    << notValid;
    QTest::addRow("daily weekdays") << PatternRow{0, 0, 62, 1, 1, 1, QDate(2024, 1, 1), 0, QDate(), false} << QString();
    QTest::addRow("last Friday") << PatternRow{3, 1, 32, 1, 5, 1, QDate(2024, 1, 1), 3, QDate(), false} << QString();
}

void TestRecurrenceEngine::patternValidity()
{
    QFETCH(PatternRow, row);
    QFETCH(QString, message);
    test::Sandbox sandbox;
    test::DebugCapture capture;
    const auto patterns = patternRow(row);
    QString text = QStringLiteral("left over");
    QCOMPARE(IsRecurrencePatternValid(*patterns, text), message.isEmpty());
    QCOMPARE(text, message);
    if (!message.isEmpty())
        QTRY_VERIFY(capture.contains(QStringLiteral("IsRecurrencePatternValid: ") + message));
}

void TestRecurrenceEngine::durationValidity_data()
{
    QTest::addColumn<PatternRow>("row");
    QTest::addColumn<DateTime>("start");
    QTest::addColumn<DateTime>("finish");
    QTest::addColumn<bool>("expected");

    const PatternRow daily{0, 1, 127, 1, 1, 1, QDate(2024, 3, 1), 0, QDate(), false};
    QTest::addRow("2-day all-day, daily") << daily << DateTime::fromParts(2024, 3, 1) << DateTime::fromParts(2024, 3, 3)
                                          << false;
    QTest::addRow("1-day all-day, daily") << daily << DateTime::fromParts(2024, 3, 1) << DateTime::fromParts(2024, 3, 2)
                                          << true;
    QTest::addRow("23 hours, daily") << daily << DateTime::fromParts(2024, 3, 1, 10, 0)
                                     << DateTime::fromParts(2024, 3, 2, 9, 0) << true;
    QTest::addRow("25 hours, daily") << daily << DateTime::fromParts(2024, 3, 1, 10, 0)
                                     << DateTime::fromParts(2024, 3, 2, 11, 0) << false;
    PatternRow once = daily;
    once.occurrences = 1;
    QTest::addRow("25 hours, a single occurrence") << once << DateTime::fromParts(2024, 3, 1, 10, 0)
                                                   << DateTime::fromParts(2024, 3, 2, 11, 0) << true;
    const PatternRow monTue{1, 1, 2 | 4, 1, 1, 1, QDate(2024, 3, 4), 0, QDate(), false};
    QTest::addRow("30 hours, Monday and Tuesday") << monTue << DateTime::fromParts(2024, 3, 4, 10, 0)
                                                  << DateTime::fromParts(2024, 3, 5, 16, 0) << false;
    const PatternRow monFri{1, 1, 2 | 32, 1, 1, 1, QDate(2024, 3, 4), 0, QDate(), false};
    // The Monday-to-Friday gap fits; the Friday-to-Monday gap is shorter.
    QTest::addRow("3 days 1 hour, Monday and Friday") << monFri << DateTime::fromParts(2024, 3, 4, 10, 0)
                                                      << DateTime::fromParts(2024, 3, 7, 11, 0) << false;
    QTest::addRow("3 days, Monday and Friday") << monFri << DateTime::fromParts(2024, 3, 4, 10, 0)
                                               << DateTime::fromParts(2024, 3, 7, 10, 0) << true;
    const PatternRow monthly{2, 1, 127, 31, 1, 1, QDate(2024, 1, 31), 0, QDate(), false};
    QTest::addRow("10 days, monthly") << monthly << DateTime::fromParts(2024, 1, 31, 10, 0)
                                      << DateTime::fromParts(2024, 2, 10, 10, 0) << true;
    QTest::addRow("no occurrence at all") << PatternRow{2, 0, 127, 5, 1, 1, QDate(2024, 1, 1), 0, QDate(), false}
                                          << DateTime::fromParts(2024, 1, 5, 10, 0)
                                          << DateTime::fromParts(2024, 1, 5, 11, 0) << false;
}

void TestRecurrenceEngine::durationValidity()
{
    QFETCH(PatternRow, row);
    QFETCH(DateTime, start);
    QFETCH(DateTime, finish);
    QFETCH(bool, expected);
    test::Sandbox sandbox;
    const auto patterns = patternRow(row);
    QCOMPARE(IsRecurrenceDurationValid(*patterns, start, finish), expected);
}

void TestRecurrenceEngine::countAndNthOccurrence()
{
    test::Sandbox sandbox;
    test::FakeClock clock(DateTime::fromParts(2024, 5, 15, 10, 20));
    PatternRow row{1, 1, 2 | 8, 1, 1, 1, QDate(2024, 3, 4), 2, QDate(2024, 3, 6), false};
    auto patterns = patternRow(row);
    // Neither the count nor the end date limits these questions.
    QCOMPARE(GetOccurrenceCount(*patterns, DateTime::fromParts(2024, 3, 13)), 4);
    QCOMPARE(GetOccurrenceCount(*patterns, DateTime::fromParts(2024, 3, 12, 23, 0)), 3);
    QCOMPARE(GetOccurrenceCount(*patterns, DateTime::fromParts(2024, 3, 3)), 0);
    QCOMPARE(GetOccurenceStartDate(*patterns, 4), DateTime::fromParts(2024, 3, 13));
    QCOMPARE(GetOccurenceStartDate(*patterns, 0), DateTime::fromParts(2024, 3, 4));
    QCOMPARE(GetPatternEndDate(*patterns, 10), DateTime::fromParts(2024, 4, 3));

    m_database->db().execute(QStringLiteral("UPDATE IRecurrencePattern SET StartTime = ?, Duration = 180"),
                             {DateTime::fromParts(1899, 12, 30, 22, 0).toDays()});
    patterns->close();
    patterns->open();
    QCOMPARE(GetPatternEndDate(*patterns, 1), DateTime::fromParts(2024, 3, 5));

    m_database->db().execute(QStringLiteral("UPDATE IRecurrencePattern SET DayOfWeekMask = 0"));
    patterns->close();
    patterns->open();
    QCOMPARE(GetOccurrenceCount(*patterns, DateTime::fromParts(2024, 3, 13)), 0);
    QCOMPARE(GetOccurenceStartDate(*patterns, 4), DateTime::fromParts(2024, 5, 15, 10, 20));
}

void TestRecurrenceEngine::closedDataSetGivesEmptyResults()
{
    test::Sandbox sandbox;
    auto patterns = patternRow(PatternRow{0, 1, 127, 1, 1, 1, QDate(2024, 3, 1), 0, QDate(), true});
    patterns->close();
    QString message = QStringLiteral("x");
    QCOMPARE(IsRecurrencePatternValid(*patterns, message), false);
    QVERIFY(message.isEmpty());
    QCOMPARE(GetOccurrenceCount(*patterns, DateTime::fromParts(2024, 4, 1)), 0);
    QCOMPARE(GetNextOccurenceDate(*patterns, DateTime::fromParts(2024, 4, 1)), DateTime());
    QCOMPARE(GetRegenerateDate(*patterns, DateTime::fromParts(2024, 4, 1)), DateTime());
    QCOMPARE(GetOccurenceStartDate(*patterns, 1), DateTime());
}

QTEST_MAIN(TestRecurrenceEngine)
#include "tst_recurrence_engine.moc"
