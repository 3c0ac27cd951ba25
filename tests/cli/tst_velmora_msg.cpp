// velmora_msg as a user runs it: argument checking, exit codes, and messages
// that reach a listener of the test.

#include "platform/window_bus.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QSignalSpy>
#include <QTest>

using velmora::platform::WindowBusListener;
using velmora::test::ProgramProcess;
using velmora::test::runProgram;
using velmora::test::Sandbox;

class TestVelmoraMsg : public QObject {
    Q_OBJECT

private slots:
    void badArgumentsShowUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::addRow("nothing") << QStringList{} << "";
        QTest::addRow("unknown command") << QStringList{"shout", "X"} << "unknown command: shout";
        QTest::addRow("find without caption") << QStringList{"find"} << "";
        QTest::addRow("find with two captions") << QStringList{"find", "A", "B"} << "";
        QTest::addRow("post without number") << QStringList{"post", "X"} << "";
        QTest::addRow("post word as number") << QStringList{"post", "X", "abc"} << "NUMBER is not a message number: abc";
        QTest::addRow("post number too large") << QStringList{"post", "X", "99999999999"}
                                               << "NUMBER is not a message number";
        QTest::addRow("post word as wParam") << QStringList{"post", "X", "2140", "1x"} << "WPARAM is not a number: 1x";
        QTest::addRow("post word as lParam") << QStringList{"post", "X", "2140", "1", ""}
                                             << "LPARAM is not a number: ";
        QTest::addRow("post too many") << QStringList{"post", "X", "1", "2", "3", "4"} << "";
        QTest::addRow("send without text") << QStringList{"send", "X", "5"} << "";
        QTest::addRow("send word as number") << QStringList{"send", "X", "five", "text"}
                                             << "DATANUMBER is not a number: five";
        QTest::addRow("listen without caption") << QStringList{"listen"} << "";
    }

    void badArgumentsShowUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        Sandbox sandbox;
        const auto result = runProgram(sandbox, QStringLiteral("velmora_msg"), arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.contains(QStringLiteral("usage: velmora_msg find CAPTION")), qPrintable(result.err));
        QVERIFY2(result.err.contains(problem), qPrintable(result.err));
    }

    void findAndMissingCaptions()
    {
        Sandbox sandbox;
        WindowBusListener listener;
        QVERIFY(listener.listen(QStringLiteral("Velmora TopBar")));

        QCOMPARE(runProgram(sandbox, QStringLiteral("velmora_msg"), {"find", "Velmora TopBar"}).exitCode, 0);
        QCOMPARE(runProgram(sandbox, QStringLiteral("velmora_msg"), {"find", "Velmora Topbar"}).exitCode, 1);
        for (const QStringList& arguments : {QStringList{"post", "Nobody", "2140"},
                                             QStringList{"send", "Nobody", "0", "text"}}) {
            const auto result = runProgram(sandbox, QStringLiteral("velmora_msg"), arguments);
            QCOMPARE(result.exitCode, 1);
            QVERIFY(result.err.contains(QStringLiteral("no window \"Nobody\"")));
        }
        const auto taken = runProgram(sandbox, QStringLiteral("velmora_msg"), {"listen", "Velmora TopBar"});
        QCOMPARE(taken.exitCode, 1);
        QVERIFY(taken.err.contains(QStringLiteral("\"Velmora TopBar\" is already taken")));
    }

    void postAndSendReachTheListener()
    {
        Sandbox sandbox;
        WindowBusListener listener;
        QVERIFY(listener.listen(QStringLiteral("Velmora TopBar")));
        QSignalSpy posted(&listener, &WindowBusListener::posted);
        QSignalSpy copied(&listener, &WindowBusListener::copyData);

        ProgramProcess post(sandbox, QStringLiteral("velmora_msg"), {"post", "Velmora TopBar", "2148", "-5"});
        QVERIFY(post.start());
        QTRY_COMPARE(posted.size(), 1);
        QVERIFY(post.waitForFinished());
        QCOMPARE(post.exitCode(), 0);
        QCOMPARE(posted[0], (QVariantList{2148, qint64(-5), qint64(0)}));

        // send waits for this process to handle the data, so keep the loop running.
        ProgramProcess send(sandbox, QStringLiteral("velmora_msg"), {"send", "Velmora TopBar", "1000041", "9:5:0 Call"});
        QVERIFY(send.start());
        QTRY_COMPARE(copied.size(), 1);
        QVERIFY(send.waitForFinished());
        QCOMPARE(send.exitCode(), 0);
        QCOMPARE(copied[0], (QVariantList{qint64(1000041), QByteArray("9:5:0 Call\0", 11)}));
    }
};

QTEST_MAIN(TestVelmoraMsg)
#include "tst_velmora_msg.moc"
