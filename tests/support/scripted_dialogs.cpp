#include "tests/support/scripted_dialogs.h"

#include <QFile>

namespace velmora::test {

ScriptedDialogs::ScriptedDialogs()
{
    platform::installDialogHandler(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::installDialogHandler(nullptr);
}

platform::DialogButton ScriptedDialogs::answer(const platform::MessageBoxRequest& request)
{
    m_shown.append(request);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return platform::defaultButtonOf(request);
}

QList<platform::LoggedDialog> readDialogLog(const QString& path)
{
    QList<platform::LoggedDialog> dialogs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return dialogs;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        if (auto dialog = platform::parseDialogLogLine(QString::fromUtf8(line)))
            dialogs.append(*dialog);
    }
    return dialogs;
}

} // namespace velmora::test
