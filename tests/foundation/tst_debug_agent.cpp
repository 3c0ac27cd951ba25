// The debug channel: the wire text a viewer receives, the stopwatch, and a
// real viewer process on both ends of the channel.

#include "foundation/clock.h"
#include "foundation/debug_agent.h"
#include "platform/system_identity.h"
#include "tests/support/debug_capture.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QTest>

using namespace velmora;
using velmora::test::DebugCapture;
using velmora::test::ProgramProcess;
using velmora::test::Sandbox;

class TestDebugAgent : public QObject {
    Q_OBJECT

private slots:
    void wireText_data()
    {
        QTest::addColumn<QString>("computer");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        QTest::addRow("plain") << "desk" << "anna" << "CommUnit" << "Started"
                               << "desk anna CommUnit \r\n\tStarted";
        QTest::addRow("channel of 25 cut to 18")
            << "desk" << "anna" << "ABCDEFGHIJKLMNOPQRSTUVWXY" << "m" << "desk anna ABCDEFGHIJKLMNOPQR \r\n\tm";
        QTest::addRow("channel of exactly 18")
            << "desk" << "anna" << "ABCDEFGHIJKLMNOPQR" << "m" << "desk anna ABCDEFGHIJKLMNOPQR \r\n\tm";
        QTest::addRow("CR LF inside the message kept")
            << "desk" << "anna" << "EXCEPTION" << "first\r\nsecond" << "desk anna EXCEPTION \r\n\tfirst\r\nsecond";
        QTest::addRow("unreadable names") << "" << "" << "Comm" << "x" << "Unkown Unkown Comm \r\n\tx";
        QTest::addRow("empty channel and message") << "desk" << "anna" << "" << "" << "desk anna  \r\n\t";
    }

    void wireText()
    {
        QFETCH(QString, computer);
        QFETCH(QString, user);
        QFETCH(QString, channel);
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(DebugWireText(computer, user, channel, message), expected);
    }

    void viewerReceivesTheWireText_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("message");
        QTest::addRow("ordinary") << "DBComm" << "Open query: SELECT * FROM ITask";
        QTest::addRow("long channel") << "TFrmReminderSettingsDialog" << "shown";
        QTest::addRow("multi-line message") << "EXCEPTION" << "Post(): ==== E X C E P T I O N====\r\nboom\r\n0";
        QTest::addRow("non-ASCII") << "Comm" << QStringLiteral("Zürich – 東京");
    }

    void viewerReceivesTheWireText()
    {
        QFETCH(QString, channel);
        QFETCH(QString, message);
        Sandbox sandbox;
        DebugCapture capture;
        QVERIFY(IsDebugServerPresent());
        QVERIFY(SendDebugMessage(channel, kDiagnosticLevel, message));
        QCOMPARE(capture.wireTexts(),
                 QStringList{DebugWireText(platform::computerName(), platform::userName(), channel.left(18),
                                           message)});
        QCOMPARE(capture.messages(), QStringList{message});
        QCOMPARE(capture.channels(), QStringList{channel.left(18)});
    }

    void noViewerMeansFalse()
    {
        Sandbox sandbox;
        QVERIFY(!IsDebugServerPresent());
        QVERIFY(!SendDebugMessage(QStringLiteral("Comm"), kTraceLevel, QStringLiteral("lost")));
        {
            DebugCapture capture;
            QVERIFY(SendDebugMessage(QStringLiteral("Comm"), kTraceLevel, QStringLiteral("kept")));
        }
        QVERIFY(!IsDebugServerPresent()); // a viewer that went away is not found
        QVERIFY(!SendDebugMessage(QStringLiteral("Comm"), kTraceLevel, QStringLiteral("lost")));
    }

    void elapsedTimeIsMeasuredFromTheLastStart_data()
    {
        QTest::addColumn<qint64>("elapsedMsecs");
        QTest::addColumn<QString>("expected");
        QTest::addRow("one and a half seconds") << qint64(1500) << "Label takes time: 0:0:1 500ms.";
        QTest::addRow("nothing") << qint64(0) << "Label takes time: 0:0:0 0ms.";
        QTest::addRow("no leading zeros") << qint64(3723004) << "Label takes time: 1:2:3 4ms.";
    }

    void elapsedTimeIsMeasuredFromTheLastStart()
    {
        QFETCH(qint64, elapsedMsecs);
        QFETCH(QString, expected);
        Sandbox sandbox;
        DebugCapture capture;
        ManualClock clock(DateTime::fromParts(2024, 3, 5, 9, 0));
        Clock::install(&clock);
        StartTiming(QStringLiteral("first"));
        clock.advanceMsecs(7000);
        StartTiming(QStringLiteral("second"));
        clock.advanceMsecs(elapsedMsecs);
        LogElapsed(QStringLiteral("Label"));
        Clock::install(nullptr);
        QCOMPARE(capture.messages(), QStringList{expected});
        QCOMPARE(capture.channels(), QStringList{QStringLiteral("DebugAgent")});
    }

    void realViewerProcess()
    {
        Sandbox sandbox;
        QCOMPARE(velmora::test::runProgram(sandbox, QStringLiteral("velmora_debugview"),
                                           {QStringLiteral("--send"), QStringLiteral("Comm"), QStringLiteral("x")})
                     .exitCode,
                 1);

        ProgramProcess viewer(sandbox, QStringLiteral("velmora_debugview"));
        QVERIFY(viewer.start());
        QVERIFY(viewer.waitForCaption(QString::fromLatin1(kDebugServerCaption)));
        QVERIFY(SendDebugMessage(QStringLiteral("TestChannel"), kTraceLevel, QStringLiteral("hello from the test")));
        QVERIFY(viewer.waitForOutput(QStringLiteral("TestChannel \r\n\thello from the test")));

        const auto sent = velmora::test::runProgram(
            sandbox, QStringLiteral("velmora_debugview"),
            {QStringLiteral("--send"), QStringLiteral("CliChannel"), QStringLiteral("hello from a program")});
        QCOMPARE(sent.exitCode, 0);
        QVERIFY(viewer.waitForOutput(QStringLiteral("CliChannel \r\n\thello from a program")));

        // A second viewer in the same session gives way to the first.
        const auto second = velmora::test::runProgram(sandbox, QStringLiteral("velmora_debugview"), {});
        QCOMPARE(second.exitCode, 1);
    }

    void captureSeesTracesOfChildPrograms()
    {
        Sandbox sandbox;
        DebugCapture capture;
        const auto sent = velmora::test::runProgram(
            sandbox, QStringLiteral("velmora_debugview"),
            {QStringLiteral("--send"), QStringLiteral("Child"), QStringLiteral("from a child")});
        QCOMPARE(sent.exitCode, 0);
        QVERIFY(capture.contains(QStringLiteral("from a child")));
        QCOMPARE(capture.channels(), QStringList{QStringLiteral("Child")});
        capture.clear();
        QVERIFY(capture.wireTexts().isEmpty());
    }
};

QTEST_MAIN(TestDebugAgent)
#include "tst_debug_agent.moc"
