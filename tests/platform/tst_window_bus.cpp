// The window bus between real processes: posts and copy-data arrive whole and
// in order, missing captions find nothing, dead listeners free their caption,
// and a process's own listeners are found first.

#include "platform/window_bus.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <csignal>
#include <thread>

using velmora::platform::Delivery;
using velmora::platform::WindowBus;
using velmora::platform::WindowBusListener;
using velmora::test::ProgramProcess;
using velmora::test::Sandbox;

namespace {

QByteArray withZero(const QByteArray& text)
{
    QByteArray data = text;
    data.append('\0');
    return data;
}

// A `velmora_msg listen` process, ready once its caption answers.
std::unique_ptr<ProgramProcess> startListener(const Sandbox& sandbox, const QString& caption)
{
    auto process = std::make_unique<ProgramProcess>(sandbox, QStringLiteral("velmora_msg"),
                                                    QStringList{QStringLiteral("listen"), caption});
    if (!process->start() || !process->waitForCaption(caption))
        return nullptr;
    return process;
}

QStringList outputLines(ProgramProcess& process)
{
    return process.standardOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestWindowBus : public QObject {
    Q_OBJECT

private slots:
    void messagesReachAnotherProcessInOrder()
    {
        Sandbox sandbox;
        const QString caption = QStringLiteral("Velmora TopBar");
        auto peer = startListener(sandbox, caption);
        QVERIFY(peer);

        QStringList expected;
        for (int i = 0; i < 10; ++i) {
            auto target = WindowBus::find(caption);
            QVERIFY(target);
            QVERIFY(!target->isInProcess());
            if (i % 3 == 2) {
                const QByteArray text = "9:" + QByteArray::number(i) + ":0 Call Anna";
                QCOMPARE(target->sendCopyData(999999 + i, withZero(text), 5000), Delivery::Delivered);
                expected << QStringLiteral("copydata %1 %2").arg(999999 + i).arg(QString::fromUtf8(text));
            } else {
                QVERIFY(target->post(2140 + i, i, -i * 1000000000LL));
                expected << QStringLiteral("post %1 %2 %3").arg(2140 + i).arg(i).arg(-i * 1000000000LL);
            }
        }
        QVERIFY(peer->waitForOutput(expected.last()));
        QCOMPARE(outputLines(*peer), expected);
    }

    void largeCopyDataArrivesWhole()
    {
        Sandbox sandbox;
        auto peer = startListener(sandbox, QStringLiteral("Big"));
        QVERIFY(peer);
        QByteArray text;
        for (int i = 0; text.size() < 1000000; ++i) // beyond a socket buffer: arrives in pieces
            text += QByteArray::number(i) + ' ';
        auto target = WindowBus::find(QStringLiteral("Big"));
        QVERIFY(target);
        // The peer prints the text while we wait, so read its output meanwhile.
        Delivery result = Delivery::Failed;
        std::thread sender([&] { result = target->sendCopyData(7, withZero(text), 20000); });
        const bool printed = peer->waitForOutput(QStringLiteral("\n"), 20000);
        sender.join();
        QCOMPARE(result, Delivery::Delivered);
        QVERIFY(printed);
        QCOMPARE(outputLines(*peer).value(0), QStringLiteral("copydata 7 ") + QString::fromUtf8(text));
    }

    void missingCaptionFindsNothingAndPostsNothing()
    {
        Sandbox sandbox;
        auto peer = startListener(sandbox, QStringLiteral("Velmora Center"));
        QVERIFY(peer);

        for (const QString& caption : {QStringLiteral("Velmora Message"), QStringLiteral("velmora center"),
                                       QStringLiteral("Velmora Center ")}) {
            QVERIFY2(!WindowBus::find(caption), qPrintable(caption));
            QVERIFY(!WindowBus::exists(caption));
        }
        QVERIFY(WindowBus::find(QStringLiteral("Velmora Center"))->post(1, 2, 3));
        QVERIFY(peer->waitForOutput(QStringLiteral("post 1 2 3")));
        QCOMPARE(outputLines(*peer), QStringList{QStringLiteral("post 1 2 3")});
    }

    void killedListenerFreesItsCaption()
    {
        Sandbox sandbox;
        const QString caption = QStringLiteral("Velmora Message");
        auto first = startListener(sandbox, caption);
        QVERIFY(first);
        QVERIFY(WindowBus::find(caption)->post(10, 0, 0)); // this process now holds a connection
        QVERIFY(first->waitForOutput(QStringLiteral("post 10 0 0")));
        first->killHard();

        QVERIFY(!WindowBus::exists(caption));
        QVERIFY(!QFile::exists(WindowBus::socketPath(caption))); // the stale socket was cleaned

        auto second = startListener(sandbox, caption);
        QVERIFY(second);
        QVERIFY(WindowBus::find(caption)->post(11, 0, 0));
        QVERIFY(second->waitForOutput(QStringLiteral("post 11 0 0")));
        second->killHard();

        WindowBusListener own;
        QVERIFY(own.listen(caption));
        QVERIFY(WindowBus::find(caption)->isInProcess());
    }

    void closedListenerFreesItsCaption()
    {
        Sandbox sandbox;
        WindowBusListener listener;
        QVERIFY(listener.listen(QStringLiteral("Calendar")));
        QCOMPARE(listener.caption(), QStringLiteral("Calendar"));
        WindowBusListener rival;
        QVERIFY(!rival.listen(QStringLiteral("Calendar")));
        listener.close();
        QVERIFY(!listener.isListening());
        QVERIFY(!WindowBus::exists(QStringLiteral("Calendar")));
        QVERIFY(rival.listen(QStringLiteral("Calendar")));
        QVERIFY(WindowBus::exists(QStringLiteral("Calendar")));
    }

    void ownListenerIsFoundBeforeAnotherProcess()
    {
        Sandbox sandbox;
        const QString caption = QStringLiteral("Velmora Center");
        WindowBusListener own;
        QVERIFY(own.listen(caption));
        QSignalSpy posted(&own, &WindowBusListener::posted);

        // Another process cannot take the caption while this one has it.
        const auto rival = velmora::test::runProgram(sandbox, QStringLiteral("velmora_msg"),
                                                     {QStringLiteral("listen"), caption});
        QCOMPARE(rival.exitCode, 1);
        QVERIFY(rival.err.contains(QStringLiteral("already taken")));

        auto target = WindowBus::find(caption);
        QVERIFY(target && target->isInProcess());
        QVERIFY(target->post(2149, 4, 5));
        QCOMPARE(posted.size(), 0); // posted: handled by the event loop, not inside post()
        QTRY_COMPARE(posted.size(), 1);
        QCOMPARE(posted[0], (QVariantList{2149, qint64(4), qint64(5)}));
    }

    void inProcessSendWaitsForTheListenersThread()
    {
        Sandbox sandbox;
        WindowBusListener listener;
        QVERIFY(listener.listen(QStringLiteral("Main")));
        QThread* handledOn = nullptr;
        QByteArray received;
        connect(&listener, &WindowBusListener::copyData, this, [&](qint64, const QByteArray& data) {
            handledOn = QThread::currentThread();
            received = data;
        });

        // From the listener's own thread: handled before the call returns.
        QCOMPARE(WindowBus::find(QStringLiteral("Main"))->sendCopyData(1, "same", 1000), Delivery::Delivered);
        QCOMPARE(received, QByteArray("same"));

        // From another thread: handled on the listener's thread, and only
        // then does the sender go on.
        Delivery result = Delivery::Failed;
        QByteArray seenBySender;
        std::thread sender([&] {
            result = WindowBus::find(QStringLiteral("Main"))->sendCopyData(2, "other", 5000);
            seenBySender = received;
        });
        QTRY_VERIFY(received == "other");
        sender.join();
        QCOMPARE(result, Delivery::Delivered);
        QCOMPARE(seenBySender, QByteArray("other"));
        QCOMPARE(handledOn, QThread::currentThread());
    }

    void unansweredSendTimesOut()
    {
        Sandbox sandbox;
        auto peer = startListener(sandbox, QStringLiteral("Frozen"));
        QVERIFY(peer);
        ::kill(pid_t(peer->pid()), SIGSTOP);
        QCOMPARE(WindowBus::find(QStringLiteral("Frozen"))->sendCopyData(5, withZero("late"), 300),
                 Delivery::TimedOut);
        ::kill(pid_t(peer->pid()), SIGCONT);

        // The late answer must not be taken for the next message's.
        QCOMPARE(WindowBus::find(QStringLiteral("Frozen"))->sendCopyData(6, withZero("next"), 5000),
                 Delivery::Delivered);
        QVERIFY(peer->waitForOutput(QStringLiteral("copydata 6 next")));
        QCOMPARE(outputLines(*peer),
                 (QStringList{QStringLiteral("copydata 5 late"), QStringLiteral("copydata 6 next")}));
    }

    void inProcessSendToABlockedThreadTimesOut()
    {
        Sandbox sandbox;
        QThread worker;
        worker.start();
        auto* listener = new WindowBusListener;
        listener->moveToThread(&worker);
        bool listening = false;
        QMetaObject::invokeMethod(listener, [&] { listening = listener->listen(QStringLiteral("Busy")); },
                                  Qt::BlockingQueuedConnection);
        QVERIFY(listening);
        QSemaphore release;
        QMetaObject::invokeMethod(listener, [&] { release.acquire(); }); // keeps the thread busy

        QCOMPARE(WindowBus::find(QStringLiteral("Busy"))->sendCopyData(1, "x", 200), Delivery::TimedOut);
        release.release();
        QMetaObject::invokeMethod(listener, [&] { delete listener; }, Qt::BlockingQueuedConnection);
        worker.quit();
        worker.wait();
    }

    void longSessionFolderStillGivesShortSocketPaths()
    {
        Sandbox sandbox;
        const QString caption(300, QLatin1Char('c'));
        QVERIFY(QFile::encodeName(WindowBus::socketPath(caption)).size() < 108);
        WindowBusListener listener;
        QVERIFY(listener.listen(caption));
        QVERIFY(WindowBus::exists(caption));
    }
};

QTEST_MAIN(TestWindowBus)
#include "tst_window_bus.moc"
