#include "foundation/message_boxes.h"

#include "foundation/debug_agent.h"
#include "platform/dialogs.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

namespace velmora {

namespace {

using platform::DialogButton;
using platform::DialogButtons;
using platform::DialogIcon;
using platform::MessageBoxRequest;

const QString kCrLf = QStringLiteral("\r\n");

DialogButton show(const QString& caption, const QString& text, DialogIcon icon, bool topmost,
                  DialogButtons buttons = DialogButtons::Ok, DialogButton defaultButton = DialogButton::None)
{
    MessageBoxRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    request.topmost = topmost;
    return platform::showMessageBox(request);
}

QString applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Velmora") : name;
}

} // namespace

void ShowMessageBox(int type, const QString& text)
{
    switch (type) {
    case mbExclamation: show(QStringLiteral("Exclamation"), text, DialogIcon::Warning, true); break;
    case mbWarning: show(QStringLiteral("Warning"), text, DialogIcon::Warning, true); break;
    case mbQuestion: show(QStringLiteral("Question"), text, DialogIcon::Question, true); break;
    case mbStop: show(QStringLiteral("Stop"), text, DialogIcon::Error, true); break;
    case mbError: show(QStringLiteral("Error"), text, DialogIcon::Error, true); break;
    case mbStopNow: show(QStringLiteral("Stop Now"), text, DialogIcon::Error, true); break;
    default: show(QStringLiteral("Information"), text, DialogIcon::Information, true); break;
    }
}

void ShowWarning(const QString& text)
{
    show(QStringLiteral("Warning"), text, DialogIcon::Warning, true);
}

void ShowInformation(const QString& text)
{
    show(QStringLiteral("Information"), text, DialogIcon::Information, false);
}

void ShowError(const QString& text)
{
    show(QStringLiteral("Error"), text, DialogIcon::Error, true);
}

bool AskConfirm(const QString& text, bool defaultYes)
{
    return show(QStringLiteral("Confirm"), text, DialogIcon::Question, false, DialogButtons::YesNo,
                defaultYes ? DialogButton::Yes : DialogButton::No)
        == DialogButton::Yes;
}

QString CommShowException(const std::exception& error, const QString& heading, const QString& advice, bool show)
{
    QString text = heading + kCrLf + QStringLiteral("Reason: ") + Exception::messageOf(error);
    if (!advice.isEmpty())
        text += kCrLf + kCrLf + advice + kCrLf + kCrLf + QStringLiteral("Please take corrective actions and try again! ");
    SendDebugMessage(QStringLiteral("Comm"), kTraceLevel, QStringLiteral("CommShowException: ") + text);
    if (show)
        ShowWarning(text);
    return text;
}

void ReportUnhandledError(const QObject* form, const std::exception& error)
{
    const QString message = Exception::messageOf(error);
    QString firstLine;
    QString classList;
    if (form) {
        classList = QStringLiteral("ClassParent List: ");
        for (const QMetaObject* meta = form->metaObject(); meta; meta = meta->superClass())
            classList += QString::fromLatin1(meta->className()) + QStringLiteral(", ");
        firstLine = QString::fromLatin1(form->metaObject()->className()) + QStringLiteral(" raises this exception!");
    }
    // A method note names the handler at a faulting address; errors here are
    // C++ exceptions, which carry no address, so the note stays empty.
    const QString methodNote;
    SendDebugMessage(QStringLiteral("EXCEPTION"), kDiagnosticLevel,
                     firstLine + kCrLf + applicationTitle() + QStringLiteral(": ==== E X C E P T I O N====") + kCrLf
                         + message + kCrLf + QString::number(Exception::helpContextOf(error)) + kCrLf + classList
                         + kCrLf + methodNote);
    CommShowException(error, QStringLiteral("System Error"), QString(), true);
}

} // namespace velmora
