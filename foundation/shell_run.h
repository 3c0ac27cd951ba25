#pragma once
// Starting programs and opening files and links, with the suite's error box
// when the shell cannot do it.

#include <QString>

class QWidget;

namespace velmora {

// The failure text of a shell result code; empty when the code means success.
QString ShellErrorText(int resultCode);

// Hands the file to the shell; on failure shows the "Error" box that explains
// what to check. Returns whether the shell took it.
bool ShellRun(QWidget* owner, const QString& verb, const QString& file, int showCommand = 1,
              const QString& folder = QString(), const QString& parameters = QString());

} // namespace velmora
