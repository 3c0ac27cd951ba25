#include "platform/shell_launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

// "MailTo: someone@host" as the About window hands it over, "http://..." ...
std::optional<QString> asLink(const QString& file)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):\\s*(.*)$"));
    const auto match = scheme.match(file.trimmed());
    if (!match.hasMatch() || match.captured(1).size() < 2) // a single letter would be a drive
        return std::nullopt;
    return match.captured(1).toLower() + QLatin1Char(':') + match.captured(2);
}

int openWithDesktop(const QString& target)
{
    const QString record = qEnvironmentVariable("VELMORA_SHELL_OPEN");
    if (record.startsWith(QLatin1String("record:"))) {
        const QByteArray line = (QStringLiteral("open\t") + target + QLatin1Char('\n')).toUtf8();
        const int fd = ::open(QFile::encodeName(record.mid(7)).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                              0600);
        if (fd < 0)
            return kShellAccessDenied;
        [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
        ::close(fd);
        return kShellSuccess;
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QProcess::startDetached(opener, {target}))
        return kShellNoAssociation;
    return kShellSuccess;
}

QString resolve(const ShellRequest& request)
{
    const QString file = request.file.trimmed();
    if (QFileInfo(file).isAbsolute())
        return file;
    if (!file.contains(QLatin1Char('/'))) {
        const QString inFolder = request.folder.isEmpty() ? QString() : QDir(request.folder).filePath(file);
        if (!inFolder.isEmpty() && QFileInfo::exists(inFolder))
            return inFolder;
        const QString onPath = QStandardPaths::findExecutable(file);
        if (!onPath.isEmpty())
            return onPath;
    }
    return QDir(request.folder.isEmpty() ? QDir::currentPath() : request.folder).filePath(file);
}

} // namespace

int shellExecute(const ShellRequest& request)
{
    if (request.file.trimmed().isEmpty())
        return kShellFileNotFound;
    if (auto link = asLink(request.file)) {
        if (link->startsWith(QLatin1String("file:")))
            return shellExecute({request.verb, QUrl(*link).toLocalFile(), request.parameters, request.folder});
        return openWithDesktop(*link);
    }

    const QString path = resolve(request);
    const QFileInfo info(path);
    if (!info.exists())
        return QFileInfo(info.absolutePath()).isDir() ? kShellFileNotFound : kShellPathNotFound;
    if (!info.isReadable())
        return kShellAccessDenied;
    if (info.isFile() && info.isExecutable()) {
        const QString folder = request.folder.isEmpty() ? info.absolutePath() : request.folder;
        if (!QFileInfo(folder).isDir())
            return kShellPathNotFound;
        return QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(request.parameters), folder)
            ? kShellSuccess
            : kShellAccessDenied;
    }
    return openWithDesktop(info.absoluteFilePath());
}

} // namespace velmora::platform
