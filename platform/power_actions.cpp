#include "platform/power_actions.h"

#include <QDebug>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>

#include <map>
#include <memory>

#include <unistd.h>

namespace velmora::platform {

std::optional<PowerAction> PowerActionForBehavior(int behavior)
{
    switch (behavior) {
    case 1: return PowerAction::LogOffSafely;
    case 2: return PowerAction::PowerOffSafely;
    case 3: return PowerAction::RebootSafely;
    case 4: return PowerAction::ShutDownSafely;
    case 5: return PowerAction::LogOffByForce;
    case 6: return PowerAction::PowerOffByForce;
    case 7: return PowerAction::RebootByForce;
    case 8: return PowerAction::ShutDownByForce;
    default: return std::nullopt;
    }
}

QString powerActionName(PowerAction action)
{
    switch (action) {
    case PowerAction::LogOffSafely: return QStringLiteral("LogOffSafely");
    case PowerAction::PowerOffSafely: return QStringLiteral("PowerOffSafely");
    case PowerAction::RebootSafely: return QStringLiteral("RebootSafely");
    case PowerAction::ShutDownSafely: return QStringLiteral("ShutDownSafely");
    case PowerAction::LogOffByForce: return QStringLiteral("LogOffByForce");
    case PowerAction::PowerOffByForce: return QStringLiteral("PowerOffByForce");
    case PowerAction::RebootByForce: return QStringLiteral("RebootByForce");
    case PowerAction::ShutDownByForce: return QStringLiteral("ShutDownByForce");
    }
    return QString();
}

namespace {

bool startDetached(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    return !path.isEmpty() && QProcess::startDetached(path, arguments);
}

// Ends this login session; without a known session, every session of the user.
bool logOff(bool byForce)
{
    const QString session = qEnvironmentVariable("XDG_SESSION_ID");
    QStringList arguments;
    if (byForce) {
        // Programs get no chance to ask to stay open.
        arguments << (session.isEmpty() ? QStringLiteral("kill-user") : QStringLiteral("kill-session"))
                  << QStringLiteral("--signal=SIGKILL");
    } else {
        arguments << (session.isEmpty() ? QStringLiteral("terminate-user") : QStringLiteral("terminate-session"));
    }
    arguments << (session.isEmpty() ? QString::number(::getuid()) : session);
    return startDetached(QStringLiteral("loginctl"), arguments);
}

bool systemAction(const QString& verb, bool byForce)
{
    QStringList arguments{verb};
    // Inhibitor locks are how running programs ask for a delay; by force
    // means not waiting for them, while services still stop in good order.
    if (byForce)
        arguments << QStringLiteral("--ignore-inhibitors");
    return startDetached(QStringLiteral("systemctl"), arguments);
}

} // namespace

bool LogindPowerActions::perform(PowerAction action)
{
    // Stopping the system without cutting the power would leave a modern
    // machine running with nothing on it, so shutting down powers off too.
    switch (action) {
    case PowerAction::LogOffSafely: return logOff(false);
    case PowerAction::LogOffByForce: return logOff(true);
    case PowerAction::PowerOffSafely:
    case PowerAction::ShutDownSafely: return systemAction(QStringLiteral("poweroff"), false);
    case PowerAction::PowerOffByForce:
    case PowerAction::ShutDownByForce: return systemAction(QStringLiteral("poweroff"), true);
    case PowerAction::RebootSafely: return systemAction(QStringLiteral("reboot"), false);
    case PowerAction::RebootByForce: return systemAction(QStringLiteral("reboot"), true);
    }
    return false;
}

bool RecordingPowerActions::perform(PowerAction action)
{
    const QString name = powerActionName(action);
    if (m_file.isEmpty()) {
        qInfo().noquote() << "Power action recorded, not performed:" << name;
        return true;
    }
    QFile file(m_file);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (name + QLatin1Char('\n')).toUtf8();
    return file.write(line) == line.size();
}

namespace {

QMutex& choiceMutex()
{
    static QMutex mutex;
    return mutex;
}

PowerActions* installedActions = nullptr;

} // namespace

PowerActions& systemPowerActions()
{
    const QMutexLocker lock(&choiceMutex());
    if (installedActions)
        return *installedActions;

    const QString variable = qEnvironmentVariable("VELMORA_POWER_ACTIONS");
    const bool record = qEnvironmentVariableIsSet("VELMORA_POWER_ACTIONS") || qEnvironmentVariableIsSet("CI");
    // Any value of the variable, even one we do not understand, means
    // "record": a typo must never turn into a real shutdown.
    const QString file = variable.startsWith(QLatin1String("record:")) ? variable.mid(7) : QString();
    const QString choice = record ? QStringLiteral("record:") + file : QStringLiteral("logind");

    // Objects stay alive once made, so a reference handed out earlier never
    // dangles when the environment changes.
    static std::map<QString, std::unique_ptr<PowerActions>> made;
    auto& actions = made[choice];
    if (!actions) {
        if (record)
            actions = std::make_unique<RecordingPowerActions>(file);
        else
            actions = std::make_unique<LogindPowerActions>();
    }
    return *actions;
}

void installPowerActions(PowerActions* actions)
{
    const QMutexLocker lock(&choiceMutex());
    installedActions = actions;
}

} // namespace velmora::platform
