#include "foundation/shell_run.h"

#include "foundation/debug_agent.h"
#include "platform/dialogs.h"
#include "platform/shell_launcher.h"

namespace velmora {

QString ShellErrorText(int resultCode)
{
    switch (resultCode) {
    case 0: return QStringLiteral("The operating system is out of memory or resources.");
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("The operating system denied access to the specified file.");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11: return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26: return QStringLiteral("A sharing violation occurred.");
    case 27: return QStringLiteral("The filename association is incomplete or invalid.");
    case 28: return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral(
            "The DDE transaction could not be completed because other DDE transactions were being processed.");
    case 31: return QStringLiteral("There is no application associated with the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found.");
    default: return QString();
    }
}

bool ShellRun(QWidget* owner, const QString& verb, const QString& file, int /*showCommand*/, const QString& folder,
              const QString& parameters)
{
    const int result = platform::shellExecute({verb, file, parameters, folder});
    const QString reason = ShellErrorText(result);
    if (reason.isEmpty())
        return true;

    const QString crLf = QStringLiteral("\r\n");
    platform::MessageBoxRequest box;
    box.caption = QStringLiteral("Error");
    box.icon = platform::DialogIcon::Error;
    box.topmost = true;
    box.owner = owner;
    box.text = reason + crLf + crLf + crLf + QStringLiteral("To success executing this application: ") + crLf
        + QStringLiteral("1, please make sure that ") + file + crLf
        + QStringLiteral("   is not corrupted or deleted, or ") + crLf
        + QStringLiteral("2, you have installed this application or component properly, or ") + crLf
        + QStringLiteral("3, the file has been associated with the right application, or ") + crLf
        + QStringLiteral("4, your computer is not locked.") + crLf + crLf
        + QStringLiteral("Please take corrective actions and try again.");
    SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel,
                     QStringLiteral("ShellRun: %1 failed with %2").arg(file).arg(result));
    platform::showMessageBox(box);
    return false;
}

} // namespace velmora
