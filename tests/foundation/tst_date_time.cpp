// Dates and times as the database keeps them (days since 30 December 1899),
// and the one clock every program reads.
#include "foundation/clock.h"
#include "tests/support/fake_clock.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QtTest>

using namespace velmora;

namespace {
// Built before main() runs, as static test data and tables are.
const DateTime kBuiltBeforeMain = DateTime::fromParts(2026, 3, 29, 9, 30);
} // namespace

class TestDateTime : public QObject {
    Q_OBJECT
private slots:
    void daysSinceTheEpoch_data();
    void daysSinceTheEpoch();
    void storedRealsComeBackEqual();
    void datePartAndWeekday();
    void isoTexts_data();
    void isoTexts();
    void fakeNowStartsEveryProgramsClock();
    void installedClockWinsUntilRemoved();
};

void TestDateTime::daysSinceTheEpoch_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("iso");
    QTest::addRow("epoch") << 0.0 << "1899-12-30T00:00:00.000";
    QTest::addRow("day one at noon") << 1.5 << "1899-12-31T12:00:00.000";
    QTest::addRow("December 2025 at 10:00") << 46002.0 + 10.0 / 24 << "2025-12-11T10:00:00.000";
    QTest::addRow("one minute before midnight") << 46002.0 + 1439.0 / 1440 << "2025-12-11T23:59:00.000";
    QTest::addRow("before the epoch") << -1.0 << "1899-12-29T00:00:00.000";
}

void TestDateTime::daysSinceTheEpoch()
{
    QFETCH(double, days);
    QFETCH(QString, iso);
    const DateTime value = DateTime::fromDays(days);
    QCOMPARE(value.toIsoText(), iso);
    QCOMPARE(DateTime::fromIsoText(iso)->msecs(), value.msecs());
    QCOMPARE(value.toDays(), days);
}

void TestDateTime::storedRealsComeBackEqual()
{
    // Every minute of a day, and odd milliseconds, survive the REAL round trip.
    const DateTime day = DateTime::fromParts(2026, 3, 29);
    for (int minute = 0; minute < 1440; ++minute) {
        const DateTime value = day.addMinutes(minute).addMsecs(minute % 7 == 0 ? 999 : 1);
        QCOMPARE(DateTime::fromDays(value.toDays()), value);
    }
    // A REAL a little off (as arithmetic in SQL leaves it) rounds to the millisecond.
    QCOMPARE(DateTime::fromDays(46110.5 + 1e-10), DateTime::fromParts(2026, 3, 29, 12));
}

void TestDateTime::datePartAndWeekday()
{
    const DateTime value = DateTime::fromParts(2026, 12, 13, 18, 30); // a Sunday
    QCOMPARE(value.datePart(), DateTime::fromParts(2026, 12, 13));
    QCOMPARE(value.timePart(), DateTime::fromParts(1899, 12, 30, 18, 30));
    QCOMPARE(value.dayOfWeek(), 1);
    QCOMPARE(value.addDays(6).dayOfWeek(), 7);
    QCOMPARE(DateTime::fromParts(2026, 1, 31).addMonths(1), DateTime::fromParts(2026, 2, 28));
    QVERIFY(!DateTime::fromDays(0.25).hasDatePart());
    QVERIFY(!value.datePart().hasTimePart());
    QCOMPARE(kBuiltBeforeMain.toIsoText(), QStringLiteral("2026-03-29T09:30:00.000"));
}

void TestDateTime::isoTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addRow("date and time") << "2026-03-29T09:55:59" << true;
    QTest::addRow("date only") << "2026-03-29" << true;
    QTest::addRow("blank separator, minutes") << "2026-03-29 09:55" << true;
    QTest::addRow("no such day") << "2026-02-30T10:00:00" << false;
    QTest::addRow("no such hour") << "2026-03-29T24:00:00" << false;
    QTest::addRow("words") << "tomorrow" << false;
    QTest::addRow("empty") << "" << false;
}

void TestDateTime::isoTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(DateTime::fromIsoText(text).has_value(), valid);
}

void TestDateTime::fakeNowStartsEveryProgramsClock()
{
    test::Sandbox sandbox;
    sandbox.setFakeNow(QStringLiteral("2026-03-29T09:55:59"));
    auto result = test::runProgram(sandbox, QStringLiteral("velmora_test_helper"), {QStringLiteral("print-now")});
    QCOMPARE(result.exitCode, 0);
    const auto printed = DateTime::fromIsoText(result.out.trimmed().left(19));
    QVERIFY2(printed, qPrintable(result.out));
    const DateTime start = *DateTime::fromIsoText(QStringLiteral("2026-03-29T09:55:59"));
    QVERIFY(*printed >= start && *printed < start.addSecs(30)); // it runs on from there

    sandbox.setFakeNow(QStringLiteral("29/03/2026"));
    result = test::runProgram(sandbox, QStringLiteral("velmora_test_helper"), {QStringLiteral("print-now")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.contains(QStringLiteral("VELMORA_FAKE_NOW")));
    QVERIFY(!result.out.startsWith(QStringLiteral("2026-03-29")));
}

void TestDateTime::installedClockWinsUntilRemoved()
{
    {
        test::FakeClock clock(DateTime::fromParts(2026, 3, 29, 9, 55, 59));
        QCOMPARE(now(), DateTime::fromParts(2026, 3, 29, 9, 55, 59));
        clock.advanceMsecs(2000);
        QCOMPARE(now(), DateTime::fromParts(2026, 3, 29, 9, 56, 1));
        QCOMPARE(today(), DateTime::fromParts(2026, 3, 29));
    }
    QVERIFY(now() != DateTime::fromParts(2026, 3, 29, 9, 56, 1));
}

QTEST_MAIN(TestDateTime)
#include "tst_date_time.moc"
