// velmora_dbtool as a real process: making a new database, with and without
// the sample set, never over an existing file, and what it does with bad input.

#include "foundation/date_time.h"
#include "tests/datastore/database_probe.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using velmora::DateTime;
using velmora::test::DatabaseProbe;
using velmora::test::ProgramResult;

class TestVelmoraDbtool : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_sandbox = std::make_unique<velmora::test::Sandbox>();
        m_path = m_sandbox->installRoot() + QStringLiteral("Data/VelmoraV2.mdb");
        QFile::remove(m_path);
    }
    void cleanup() { m_sandbox.reset(); }

    void createMakesAnEmptyDatabase();
    void demoFillsItAroundTheClocksDay_data();
    void demoFillsItAroundTheClocksDay();
    void existingFileIsRefusedAndUntouched();
    void badArgumentsShowUsage_data();
    void badArgumentsShowUsage();

private:
    ProgramResult dbtool(const QStringList& arguments)
    {
        return velmora::test::runProgram(*m_sandbox, QStringLiteral("velmora_dbtool"), arguments, 60000);
    }
    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
    QString m_path;
};

void TestVelmoraDbtool::createMakesAnEmptyDatabase()
{
    const ProgramResult result = dbtool({QStringLiteral("--create"), m_path});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(QStringLiteral("Created ") + m_path), qPrintable(result.out));
    QCOMPARE(result.err, QString());

    DatabaseProbe probe(m_path);
    QCOMPARE(probe.text(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Users")), qint64(1));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Categories")), qint64(22));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask")), qint64(0));
}

void TestVelmoraDbtool::demoFillsItAroundTheClocksDay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("create then demo") << QStringList{"--create", "PATH", "--demo"};
    QTest::addRow("demo first") << QStringList{"--demo", "--create", "PATH"};
}

void TestVelmoraDbtool::demoFillsItAroundTheClocksDay()
{
    QFETCH(QStringList, arguments);
    arguments.replaceInStrings(QStringLiteral("PATH"), m_path);
    m_sandbox->setFakeNow(QStringLiteral("2024-06-12T09:00:00"));

    const ProgramResult result = dbtool(arguments);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());

    // The report tells what is in the file.
    const QRegularExpressionMatch appointments =
        QRegularExpression(QStringLiteral("(\\d+) appointments, (\\d+) tasks")).match(result.out);
    QVERIFY2(appointments.hasMatch(), qPrintable(result.out));
    DatabaseProbe probe(m_path);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE IsTask = 0 AND RecurrenceState = 0")),
             appointments.captured(1).toLongLong());
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM ITask WHERE IsTask <> 0 AND RecurrenceState = 0")),
             appointments.captured(2).toLongLong());

    // The program's day is the clock's, not the machine's.
    const DateTime today = DateTime::fromParts(2024, 6, 12);
    const DateTime first = DateTime::fromDays(
        probe.value(QStringLiteral("SELECT MIN(StartDate) FROM ITask WHERE RecurrenceState = 0")).toDouble());
    const DateTime last = DateTime::fromDays(
        probe.value(QStringLiteral("SELECT MAX(StartDate) FROM ITask WHERE RecurrenceState = 0")).toDouble());
    QVERIFY2(first >= today.addDays(-100) && first < today.addDays(-60), qPrintable(first.toIsoText()));
    QVERIFY2(last > today.addDays(60) && last <= today.addDays(100), qPrintable(last.toIsoText()));
}

void TestVelmoraDbtool::existingFileIsRefusedAndUntouched()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the user's own data\n");
    }
    const ProgramResult result = dbtool({QStringLiteral("--create"), m_path, QStringLiteral("--demo")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QStringLiteral("already exists")), qPrintable(result.err));
    QVERIFY2(result.err.contains(m_path), qPrintable(result.err));
    QCOMPARE(result.out, QString());

    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the user's own data\n"));
}

void TestVelmoraDbtool::badArgumentsShowUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("none yet: the window comes later") << QStringList{};
    QTest::addRow("create without a path") << QStringList{"--create"};
    QTest::addRow("create followed by an option") << QStringList{"--create", "--demo"};
    QTest::addRow("demo alone") << QStringList{"--demo"};
    QTest::addRow("unknown option") << QStringList{"--create", "PATH", "--force"};
    QTest::addRow("two paths") << QStringList{"--create", "PATH", "--create", "PATH2"};
    QTest::addRow("stray word") << QStringList{"--create", "PATH", "extra"};
}

void TestVelmoraDbtool::badArgumentsShowUsage()
{
    QFETCH(QStringList, arguments);
    arguments.replaceInStrings(QStringLiteral("PATH2"), m_path + QStringLiteral(".second"));
    arguments.replaceInStrings(QStringLiteral("PATH"), m_path);

    const ProgramResult result = dbtool(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QStringLiteral("Usage: velmora_dbtool --create PATH [--demo]")), qPrintable(result.err));
    QVERIFY(!QFile::exists(m_path));
    QVERIFY(!QFile::exists(m_path + QStringLiteral(".second")));
}

QTEST_MAIN(TestVelmoraDbtool)
#include "tst_velmora_dbtool.moc"
