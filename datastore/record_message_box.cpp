#include "datastore/record_message_box.h"

namespace velmora {

void showRecordMessage(const QString& caption, const QString& text, platform::DialogIcon icon)
{
    platform::MessageBoxRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    // System-modal boxes sit above every window, so topmost covers them too.
    request.topmost = true;
    platform::showMessageBox(request);
}

QString joinLines(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace velmora
