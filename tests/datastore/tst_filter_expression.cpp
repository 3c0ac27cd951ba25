// Client-side filters: which records a filter text lets through, and the
// messages for texts that are not filters.

#include "datastore/filter_expression.h"
#include "foundation/date_time.h"
#include "platform/exception.h"

#include <QTest>

using namespace velmora;

namespace {

// One record as the dataset stores it: null, qint64, double, QString.
QVariantMap sampleRecord()
{
    return {
        {QStringLiteral("IsTodayReminder"), qint64(1)},
        {QStringLiteral("HasNotified"), qint64(0)},
        {QStringLiteral("Legacy"), qint64(-1)}, // a true written by an older program
        {QStringLiteral("Flag"), true},
        {QStringLiteral("ParentID"), qint64(5)},
        {QStringLiteral("RecurrenceState"), qint64(1)},
        {QStringLiteral("Amount"), 2.5},
        {QStringLiteral("Count"), QStringLiteral("12")},
        {QStringLiteral("Name"), QStringLiteral("O'Brien")},
        {QStringLiteral("Subject"), QStringLiteral("Weekly Review")},
        {QStringLiteral("StartDate"), DateTime::fromParts(2005, 12, 31, 18, 0).toDays()},
        {QStringLiteral("Due"), QVariant::fromValue(DateTime::fromParts(2006, 1, 1))},
        {QStringLiteral("Empty"), QVariant()},
    };
}

FilterExpression::FieldLookup lookupIn(const QVariantMap& record)
{
    return [record](const QString& name, bool* found) {
        *found = record.contains(name);
        return record.value(name);
    };
}

} // namespace

class TestFilterExpression : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void emptyFilterMatchesEverything();
    void missingFieldIsNamed();
    void malformedTextsNameThePosition_data();
    void malformedTextsNameThePosition();
};

void TestFilterExpression::matches_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("expected");

    QTest::addRow("today's unnotified reminders") << "(IsTodayReminder = True) and (HasNotified = False)" << true;
    QTest::addRow("= False on a true") << "IsTodayReminder = False" << false;
    QTest::addRow("-1 is true") << "Legacy = True" << true;
    QTest::addRow("<> True on a false") << "HasNotified <> True" << true;
    QTest::addRow("real boolean against a number") << "Flag = 1" << true;
    QTest::addRow("plain items and masters")
        << "((RecurrenceState = 0) or (RecurrenceState = 1) )" << true;

    QTest::addRow("number equal") << "ParentID = 5" << true;
    QTest::addRow("number equal as decimal") << "ParentID = 5.0" << true;
    QTest::addRow("number unequal") << "ParentID <> 5" << false;
    QTest::addRow("between") << "ParentID > 4 AND ParentID < 6" << true;
    QTest::addRow("at or above") << "ParentID >= 5" << true;
    QTest::addRow("at or below, not") << "ParentID <= 4" << false;
    QTest::addRow("negative number") << "Amount > -1" << true;
    QTest::addRow("decimal") << "Amount = 2.5" << true;
    QTest::addRow("number text compares as number") << "Count > 9" << true;
    QTest::addRow("word against number") << "Amount = 'abc'" << false;
    QTest::addRow("word unequal to number") << "Amount <> 'abc'" << true;

    QTest::addRow("quote in text") << "Name = 'O''Brien'" << true;
    QTest::addRow("text without case") << "Subject = 'WEEKLY review'" << true;
    QTest::addRow("text order") << "Subject > 'apple' and Subject < 'zebra'" << true;
    QTest::addRow("bracketed field") << "[ParentID] = 5" << true;

    QTest::addRow("like prefix with *") << "Subject LIKE 'week*'" << true;
    QTest::addRow("like suffix with percent") << "Subject like '%REVIEW'" << true;
    QTest::addRow("like single characters") << "Subject like 'W_ekly?Review'" << true;
    QTest::addRow("like must match the whole text") << "Subject like 'Review*'" << false;
    QTest::addRow("like treats a dot as a dot") << "Subject like '*.*'" << false;
    QTest::addRow("not like") << "Subject not like '*x*'" << true;
    QTest::addRow("like on a number") << "ParentID like '5'" << true;

    QTest::addRow("is null") << "Empty IS NULL" << true;
    QTest::addRow("is not null on a null") << "Empty is not null" << false;
    QTest::addRow("is null on a value") << "Name is null" << false;
    QTest::addRow("= Null") << "Empty = Null" << true;
    QTest::addRow("null is not 0") << "Empty = 0" << false;
    QTest::addRow("null is unequal to 0") << "Empty <> 0" << true;
    QTest::addRow("null is not below 1") << "Empty < 1" << false;
    QTest::addRow("null is not like anything") << "Empty like '*'" << false;
    QTest::addRow("<> Null on a value") << "ParentID <> Null" << true;

    QTest::addRow("date and time") << "StartDate = #12/31/2005 6:00 PM#" << true;
    QTest::addRow("after a day") << "StartDate > #2005-12-31#" << true;
    QTest::addRow("before the next day") << "StartDate < #1/1/2006#" << true;
    QTest::addRow("date value field") << "Due = #2006-01-01#" << true;
    QTest::addRow("date value against stored days") << "Due > StartDate" << true;
    QTest::addRow("date against a date text") << "Due = '2006-01-01'" << true;

    QTest::addRow("not") << "not (ParentID = 5)" << false;
    QTest::addRow("not binds tighter than or") << "NOT ParentID = 5 OR Flag = True" << true;
    QTest::addRow("and binds tighter than or") << "ParentID = 5 or ParentID = 4 and Name = 'x'" << true;
    QTest::addRow("parentheses win") << "(ParentID = 5 or ParentID = 4) and Name = 'x'" << false;
}

void TestFilterExpression::matches()
{
    QFETCH(QString, filter);
    QFETCH(bool, expected);
    const FilterExpression expression = FilterExpression::parse(filter);
    QVERIFY(!expression.isEmpty());
    QCOMPARE(expression.matches(lookupIn(sampleRecord())), expected);
}

void TestFilterExpression::emptyFilterMatchesEverything()
{
    for (const QString& text : {QString(), QStringLiteral("   ")}) {
        const FilterExpression expression = FilterExpression::parse(text);
        QVERIFY(expression.isEmpty());
        QVERIFY(expression.matches(lookupIn({})));
    }
    QVERIFY(FilterExpression().matches(lookupIn({})));
}

void TestFilterExpression::missingFieldIsNamed()
{
    const FilterExpression expression = FilterExpression::parse(QStringLiteral("ParentID = 5 and Parent = 5"));
    try {
        expression.matches(lookupIn(sampleRecord()));
        QFAIL("a field the record lacks went unnoticed");
    } catch (const Exception& error) {
        QCOMPARE(error.message(), QStringLiteral("Field 'Parent' not found"));
    }
}

void TestFilterExpression::malformedTextsNameThePosition_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("message");

    QTest::addRow("value missing at the end") << "ParentID =" << "a field or value expected at position 11";
    QTest::addRow("unclosed parenthesis") << "(ParentID = 5" << "')' expected at position 14";
    QTest::addRow("operator missing") << "ParentID 5" << "a comparison expected at position 10";
    QTest::addRow("field alone") << "IsComplete" << "a comparison expected at position 11";
    QTest::addRow("unterminated text") << "Name = 'abc" << "unterminated ' at position 8";
    QTest::addRow("two conditions without and") << "ParentID = 5 ParentID = 6" << "'and' or 'or' expected at position 14";
    QTest::addRow("stray closing parenthesis") << "ParentID = 5)" << "'and' or 'or' expected at position 13";
    QTest::addRow("impossible date") << "StartDate = #2/30/2005#" << "invalid date #2/30/2005# at position 13";
    QTest::addRow("starts with and") << "and ParentID = 5" << "a field or value expected at position 1";
    QTest::addRow("is without null") << "Empty IS 5" << "'null' expected at position 10";
    QTest::addRow("not without like") << "Name not = 'x'" << "'like' expected at position 10";
    QTest::addRow("unknown character") << "ParentID = @" << "a field or value expected at position 12";
}

void TestFilterExpression::malformedTextsNameThePosition()
{
    QFETCH(QString, filter);
    QFETCH(QString, message);
    try {
        FilterExpression::parse(filter);
        QFAIL("a malformed filter was accepted");
    } catch (const Exception& error) {
        QCOMPARE(error.message(), QStringLiteral("Malformed filter \"%1\": %2").arg(filter, message));
    }
}

QTEST_MAIN(TestFilterExpression)
#include "tst_filter_expression.moc"
