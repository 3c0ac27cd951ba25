// Copying a record: the prefix, the fields left to the new-record defaults
// (named as whole items), a new key, and the source left as it was.

#include "datastore/query_tags.h"
#include "datastore/record_copy.h"
#include "tests/datastore/rules_fixture.h"
#include "tests/support/fake_clock.h"

#include <QtTest>

using namespace velmora;

class TestRecordCopy : public QObject {
    Q_OBJECT
private slots:
    void cloneCopiesAndPrefixes_data();
    void cloneCopiesAndPrefixes();
    void cloneTakesNewRecordDefaults();
    void cloneOfNothingIsRefused();
};

void TestRecordCopy::cloneCopiesAndPrefixes_data()
{
    QTest::addColumn<QString>("skipFields");
    QTest::addColumn<QString>("prefixField");
    QTest::addColumn<QStringList>("copy"); // Name, FullName, Note of the new record
    QTest::addRow("prefix the name") << QString() << QStringLiteral("Name")
                                     << QStringList{"Copy Of Work", "Work Items", "n"};
    QTest::addRow("prefix without case and blanks") << QString() << QStringLiteral(" fullname ")
                                                    << QStringList{"Work", "Copy Of Work Items", "n"};
    QTest::addRow("skip a whole item only") << QStringLiteral("Name") << QString()
                                            << QStringList{"", "Work Items", "n"};
    QTest::addRow("part of a name skips nothing") << QStringLiteral("Full, Not") << QString()
                                                  << QStringList{"Work", "Work Items", "n"};
    QTest::addRow("list with blanks and commas") << QStringLiteral(" note,FULLNAME ") << QString()
                                                 << QStringList{"Work", "", ""};
    QTest::addRow("the key named as callers do") << QStringLiteral("EntryID") << QStringLiteral("Name")
                                                 << QStringList{"Copy Of Work", "Work Items", "n"};
}

void TestRecordCopy::cloneCopiesAndPrefixes()
{
    QFETCH(QString, skipFields);
    QFETCH(QString, prefixField);
    QFETCH(QStringList, copy);
    test::FakeClock clock(DateTime::fromParts(2024, 5, 15, 10, 20));
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Entries (Name, FullName, Note, ApprovalStatus) "
                                         "VALUES ('Work', 'Work Items', 'n', 'N')"));
    auto entries = database.query(QStringLiteral("SELECT * FROM Entries ORDER BY EntryID"), 30);

    QVERIFY(CloneRecord(entries.get(), skipFields, prefixField));
    QCOMPARE(database.count(QStringLiteral("Entries")), 2);
    QCOMPARE(entries->fieldByName(QStringLiteral("EntryID")).asInteger(), 2); // the copy is current
    const auto row = [&](int id) {
        QStringList values;
        for (const char* field : {"Name", "FullName", "Note"})
            values << database.db()
                          .scalar(QStringLiteral("SELECT %1 FROM Entries WHERE EntryID = ?").arg(QLatin1String(field)),
                                  {id})
                          .toString();
        return values;
    };
    QCOMPARE(row(2), copy);
    QCOMPARE(row(1), (QStringList{"Work", "Work Items", "n"}));
}

void TestRecordCopy::cloneTakesNewRecordDefaults()
{
    const DateTime created = DateTime::fromParts(2024, 1, 2, 9, 0);
    test::FakeClock clock(DateTime::fromParts(2024, 5, 15, 10, 20));
    test::RulesDatabase database;
    database.db().execute(QStringLiteral("INSERT INTO Users (FullName, WorkType, TimeCreated) VALUES ('Ann', 'P', ?)"),
                          {created.toDays()});
    auto users = database.query(QStringLiteral("SELECT * FROM Users"), kTagUsers);

    QVERIFY(CloneRecord(users.get(), QStringLiteral("UserID, TimeCreated"), QStringLiteral("FullName")));
    QCOMPARE(users->fieldByName(QStringLiteral("FullName")).asString(), QStringLiteral("Copy Of Ann"));
    QCOMPARE(users->fieldByName(QStringLiteral("WorkType")).asString(), QStringLiteral("P")); // copied over the default
    QCOMPARE(users->fieldByName(QStringLiteral("TimeCreated")).asDateTime(), clock.now()); // skipped: the default
    QCOMPARE(users->fieldByName(QStringLiteral("WorkHours")).asFloat(), 7.5); // NULL in the source: the default
}

void TestRecordCopy::cloneOfNothingIsRefused()
{
    test::FakeClock clock(DateTime::fromParts(2024, 5, 15, 10, 20));
    test::RulesDatabase database;
    auto entries = database.query(QStringLiteral("SELECT * FROM Entries"), 30);
    QVERIFY(!CloneRecord(entries.get(), QString(), QStringLiteral("Name")));
    QVERIFY(!CloneRecord(nullptr));
    QCOMPARE(database.count(QStringLiteral("Entries")), 0);
}

QTEST_MAIN(TestRecordCopy)
#include "tst_record_copy.moc"
