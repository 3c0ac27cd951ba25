// Several programs on one database file: concurrent posts lose nothing and
// never fail with "database is locked"; a program killed mid-run leaves a
// sound file holding every row it committed.
#include "datastore/db_connection.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"
#include "tests/support/scratch_database.h"

#include <QtTest>

using namespace velmora;

class TestSharedFile : public QObject {
    Q_OBJECT
private slots:
    void twoProgramsPostAtOnce();
    void killedProgramLeavesEveryCommittedRow();
};

void TestSharedFile::twoProgramsPostAtOnce()
{
    test::Sandbox sandbox;
    test::ScratchDatabase db;
    constexpr int kRows = 1000;
    test::ProgramProcess first(sandbox, QStringLiteral("velmora_test_helper"),
                               {QStringLiteral("post-items"), db.path(), QString::number(kRows), QStringLiteral("first")});
    test::ProgramProcess second(sandbox, QStringLiteral("velmora_test_helper"),
                                {QStringLiteral("post-items"), db.path(), QString::number(kRows), QStringLiteral("second")});
    QVERIFY(first.start());
    QVERIFY(second.start());
    // Meanwhile this process reads, as the other programs of the suite would.
    for (int i = 0; i < 50 && (first.running() || second.running()); ++i)
        db.count(QStringLiteral("Items"));
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(!first.standardError().contains(QStringLiteral("locked")), qPrintable(first.standardError()));
    QVERIFY2(!second.standardError().contains(QStringLiteral("locked")), qPrintable(second.standardError()));
    QCOMPARE(db.count(QStringLiteral("Items")), 2 * kRows);
    for (const char* label : {"first", "second"})
        QCOMPARE(db.connection()
                     .scalar(QStringLiteral("SELECT count(DISTINCT Amount) FROM Items WHERE Name LIKE ?1"),
                             {QString::fromLatin1(label) + QStringLiteral(" %")})
                     .toInt(),
                 kRows);
}

void TestSharedFile::killedProgramLeavesEveryCommittedRow()
{
    test::Sandbox sandbox;
    test::ScratchDatabase db;
    test::ProgramProcess poster(sandbox, QStringLiteral("velmora_test_helper"),
                                {QStringLiteral("post-items"), db.path(), QStringLiteral("100000"), QStringLiteral("x")});
    QVERIFY(poster.start());
    QVERIFY(poster.waitForOutput(QStringLiteral("posted 200\n"), 60000));
    poster.killHard();
    const QStringList lines = poster.standardOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const int committed = lines.last().section(QLatin1Char(' '), 1).toInt();
    QVERIFY(committed >= 200);

    auto reopened = DbConnection::open(db.path());
    QCOMPARE(reopened->scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    const qint64 rows = reopened->scalar(QStringLiteral("SELECT count(*) FROM Items")).toLongLong();
    // Every row it reported is there; at most the one in flight beyond it.
    QVERIFY2(rows >= committed && rows <= committed + 1, qPrintable(QStringLiteral("%1 rows, %2 reported").arg(rows).arg(committed)));
    QCOMPARE(reopened->scalar(QStringLiteral("SELECT max(Amount) FROM Items")).toLongLong(), rows);
}

QTEST_MAIN(TestSharedFile)
#include "tst_shared_file.moc"
