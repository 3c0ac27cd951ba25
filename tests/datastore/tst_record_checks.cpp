// The checks before a post: date order and the validity box entry windows
// show, word for word, and the far-future date limit.

#include "datastore/abort_error.h"
#include "datastore/query_tags.h"
#include "datastore/record_checks.h"
#include "datastore/record_validity.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scripted_dialogs.h"

#include <QtTest>

using namespace velmora;

namespace {

// A function, not a constant: the date arithmetic is not ready before main().
DateTime testNow()
{
    return DateTime::fromParts(2024, 5, 15, 10, 20);
}

const QString kTimeOrder = QStringLiteral(
    "Please make sure the Start Time(Start Date, From Date) is less than the End Time(End Date, To Date).");
const QString kDateOrder =
    QStringLiteral("Please make sure the Start Date(From Date) is less than the End Date(To Date).");
const QString kMissingName = QStringLiteral("Please input the following field(s): Name");

QVariant day(int d, int hour = 0)
{
    return QVariant::fromValue(DateTime::fromParts(2024, 5, d, hour));
}

// One period being edited, with the given values.
struct PeriodEdit {
    test::RulesDatabase database;
    std::unique_ptr<DataSet> periods;

    PeriodEdit(const QVariant& name, const QVariant& startDate, const QVariant& endDate, const QVariant& startTime,
               const QVariant& endTime)
    {
        periods = database.query(QStringLiteral("SELECT * FROM Periods"), kTagRegions, QStringLiteral("qryRegions"));
        periods->append();
        periods->fieldByName(QStringLiteral("Name")).setValue(name);
        periods->fieldByName(QStringLiteral("StartDate")).setValue(startDate);
        periods->fieldByName(QStringLiteral("EndDate")).setValue(endDate);
        periods->fieldByName(QStringLiteral("StartTime")).setValue(startTime);
        periods->fieldByName(QStringLiteral("EndTime")).setValue(endTime);
    }
};

} // namespace

class TestRecordChecks : public QObject {
    Q_OBJECT
private slots:
    void dateOrder_data();
    void dateOrder();
    void validityWarning_data();
    void validityWarning();
    void validityPassesWithoutRecord();
    void farFutureDatesCleared_data();
    void farFutureDatesCleared();
};

void TestRecordChecks::dateOrder_data()
{
    QTest::addColumn<QVariant>("startDate");
    QTest::addColumn<QVariant>("endDate");
    QTest::addColumn<QVariant>("startTime");
    QTest::addColumn<QVariant>("endTime");
    QTest::addColumn<QString>("text");
    const QVariant none;
    QTest::addRow("in order") << day(1) << day(2) << day(1, 8) << day(1, 9) << QString();
    QTest::addRow("same moment") << day(1) << day(1) << day(1, 8) << day(1, 8) << QString();
    QTest::addRow("times reversed") << day(1) << day(2) << day(1, 9) << day(1, 8) << kTimeOrder;
    QTest::addRow("dates reversed") << day(2) << day(1) << day(1, 8) << day(1, 9) << kDateOrder;
    QTest::addRow("both reversed: dates win") << day(2) << day(1) << day(1, 9) << day(1, 8) << kDateOrder;
    QTest::addRow("no end given") << day(2) << none << day(1, 9) << none << QString();
}

void TestRecordChecks::dateOrder()
{
    QFETCH(QVariant, startDate);
    QFETCH(QVariant, endDate);
    QFETCH(QVariant, startTime);
    QFETCH(QVariant, endTime);
    QFETCH(QString, text);
    test::FakeClock clock(testNow());
    PeriodEdit edit(QStringLiteral("Spring"), startDate, endDate, startTime, endTime);
    QCOMPARE(CheckDateOrder(*edit.periods), text);
}

void TestRecordChecks::validityWarning_data()
{
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<bool>("datesReversed");
    QTest::addColumn<QString>("problems");
    QTest::addRow("valid") << QVariant(QStringLiteral("Spring")) << false << QString();
    QTest::addRow("empty name") << QVariant(QString("")) << false << kMissingName;
    QTest::addRow("no name") << QVariant() << false << kMissingName;
    QTest::addRow("dates reversed") << QVariant(QStringLiteral("Spring")) << true << kDateOrder;
    QTest::addRow("both") << QVariant(QString("")) << true
                          << QStringLiteral("1. ") + kDateOrder + QStringLiteral("\r\n2. ") + kMissingName;
}

void TestRecordChecks::validityWarning()
{
    QFETCH(QVariant, name);
    QFETCH(bool, datesReversed);
    QFETCH(QString, problems);
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    PeriodEdit edit(name, datesReversed ? day(3) : day(1), day(2), QVariant(), QVariant());

    if (problems.isEmpty()) {
        QVERIFY(ADOQueryCheckRecordValidityGeneral(edit.periods.get(), true));
        QVERIFY(dialogs.shown().isEmpty());
        return;
    }
    QVERIFY_THROWS_EXCEPTION(AbortError, ADOQueryCheckRecordValidityGeneral(edit.periods.get(), true));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Warning"));
    QCOMPARE(box.icon, platform::DialogIcon::Warning);
    QVERIFY(box.topmost);
    QCOMPARE(box.text, QStringLiteral("To success posting your edition, \r\n\r\n") + problems
                           + QStringLiteral("\r\n\r\nPlease take corrective actions and try again."));
    // Nothing posted, and the user's input is kept.
    QCOMPARE(edit.periods->state(), DataSetState::Insert);
    QCOMPARE(edit.database.count(QStringLiteral("Periods")), 0);

    dialogs.clear();
    QVERIFY_THROWS_EXCEPTION(AbortError, ADOQueryCheckRecordValidityGeneral(edit.periods.get(), false));
    QVERIFY(dialogs.shown().isEmpty());
}

void TestRecordChecks::validityPassesWithoutRecord()
{
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    auto periods = database.query(QStringLiteral("SELECT * FROM Periods"), kTagRegions);
    QVERIFY(ADOQueryCheckRecordValidityGeneral(periods.get(), true)); // empty and browsing
    periods->close();
    QVERIFY(ADOQueryCheckRecordValidityGeneral(periods.get(), true));
    QVERIFY(ADOQueryCheckRecordValidityGeneral(nullptr, true));
    QVERIFY(dialogs.shown().isEmpty());
}

void TestRecordChecks::farFutureDatesCleared_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("cleared");
    QTest::addRow("2024") << 2024 << false;
    QTest::addRow("2500 stays") << 2500 << false;
    QTest::addRow("2501") << 2501 << true;
    QTest::addRow("2999") << 2999 << true;
}

void TestRecordChecks::farFutureDatesCleared()
{
    QFETCH(int, year);
    QFETCH(bool, cleared);
    test::FakeClock clock(testNow());
    const QVariant date = QVariant::fromValue(DateTime::fromParts(year, 12, 31, 23, 59));
    PeriodEdit edit(QStringLiteral("Spring"), date, date, date, QVariant());
    ClearFarFutureDates(*edit.periods);
    for (const char* field : {"StartDate", "EndDate", "StartTime"})
        QCOMPARE(edit.periods->fieldByName(QLatin1String(field)).isNull(), cleared);
    QVERIFY(edit.periods->fieldByName(QStringLiteral("EndTime")).isNull());
    QCOMPARE(edit.periods->fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("Spring"));
}

QTEST_MAIN(TestRecordChecks)
#include "tst_record_checks.moc"
