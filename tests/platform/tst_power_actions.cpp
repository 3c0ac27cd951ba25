// Power actions: the Behavior codes, and the choice of object by environment,
// which must never hand a test or a CI run the object that acts for real.
// Nothing here calls perform() on anything but a recorder.

#include "platform/power_actions.h"
#include "tests/support/sandbox.h"

#include <QFile>
#include <QTest>

using namespace velmora;
using namespace velmora::platform;

namespace {

QStringList recordedLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const QList<PowerAction> kAllActions{
    PowerAction::LogOffSafely,  PowerAction::PowerOffSafely,  PowerAction::RebootSafely,
    PowerAction::ShutDownSafely, PowerAction::LogOffByForce,  PowerAction::PowerOffByForce,
    PowerAction::RebootByForce, PowerAction::ShutDownByForce,
};

class CountingActions final : public PowerActions {
public:
    bool perform(PowerAction action) override
    {
        performed.append(action);
        return true;
    }
    bool isRecorder() const override { return true; }
    QList<PowerAction> performed;
};

} // namespace

class TestPowerActions : public QObject {
    Q_OBJECT

private slots:
    void behaviorCodes_data()
    {
        QTest::addColumn<int>("behavior");
        QTest::addColumn<QString>("name"); // empty: no action

        QTest::addRow("0 none") << 0 << "";
        QTest::addRow("1 log off") << 1 << "LogOffSafely";
        QTest::addRow("2 power off") << 2 << "PowerOffSafely";
        QTest::addRow("3 restart") << 3 << "RebootSafely";
        QTest::addRow("4 shut down") << 4 << "ShutDownSafely";
        QTest::addRow("5 forced log off") << 5 << "LogOffByForce";
        QTest::addRow("6 forced power off") << 6 << "PowerOffByForce";
        QTest::addRow("7 forced restart") << 7 << "RebootByForce";
        QTest::addRow("8 forced shut down") << 8 << "ShutDownByForce";
        QTest::addRow("9 beyond the table") << 9 << "";
        QTest::addRow("-1 below the table") << -1 << "";
    }
    void behaviorCodes()
    {
        QFETCH(int, behavior);
        QFETCH(QString, name);

        const auto action = PowerActionForBehavior(behavior);
        QCOMPARE(action.has_value(), !name.isEmpty());
        if (action)
            QCOMPARE(powerActionName(*action), name);
    }

    void recordsEachActionByName()
    {
        test::Sandbox sandbox; // VELMORA_POWER_ACTIONS=record:<sandbox>/power.log
        PowerActions& actions = systemPowerActions();
        QVERIFY(actions.isRecorder());
        for (PowerAction action : kAllActions)
            QVERIFY(actions.perform(action));

        QStringList expected;
        for (PowerAction action : kAllActions)
            expected << powerActionName(action);
        QCOMPARE(recordedLines(sandbox.powerLogPath()), expected);
    }

    // Which object the environment chooses; the rows with a recorder are the
    // guarantee that CI runs and tests never shut anything down.
    void choiceByEnvironment_data()
    {
        QTest::addColumn<QString>("ci");
        QTest::addColumn<QString>("variable"); // "<log>" stands for a file in the sandbox
        QTest::addColumn<bool>("recorder");
        QTest::addColumn<bool>("toFile");

        QTest::addRow("record to a file") << "" << "record:<log>" << true << true;
        QTest::addRow("CI, no variable: log only") << "true" << "" << true << false;
        QTest::addRow("CI and a file") << "1" << "record:<log>" << true << true;
        QTest::addRow("a value not understood still records") << "" << "logind" << true << false;
        QTest::addRow("record with no file") << "" << "record:" << true << false;
        QTest::addRow("neither: the real object") << "" << "" << false << false;
    }
    void choiceByEnvironment()
    {
        QFETCH(QString, ci);
        QFETCH(QString, variable);
        QFETCH(bool, recorder);
        QFETCH(bool, toFile);

        test::Sandbox sandbox;
        sandbox.setEnv("CI", ci);
        sandbox.setEnv("VELMORA_POWER_ACTIONS", QString(variable).replace(QLatin1String("<log>"), sandbox.powerLogPath()));

        PowerActions& actions = systemPowerActions();
        QCOMPARE(actions.isRecorder(), recorder);
        QCOMPARE(dynamic_cast<RecordingPowerActions*>(&actions) != nullptr, recorder);
        QCOMPARE(dynamic_cast<LogindPowerActions*>(&actions) != nullptr, !recorder);
        if (!recorder)
            return; // never performed: this is the object that acts for real

        QCOMPARE(static_cast<RecordingPowerActions&>(actions).file(), toFile ? sandbox.powerLogPath() : QString());
        QVERIFY(actions.perform(PowerAction::RebootByForce));
        QCOMPARE(recordedLines(sandbox.powerLogPath()), toFile ? QStringList{"RebootByForce"} : QStringList{});
    }

    void installedObjectWinsUntilRemoved()
    {
        test::Sandbox sandbox;
        CountingActions mine;
        installPowerActions(&mine);
        QCOMPARE(&systemPowerActions(), &mine);
        systemPowerActions().perform(PowerAction::ShutDownSafely);
        installPowerActions(nullptr);

        QCOMPARE(mine.performed, QList<PowerAction>{PowerAction::ShutDownSafely});
        QVERIFY(recordedLines(sandbox.powerLogPath()).isEmpty());
        QVERIFY(&systemPowerActions() != &mine);
        QVERIFY(systemPowerActions().isRecorder());
    }

    void recorderReportsAFileItCannotWrite()
    {
        test::Sandbox sandbox;
        RecordingPowerActions recorder(sandbox.path() + QStringLiteral("/no/such/folder/power.log"));
        QVERIFY(!recorder.perform(PowerAction::LogOffSafely));
    }
};

QTEST_MAIN(TestPowerActions)
#include "tst_power_actions.moc"
