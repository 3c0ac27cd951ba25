#include "tests/support/program_process.h"

#include "foundation/window_messages.h"
#include "tests/support/sandbox.h"

#include <QDeadlineTimer>
#include <QThread>

namespace velmora::test {

QString builtProgram(const QString& name)
{
    QString folder = qEnvironmentVariable("VELMORA_TEST_BIN_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral(VELMORA_BUILD_BIN_DIR);
    return folder + QLatin1Char('/') + name;
}

ProgramProcess::ProgramProcess(const Sandbox& sandbox, const QString& program, const QStringList& arguments)
    : m_program(builtProgram(program)), m_arguments(arguments)
{
    m_process.setProcessEnvironment(sandbox.processEnvironment());
    m_process.setWorkingDirectory(sandbox.path());
}

ProgramProcess::~ProgramProcess()
{
    if (running())
        killHard();
}

bool ProgramProcess::start()
{
    m_process.start(m_program, m_arguments);
    return m_process.waitForStarted(10000);
}

bool ProgramProcess::waitForFinished(int msecs)
{
    const bool finished = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(msecs);
    collect();
    return finished;
}

bool ProgramProcess::waitForCaption(const QString& caption, int msecs) const
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (WindowExists(caption))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return WindowExists(caption);
}

bool ProgramProcess::waitForOutput(const QString& text, int msecs)
{
    QDeadlineTimer deadline(msecs);
    for (;;) {
        collect();
        if (QString::fromUtf8(m_out).contains(text))
            return true;
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 100)));
    }
}

void ProgramProcess::writeInput(const QByteArray& bytes)
{
    m_process.write(bytes);
    m_process.waitForBytesWritten(5000);
}

void ProgramProcess::closeInput()
{
    m_process.closeWriteChannel();
}

void ProgramProcess::killHard()
{
    m_process.kill();
    m_process.waitForFinished(10000);
    collect();
}

void ProgramProcess::terminate()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        killHard();
    collect();
}

QString ProgramProcess::standardOutput()
{
    collect();
    return QString::fromUtf8(m_out);
}

QString ProgramProcess::standardError()
{
    collect();
    return QString::fromUtf8(m_err);
}

void ProgramProcess::collect()
{
    m_out += m_process.readAllStandardOutput();
    m_err += m_process.readAllStandardError();
}

ProgramResult runProgram(const Sandbox& sandbox, const QString& program, const QStringList& arguments,
                         int msecs, const QByteArray& input)
{
    ProgramProcess process(sandbox, program, arguments);
    ProgramResult result;
    if (!process.start())
        return result;
    if (!input.isEmpty())
        process.writeInput(input);
    process.closeInput();
    if (!process.waitForFinished(msecs)) {
        process.killHard();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.standardOutput();
    result.err = process.standardError();
    return result;
}

} // namespace velmora::test
