// Named mutexes across real processes: exclusive between processes, free
// again when the holder dies, re-entrant inside one process.

#include "platform/named_mutex.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QTest>

#include <csignal>
#include <thread>

using velmora::platform::NamedMutex;
using velmora::test::ProgramProcess;
using velmora::test::Sandbox;

namespace {

const QString kName = QStringLiteral("Velmora Message GetReminders Mutex");

std::unique_ptr<ProgramProcess> startHolder(const Sandbox& sandbox, const QString& name)
{
    auto holder = std::make_unique<ProgramProcess>(sandbox, QStringLiteral("velmora_test_helper"),
                                                   QStringList{QStringLiteral("hold-mutex"), name});
    if (!holder->start() || !holder->waitForOutput(QStringLiteral("held")))
        return nullptr;
    return holder;
}

// Exit code of a second holder: 3 ("busy") when the mutex is taken.
int secondHolderExitCode(const Sandbox& sandbox, const QString& name)
{
    ProgramProcess holder(sandbox, QStringLiteral("velmora_test_helper"), {QStringLiteral("hold-mutex"), name});
    if (!holder.start())
        return -1;
    if (holder.waitForOutput(QStringLiteral("held"), 5000))
        return 0;
    holder.waitForFinished();
    return holder.exitCode();
}

} // namespace

class TestNamedMutex : public QObject {
    Q_OBJECT

private slots:
    void heldByAnotherProcessCannotBeTaken()
    {
        Sandbox sandbox;
        auto holder = startHolder(sandbox, kName);
        QVERIFY(holder);
        NamedMutex mutex(kName);
        QVERIFY(!mutex.tryLock(0));
        QVERIFY(!mutex.tryLock(100));
        QCOMPARE(secondHolderExitCode(sandbox, kName), 3);

        NamedMutex other(QStringLiteral("Velmora Message MuTex"));
        QVERIFY(other.tryLock(0)); // names do not disturb each other
    }

    void freeAgainWhenTheHolderIsKilled()
    {
        Sandbox sandbox;
        auto holder = startHolder(sandbox, kName);
        QVERIFY(holder);
        holder->killHard();
        NamedMutex mutex(kName);
        QVERIFY(mutex.tryLock(0));
        QCOMPARE(secondHolderExitCode(sandbox, kName), 3);
        mutex.unlock();
        QCOMPARE(secondHolderExitCode(sandbox, kName), 0);
    }

    void waitingTakesItOnceTheHolderDies()
    {
        Sandbox sandbox;
        auto holder = startHolder(sandbox, kName);
        QVERIFY(holder);
        const pid_t pid = pid_t(holder->pid());
        std::thread killer([pid] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::kill(pid, SIGKILL);
        });
        NamedMutex mutex(kName);
        const bool taken = mutex.tryLock(10000);
        killer.join();
        QVERIFY(taken);
    }

    void reentrantWithinTheProcess()
    {
        Sandbox sandbox;
        NamedMutex first(kName);
        NamedMutex second(kName);
        QVERIFY(first.tryLock(0));
        QVERIFY(first.tryLock(0));
        QVERIFY(second.tryLock(0));

        first.unlock();
        first.unlock();
        QVERIFY(!first.isHeld());
        QCOMPARE(secondHolderExitCode(sandbox, kName), 3); // second still holds it
        second.unlock();
        first.unlock(); // one unlock too many changes nothing
        QCOMPARE(secondHolderExitCode(sandbox, kName), 0);
    }

    void destroyingReleasesWhatItHolds()
    {
        Sandbox sandbox;
        {
            NamedMutex mutex(kName);
            QVERIFY(mutex.tryLock(0));
            QVERIFY(mutex.tryLock(0));
        }
        QCOMPARE(secondHolderExitCode(sandbox, kName), 0);
    }
};

QTEST_MAIN(TestNamedMutex)
#include "tst_named_mutex.moc"
