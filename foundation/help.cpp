#include "foundation/help.h"

#include "foundation/debug_agent.h"
#include "foundation/program_paths.h"
#include "platform/dialogs.h"
#include "platform/shell_launcher.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QToolTip>
#include <QUrl>

namespace velmora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void showMissingHelpBox(const QString& path)
{
    platform::MessageBoxRequest box;
    box.caption = QStringLiteral("Error");
    box.icon = platform::DialogIcon::Error;
    box.topmost = true;
    box.text = QStringLiteral("Can not find the help file: ") + path + kCrLf + kCrLf
        + QStringLiteral("To success opening this help document: ") + kCrLf
        + QStringLiteral("1, please make sure that ") + path + kCrLf
        + QStringLiteral("   is not corrupted or deleted, or ") + kCrLf
        + QStringLiteral("2, you have installed this application or component properly.") + kCrLf + kCrLf
        + QStringLiteral("Please take corrective actions and try again.");
    platform::showMessageBox(box);
}

QString homePage()
{
    return HelpFilePath() + QStringLiteral("/index.htm");
}

} // namespace

QString HelpFilePath()
{
    QString path = InstallRoot() + QStringLiteral("Help/Velmora");
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString HelpTopicPath(const QString& topic)
{
    QString relative = topic;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return HelpFilePath() + QStringLiteral("/HTML/") + relative;
}

void ShowHelpFile(const QString& topic)
{
    const QString address = HelpTopicPath(topic);
    SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel, QStringLiteral("ShowHelpFile: ") + address);
    if (!QFileInfo::exists(homePage())) {
        showMissingHelpBox(HelpFilePath());
        return;
    }
    const QString page = QFileInfo::exists(address) ? address : homePage();
    platform::shellExecute({QStringLiteral("open"), QUrl::fromLocalFile(page).toString(), QString(), QString()});
}

QString ContextHelpText(int contextNumber)
{
    QFile file(HelpFilePath() + QStringLiteral("/context.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QByteArray key = QByteArray::number(contextNumber) + '=';
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(key.size())).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    }
    return {};
}

void ShowContextHelp(int contextNumber)
{
    SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel,
                     QStringLiteral("ShowContextHelp: ") + HelpFilePath() + QStringLiteral("/context.txt#")
                         + QString::number(contextNumber));
    const QString text = ContextHelpText(contextNumber);
    if (!text.isEmpty() && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QToolTip::showText(QCursor::pos(), text);
}

} // namespace velmora
