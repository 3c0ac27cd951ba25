#pragma once
// The message boxes of the data-access operations: all stay above every window.

#include "platform/dialogs.h"

#include <QString>
#include <QStringList>

namespace velmora {

void showRecordMessage(const QString& caption, const QString& text, platform::DialogIcon icon);

// Lines joined with CR LF, the way every multi-line box text is built.
QString joinLines(const QStringList& lines);

} // namespace velmora
