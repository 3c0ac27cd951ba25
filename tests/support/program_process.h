#pragma once
// One of our own programs started as a real process inside a sandbox.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace velmora::test {

class Sandbox;

// Full path of a built program (from VELMORA_TEST_BIN_DIR, set by CTest).
QString builtProgram(const QString& name);

class ProgramProcess {
public:
    ProgramProcess(const Sandbox& sandbox, const QString& program, const QStringList& arguments = {});
    ~ProgramProcess(); // kills the program if it still runs
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool start(); // false when the program could not be started
    bool waitForFinished(int msecs = 10000);
    // Waits until a window with the caption answers on the bus.
    bool waitForCaption(const QString& caption, int msecs = 10000) const;
    // Waits until the program has printed a line containing text.
    bool waitForOutput(const QString& text, int msecs = 10000);
    void writeInput(const QByteArray& bytes);
    void closeInput();
    void killHard(); // SIGKILL, and wait until it is gone
    void terminate(); // SIGTERM, and wait until it is gone

    int exitCode() const { return m_process.exitCode(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }
    QString standardOutput(); // everything printed so far
    QString standardError();

private:
    void collect();
    QProcess m_process;
    QString m_program;
    QStringList m_arguments;
    QByteArray m_out;
    QByteArray m_err;
};

// Runs a program to its end and returns (exit code, stdout, stderr).
struct ProgramResult {
    int exitCode = -1;
    QString out;
    QString err;
};
ProgramResult runProgram(const Sandbox& sandbox, const QString& program, const QStringList& arguments,
                         int msecs = 20000, const QByteArray& input = {});

} // namespace velmora::test
