// Window messages by caption: what arrives, what is logged on the debug
// channel, and what a receiver reads from copy-data.

#include "foundation/window_messages.h"
#include "platform/window_bus.h"
#include "tests/support/debug_capture.h"
#include "tests/support/sandbox.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using velmora::platform::WindowBusListener;
using velmora::test::DebugCapture;
using velmora::test::Sandbox;

class TestWindowMessages : public QObject {
    Q_OBJECT

private slots:
    void postIsDeliveredAndLogged()
    {
        Sandbox sandbox;
        DebugCapture capture;
        WindowBusListener calendar;
        QVERIFY(calendar.listen(QStringLiteral("Calendar")));
        QSignalSpy posted(&calendar, &WindowBusListener::posted);

        QVERIFY(SendMessageToWindow(QStringLiteral("Calendar"), 2187, 42, 5001));
        QTRY_COMPARE(posted.size(), 1);
        QCOMPARE(posted[0], (QVariantList{2187, qint64(42), qint64(5001)}));
        QCOMPARE(capture.channels(), QStringList{QStringLiteral("CommUnit")});
        QCOMPARE(capture.messages(),
                 QStringList{QStringLiteral(
                     "SendMessageToWindow: posted message 2187 to \"Calendar\" (wParam 42, lParam 5001)")});
    }

    void missingWindowGetsNothingAndIsLogged()
    {
        Sandbox sandbox;
        DebugCapture capture;
        WindowBusListener other;
        QVERIFY(other.listen(QStringLiteral("Velmora Center")));
        QSignalSpy posted(&other, &WindowBusListener::posted);
        QSignalSpy copied(&other, &WindowBusListener::copyData);

        QVERIFY(!WindowExists(QStringLiteral("Velmora TopBar")));
        QVERIFY(!FindTopWindow(QString(), QStringLiteral("Velmora TopBar")));
        QVERIFY(!SendMessageToWindow(QStringLiteral("Velmora TopBar"), 2037, 0, 0));
        QVERIFY(!SendStringMessageToWindow(QStringLiteral("Velmora TopBar"), QStringLiteral("9:0:0 Call"), 1000041));
        QTest::qWait(50);
        QCOMPARE(posted.size(), 0);
        QCOMPARE(copied.size(), 0);
        QCOMPARE(capture.messages(),
                 (QStringList{QStringLiteral("SendMessageToWindow: no window for message 2037 to \"Velmora TopBar\" "
                                             "(wParam 0, lParam 0)"),
                              QStringLiteral("SendStringMessageToWindow: no window for message 74 to \"Velmora "
                                             "TopBar\" (number 1000041, text \"9:0:0 Call\")")}));
    }

    void stringMessageArrivesWithItsZeroBeforeTheCallReturns()
    {
        Sandbox sandbox;
        DebugCapture capture;
        WindowBusListener center;
        QVERIFY(center.listen(QStringLiteral("Velmora Center")));
        QList<QPair<qint64, QByteArray>> received;
        connect(&center, &WindowBusListener::copyData, this,
                [&](qint64 number, const QByteArray& data) { received.append({number, data}); });

        QVERIFY(WindowExists(QStringLiteral("Velmora Center")));
        QCOMPARE(FindTopWindow(QStringLiteral("TFrmMain"), QStringLiteral("Velmora Center"))->caption,
                 QStringLiteral("Velmora Center"));
        QVERIFY(SendStringMessageToWindow(QStringLiteral("Velmora Center"), QStringLiteral("3/10:4"), 0));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0].first, qint64(0));
        QCOMPARE(received[0].second, QByteArray("3/10:4\0", 7));
        QCOMPARE(capture.messages(),
                 QStringList{QStringLiteral(
                     "SendStringMessageToWindow: sent message 74 to \"Velmora Center\" (number 0, text \"3/10:4\")")});
    }

    void copyDataText_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        QTest::addRow("text and zero") << QByteArray("abc\0", 4) << "abc";
        QTest::addRow("bytes after the zero ignored") << QByteArray("abc\0junk", 8) << "abc";
        QTest::addRow("no zero at all") << QByteArray("abc") << "abc";
        QTest::addRow("only the zero") << QByteArray("\0", 1) << "";
        QTest::addRow("nothing") << QByteArray() << "";
        QTest::addRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\0", 8) << QStringLiteral("Grüße");
    }

    void copyDataText()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        QCOMPARE(CopyDataText(data), expected);
    }
};

QTEST_MAIN(TestWindowMessages)
#include "tst_window_messages.moc"
