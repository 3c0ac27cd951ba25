#include "tests/support/sandbox.h"

#include <QDir>
#include <QFile>

namespace velmora::test {

Sandbox::Sandbox()
{
    QDir root(m_dir.path());
    for (const char* folder : {"root/bin", "root/Data", "root/Config", "root/Help", "root/Backup",
                               "root/Agents", "config", "session"})
        root.mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/session"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    setEnv("VELMORA_INSTALL_ROOT", installRoot());
    setEnv("VELMORA_HKCU", settingsStorePath());
    setEnv("VELMORA_SESSION", sessionFolder());
    setEnv("VELMORA_DIALOGS", dialogsLogPath());
    setEnv("VELMORA_DIALOG_ANSWERS", QString());
    setEnv("VELMORA_POWER_ACTIONS", QStringLiteral("record:") + powerLogPath());
    setEnv("VELMORA_SHELL_OPEN", QStringLiteral("record:") + shellLogPath());
    setEnv("VELMORA_FAKE_NOW", QString());
    setEnv("XDG_CONFIG_HOME", path() + QStringLiteral("/config"));
}

Sandbox::~Sandbox()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

QString Sandbox::installRoot() const { return path() + QStringLiteral("/root/"); }
QString Sandbox::settingsStorePath() const { return path() + QStringLiteral("/config/registry.sqlite"); }
QString Sandbox::sessionFolder() const { return path() + QStringLiteral("/session"); }
QString Sandbox::dialogsLogPath() const { return path() + QStringLiteral("/dialogs.log"); }
QString Sandbox::powerLogPath() const { return path() + QStringLiteral("/power.log"); }
QString Sandbox::shellLogPath() const { return path() + QStringLiteral("/shell.log"); }

QStringList Sandbox::recordedShellOpens() const
{
    QFile file(shellLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void Sandbox::setEnv(const char* name, const QString& value)
{
    const QByteArray key(name);
    if (!m_saved.contains(key))
        m_saved[key] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

QProcessEnvironment Sandbox::processEnvironment() const
{
    return QProcessEnvironment::systemEnvironment();
}

} // namespace velmora::test
