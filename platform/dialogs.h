#pragma once
// The one way the suite shows a message box. Tests script it: in-process by
// installing a DialogHandler, across processes with VELMORA_DIALOGS=FILE
// (each box is appended to FILE) and VELMORA_DIALOG_ANSWERS (e.g. "yes,no",
// taken one per box; without one the box's default button answers).

#include <QString>

#include <optional>

class QWidget;

namespace velmora::platform {

enum class DialogIcon { None, Information, Warning, Question, Error };
enum class DialogButton { None, Ok, Cancel, Yes, No, Abort, Retry, Ignore };
enum class DialogButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

struct MessageBoxRequest {
    QString caption;
    QString text;
    DialogIcon icon = DialogIcon::Information;
    DialogButtons buttons = DialogButtons::Ok;
    DialogButton defaultButton = DialogButton::None; // None: the first button
    bool topmost = false;
    QWidget* owner = nullptr;
};

class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual DialogButton answer(const MessageBoxRequest& request) = 0;
};

// Shows the box (or lets the script answer it) and returns the button chosen.
DialogButton showMessageBox(const MessageBoxRequest& request);

// Replaces every box of this process with the handler; nullptr restores the
// normal behaviour. The caller keeps ownership.
void installDialogHandler(DialogHandler* handler);

// The buttons a box offers, in order, and the one that answers by default.
QList<DialogButton> buttonsOf(DialogButtons buttons);
DialogButton defaultButtonOf(const MessageBoxRequest& request);

QString dialogButtonName(DialogButton button); // "ok", "cancel", "yes", ...
std::optional<DialogButton> dialogButtonFromName(const QString& name);

// One line of the VELMORA_DIALOGS file: caption TAB text TAB answer, with
// backslash, tab, CR and LF written as \\ \t \r \n.
QString dialogLogLine(const QString& caption, const QString& text, DialogButton answer);
struct LoggedDialog {
    QString caption;
    QString text;
    QString answer;
};
std::optional<LoggedDialog> parseDialogLogLine(const QString& line);

} // namespace velmora::platform
