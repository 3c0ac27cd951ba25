// Posting and deleting through the shared operations: the failure boxes word
// for word, rollback, the silent abort, approval locks and the reserved user.

#include "datastore/abort_error.h"
#include "datastore/foreign_key_defaults.h"
#include "datastore/post_edition.h"
#include "datastore/query_tags.h"
#include "platform/sqlite_statement.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scripted_dialogs.h"

#include <QtTest>

using namespace velmora;
using platform::DialogIcon;

namespace {

// A function, not a constant: the date arithmetic is not ready before main().
DateTime testNow()
{
    return DateTime::fromParts(2024, 5, 15, 10, 20);
}

// The engine refuses these rows the way a damaged or locked file would.
// Triggers are SQLite's own, outside the suite's dialect, so they go to the engine directly.
void createTrigger(DbConnection& db, const QString& sql)
{
    platform::SqliteStatement::execute(db.handle(), sql.toUtf8().constData());
}

void refuseRegion(DbConnection& db, const char* name)
{
    for (const char* operation : {"INSERT", "UPDATE"})
        createTrigger(db, QStringLiteral("CREATE TRIGGER Refuse%1 BEFORE %1 ON Regions WHEN NEW.Name = '%2' "
                                         "BEGIN SELECT RAISE(ABORT, 'region refused'); END")
                              .arg(QLatin1String(operation), QLatin1String(name)));
}

// Line 2 carries the engine's own words; the test checks they are there and
// compares every other line exactly.
QString withReasonOf(const QString& shownText, const QStringList& expectedLines)
{
    const QStringList shownLines = shownText.split(QStringLiteral("\r\n"));
    QStringList lines = expectedLines;
    if (shownLines.size() > 1 && shownLines.at(1).startsWith(QStringLiteral("Reason: "))
        && shownLines.at(1).contains(QStringLiteral("region refused")))
        lines[1] = shownLines.at(1);
    return lines.join(QStringLiteral("\r\n"));
}

const QStringList kAdvice = {
    QStringLiteral("1, DO NOT DELETE OR MOVE DATABASE FILE; "),
    QStringLiteral("2, DO NOT MODIFY TABLES IN DATABASE FILE MANUALLY; "),
    QStringLiteral("3, DO NOT DISCONNECT THE LINK TO DATABASE MANUALLY."),
};

} // namespace

class TestPostAndDelete : public QObject {
    Q_OBJECT
private slots:
    void postEditionWithNothingToPostDoesNotPost();
    void postEditionLeavesTheRecordEditable();
    void postEditionFailureIsShownAndReopens();
    void silentAbortPassesWithoutMessage();
    void failedPostRollsBackWithOneMessage();
    void deleteFailureIsShown();
    void deleteAllSkipsLockedRecords_data();
    void deleteAllSkipsLockedRecords();
    void deleteAllFailure_data();
    void deleteAllFailure();
    void reservedUserCanNotBeDeleted_data();
    void reservedUserCanNotBeDeleted();
};

void TestPostAndDelete::postEditionWithNothingToPostDoesNotPost()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North')"));
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions);
    int posts = 0;
    regions->events().beforePost = [&posts](DataSet&) { ++posts; };

    QVERIFY(PostEdition(regions.get()));
    QCOMPARE(regions->state(), DataSetState::Browse);
    regions->edit(); // editing without a change is nothing to post either
    QVERIFY(PostEdition(regions.get()));
    QCOMPARE(posts, 0);
    QVERIFY(PostEdition(nullptr));
    regions->close();
    QVERIFY(PostEdition(regions.get()));
}

void TestPostAndDelete::postEditionLeavesTheRecordEditable()
{
    test::FakeClock clock(testNow());
    test::RulesDatabase database;
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions, QStringLiteral("qryRegions"));
    regions->append();
    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("North"));
    QVERIFY(PostEdition(regions.get()));
    QCOMPARE(regions->state(), DataSetState::Edit);
    QCOMPARE(database.count(QStringLiteral("Regions")), 1);

    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("South"));
    QVERIFY(PostEdition(regions.get()));
    QCOMPARE(database.db().scalar(QStringLiteral("SELECT Name FROM Regions")).toString(), QStringLiteral("South"));
}

void TestPostAndDelete::postEditionFailureIsShownAndReopens()
{
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North')"));
    refuseRegion(database.db(), "Nowhere");
    // Without the shared rules the operation itself reports the failure.
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions, QStringLiteral("qryRegions"),
                                  false);
    regions->edit();
    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("Nowhere"));

    QVERIFY(!PostEdition(regions.get()));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.icon, DialogIcon::Error);
    const QStringList expected = QStringList{QStringLiteral("Post to database failed!"), QStringLiteral("Reason: ?"),
                                             QString(), QStringLiteral("To success posting data:")}
        + kAdvice
        + QStringList{QStringLiteral("4, MAKE SURE NO APPLICATION USE THE DATABASE EXCLUSIVELY!"), QString(),
                      QStringLiteral("Please restart this application to try to resolve this problem!")};
    QCOMPARE(box.text, withReasonOf(box.text, expected));
    // Read afresh and ready for the next try.
    QCOMPARE(regions->state(), DataSetState::Edit);
    QCOMPARE(regions->fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("North"));
    QCOMPARE(database.db().transactionDepth(), 0);
}

void TestPostAndDelete::silentAbortPassesWithoutMessage()
{
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions);
    regions->events().beforePost = [](DataSet&) { Abort(); };
    regions->append();
    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("North"));

    QVERIFY(!PostEdition(regions.get()));
    QVERIFY(dialogs.shown().isEmpty());
    QCOMPARE(database.count(QStringLiteral("Regions")), 0);
    // The user's input is still there to be corrected.
    QCOMPARE(regions->state(), DataSetState::Insert);
    QCOMPARE(regions->fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("North"));
}

void TestPostAndDelete::failedPostRollsBackWithOneMessage()
{
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    refuseRegion(database.db(), "Nowhere");
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions, QStringLiteral("qryRegions"));
    regions->append();
    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("Nowhere"));

    QVERIFY(!PostEdition(regions.get()));
    QCOMPARE(dialogs.shown().size(), 1); // the handler's box; the abort adds none
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.icon, DialogIcon::Error);
    QVERIFY(box.topmost);
    QCOMPARE(box.text, withReasonOf(box.text, QStringList{QStringLiteral("Post to database: qryRegions failed!"),
                                                          QStringLiteral("Reason: ?"), QString(),
                                                          QStringLiteral("To success posting data:")}
                                                  + kAdvice));
    QCOMPARE(database.db().transactionDepth(), 0);
    QCOMPARE(regions->state(), DataSetState::Browse); // pending changes cancelled
    QCOMPARE(database.count(QStringLiteral("Regions")), 0);

    // The connection is usable again and the next post is really committed.
    regions->append();
    regions->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("North"));
    QVERIFY(PostEdition(regions.get()));
    QCOMPARE(database.db().transactionDepth(), 0);
    auto other = DbConnection::open(database.path());
    QCOMPARE(other->scalar(QStringLiteral("SELECT Name FROM Regions")).toString(), QStringLiteral("North"));
}

void TestPostAndDelete::deleteFailureIsShown()
{
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North')"));
    createTrigger(database.db(), QStringLiteral("CREATE TRIGGER KeepRegions BEFORE DELETE ON Regions "
                                                "BEGIN SELECT RAISE(ABORT, 'region refused'); END"));
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions"), kTagRegions, QStringLiteral("qryRegions"));

    QVERIFY(!DeleteARecord(regions.get()));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Delete Forbidden"));
    QCOMPARE(box.icon, DialogIcon::Information);
    QCOMPARE(box.text, withReasonOf(box.text, QStringList{QStringLiteral("Delete entry failed!"),
                                                          QStringLiteral("Reason: ?"), QString(),
                                                          QStringLiteral("To success deleting this entry:")}
                                                  + kAdvice
                                                  + QStringList{QStringLiteral("4, DELETE ANY ENTRY REFERRING TO THIS ENTRY."),
                                                                QString(),
                                                                QStringLiteral("Please take corrective actions and try again!")}));
    QCOMPARE(database.count(QStringLiteral("Regions")), 1);
    QVERIFY(!DeleteARecord(nullptr));
}

void TestPostAndDelete::deleteAllSkipsLockedRecords_data()
{
    QTest::addColumn<QVariantList>("statuses");
    QTest::addColumn<QStringList>("remaining");
    const QVariant null;
    QTest::addRow("none locked") << QVariantList{"N", "R"} << QStringList{};
    QTest::addRow("mixed") << QVariantList{"N", "A", "R", null, "A"} << QStringList{"A", "", "A"};
    QTest::addRow("locked last") << QVariantList{"N", "N", "A"} << QStringList{"A"};
    QTest::addRow("all locked") << QVariantList{"A", "", null} << QStringList{"A", "", ""};
}

void TestPostAndDelete::deleteAllSkipsLockedRecords()
{
    QFETCH(QVariantList, statuses);
    QFETCH(QStringList, remaining);
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    for (const QVariant& status : statuses)
        database.db().execute(QStringLiteral("INSERT INTO Entries (Name, ApprovalStatus) VALUES ('e', ?)"), {status});
    auto entries = database.query(QStringLiteral("SELECT * FROM Entries"), 30);

    QVERIFY(DeleteAllRecords(entries.get(), false));
    QCOMPARE(dialogs.shown().size(), remaining.size()); // one lock message per locked record
    for (const auto& box : dialogs.shown())
        QCOMPARE(box.text, QStringLiteral("Entry under review or approved can not be cloned, edited or deleted!"));
    QStringList left;
    for (entries->first(); !entries->eof(); entries->next())
        left << entries->fieldByName(QStringLiteral("ApprovalStatus")).asString();
    QCOMPARE(left, remaining);
    QCOMPARE(database.count(QStringLiteral("Entries")), remaining.size());
    QVERIFY(!entries->controlsDisabled());
}

void TestPostAndDelete::deleteAllFailure_data()
{
    QTest::addColumn<bool>("reraise");
    QTest::addRow("reported") << false;
    QTest::addRow("reported and raised again") << true;
}

void TestPostAndDelete::deleteAllFailure()
{
    QFETCH(bool, reraise);
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('North'), ('South')"));
    createTrigger(database.db(), QStringLiteral("CREATE TRIGGER KeepSouth BEFORE DELETE ON Regions WHEN OLD.Name = "
                                                "'South' BEGIN SELECT RAISE(ABORT, 'region refused'); END"));
    auto regions = database.query(QStringLiteral("SELECT * FROM Regions ORDER BY RegionID"), kTagRegions);

    if (reraise)
        QVERIFY_THROWS_EXCEPTION(Exception, DeleteAllRecords(regions.get(), true));
    else
        QVERIFY(!DeleteAllRecords(regions.get(), false));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.icon, DialogIcon::Error);
    QCOMPARE(box.text, withReasonOf(box.text, QStringList{QStringLiteral("Delete entry failed!"),
                                                          QStringLiteral("Reason: ?"), QString(),
                                                          QStringLiteral("To success deleting this entry:")}
                                                  + kAdvice
                                                  + QStringList{QStringLiteral("4, DELETE ANY ENTRY REFERRING TO THIS ENTRY."),
                                                                QString(),
                                                                QStringLiteral("Please restart this application to try to resolve this problem!")}));
    QCOMPARE(database.count(QStringLiteral("Regions")), 1); // what went before the failure stays deleted
    QVERIFY(!regions->controlsDisabled());
}

void TestPostAndDelete::reservedUserCanNotBeDeleted_data()
{
    QTest::addColumn<bool>("usersAtStart");
    QTest::addRow("lowest user reserved") << true;
    QTest::addRow("users table empty at start") << false;
}

void TestPostAndDelete::reservedUserCanNotBeDeleted()
{
    QFETCH(bool, usersAtStart);
    test::FakeClock clock(testNow());
    test::ScriptedDialogs dialogs;
    test::RulesDatabase database;
    auto& db = database.db();
    db.execute(QStringLiteral("INSERT INTO Categories (Name) VALUES ('[None]')"));
    db.execute(QStringLiteral("INSERT INTO Places (Name) VALUES ('[None]')"));
    db.execute(QStringLiteral("INSERT INTO Regions (Name) VALUES ('[None]')"));
    if (usersAtStart)
        db.execute(QStringLiteral("INSERT INTO Users (UserID, FullName) VALUES (4, 'Administrator'), (6, 'Ann')"));
    auto scratch = database.query(QStringLiteral("SELECT 1"), kTagTransaction, QStringLiteral("qryTransaction"), false);
    GetDefaultIndex(*scratch);
    if (!usersAtStart)
        db.execute(QStringLiteral("INSERT INTO Users (UserID, FullName) VALUES (4, 'Administrator'), (6, 'Ann')"));

    auto users = database.query(QStringLiteral("SELECT * FROM Users ORDER BY UserID"), kTagUsers);
    QVERIFY(users->locate(QStringLiteral("UserID"), 4));
    QCOMPARE(DeleteARecord(users.get()), !usersAtStart);
    if (usersAtStart) {
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().caption, QStringLiteral("Information"));
        QCOMPARE(dialogs.shown().first().text, QStringLiteral("Reserved entry can not be deleted!"));
        QVERIFY(dialogs.shown().first().topmost);
    } else {
        QVERIFY(dialogs.shown().isEmpty());
    }
    QVERIFY(users->locate(QStringLiteral("UserID"), 6));
    QVERIFY(DeleteARecord(users.get()));
    QCOMPARE(database.count(QStringLiteral("Users")), usersAtStart ? 1 : 0);
}

QTEST_MAIN(TestPostAndDelete)
#include "tst_post_and_delete.moc"
