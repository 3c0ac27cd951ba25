#pragma once
// Logging off, powering off, restarting and shutting down the computer, behind
// a narrow interface so that tests and CI only ever record what would happen.

#include <QString>

#include <optional>

namespace velmora::platform {

enum class PowerAction {
    LogOffSafely,
    PowerOffSafely,
    RebootSafely,
    ShutDownSafely,
    LogOffByForce,
    PowerOffByForce,
    RebootByForce,
    ShutDownByForce,
};

// A reminder's Behavior code: 1..4 the safe actions, 5..8 the same by force;
// 0 and every other code ask for nothing.
std::optional<PowerAction> PowerActionForBehavior(int behavior);

// "LogOffSafely", "RebootByForce", ...: the line a recorder writes.
QString powerActionName(PowerAction action);

class PowerActions {
public:
    virtual ~PowerActions() = default;
    // Asks the system for the action; true when the request was handed over.
    virtual bool perform(PowerAction action) = 0;
    // True for objects that only note the action down and never carry it out.
    virtual bool isRecorder() const = 0;
};

// Asks systemd-logind: loginctl for the session, systemctl for the machine.
class LogindPowerActions final : public PowerActions {
public:
    bool perform(PowerAction action) override;
    bool isRecorder() const override { return false; }
};

// Appends one line per action, its name, to a file; with no file, to the log.
class RecordingPowerActions final : public PowerActions {
public:
    explicit RecordingPowerActions(QString file = QString()) : m_file(std::move(file)) {}
    bool perform(PowerAction action) override;
    bool isRecorder() const override { return true; }
    QString file() const { return m_file; }

private:
    QString m_file;
};

// The object in force: one installed by installPowerActions, else a recorder
// when VELMORA_POWER_ACTIONS is set (record:FILE writes to FILE) or CI is set,
// else LogindPowerActions.
PowerActions& systemPowerActions();

// Puts an object of the caller's in force (nullptr goes back to the choice by
// environment). The caller keeps ownership and keeps it alive while installed.
void installPowerActions(PowerActions* actions);

} // namespace velmora::platform
