#pragma once
// The suite's message boxes and error reports, with their fixed captions.

#include <QString>

#include <exception>

class QObject;
class QWidget;

namespace velmora {

// Types of ShowMessageBox: the caption is the word itself.
enum MessageBoxType {
    mbExclamation = 1,
    mbWarning = 2,
    mbInformation = 3,
    mbQuestion = 4,
    mbStop = 5,
    mbError = 6,
    mbStopNow = 7,
};

// OK box, topmost; caption and icon by type (any other type: "Information").
void ShowMessageBox(int type, const QString& text);

// The standard boxes of the suite.
void ShowWarning(const QString& text);     // "Warning", topmost
void ShowInformation(const QString& text); // "Information"
void ShowError(const QString& text);       // "Error", topmost
bool AskConfirm(const QString& text, bool defaultYes = true); // "Confirm", Yes/No; true for Yes

// heading + CR LF + "Reason: " + message [+ advice block]; logged, shown in a
// "Warning" box when show is true, and returned.
QString CommShowException(const std::exception& error, const QString& heading, const QString& advice,
                          bool show);

// The handler for errors no other handler caught: logs the error with the
// class chain of the form it came from, tells the user "System Error", and
// lets the program go on.
void ReportUnhandledError(const QObject* form, const std::exception& error);

} // namespace velmora
