#pragma once
// A private world for one test: its own install root (with Data, Config,
// Help, Backup, Agents), settings store, bus session, power-action recorder
// and dialog log, set in this process's environment for the sandbox's life
// and handed to every program the test starts.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <optional>

namespace velmora::test {

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString path() const { return m_dir.path(); }
    QString installRoot() const;       // with a trailing '/'
    QString settingsStorePath() const; // VELMORA_HKCU
    QString sessionFolder() const;     // VELMORA_SESSION
    QString dialogsLogPath() const;    // VELMORA_DIALOGS
    QString powerLogPath() const;      // VELMORA_POWER_ACTIONS=record:FILE
    QString shellLogPath() const;      // VELMORA_SHELL_OPEN=record:FILE

    // What was handed to the desktop to open, one "open<TAB>target" a line.
    QStringList recordedShellOpens() const;

    // Sets (or with an empty value removes) a variable for this process and
    // for the programs started from it, until the sandbox ends.
    void setEnv(const char* name, const QString& value);
    // Answers for scripted message boxes, e.g. "yes,no".
    void setDialogAnswers(const QString& answers) { setEnv("VELMORA_DIALOG_ANSWERS", answers); }
    // Starts programs' clocks at this moment (YYYY-MM-DDTHH:MM:SS).
    void setFakeNow(const QString& isoText) { setEnv("VELMORA_FAKE_NOW", isoText); }

    // The environment for a child process: ours, with the sandbox's variables.
    QProcessEnvironment processEnvironment() const;

private:
    QTemporaryDir m_dir;
    std::map<QByteArray, std::optional<QByteArray>> m_saved; // value before the sandbox
};

} // namespace velmora::test
