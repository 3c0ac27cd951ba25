#include "platform/locations.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

QString withTrailingSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString environment(const char* name)
{
    return qEnvironmentVariable(name);
}

} // namespace

QString programFolder()
{
    const QFileInfo exe(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    return withTrailingSlash(exe.absolutePath());
}

QString installRoot()
{
    const QString overridden = environment("VELMORA_INSTALL_ROOT");
    if (!overridden.isEmpty())
        return withTrailingSlash(QDir(overridden).absolutePath());
    QDir folder(programFolder());
    folder.cdUp();
    return withTrailingSlash(folder.absolutePath());
}

QString settingsStorePath()
{
    const QString overridden = environment("VELMORA_HKCU");
    if (!overridden.isEmpty())
        return overridden;
    QString config = environment("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Quorvane/registry.sqlite");
}

QString sessionFolder()
{
    QString folder = environment("VELMORA_SESSION");
    if (folder.isEmpty()) {
        const QString runtime = environment("XDG_RUNTIME_DIR");
        folder = runtime.isEmpty() ? QStringLiteral("/tmp/velmora-%1").arg(::getuid())
                                   : runtime + QStringLiteral("/velmora");
    }
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    return folder;
}

} // namespace velmora::platform
