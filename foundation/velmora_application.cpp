#include "foundation/velmora_application.h"

#include "foundation/message_boxes.h"

#include <QWidget>

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        const QWidget* widget = qobject_cast<const QWidget*>(receiver);
        ReportUnhandledError(widget ? static_cast<const QObject*>(widget->window()) : receiver, error);
    }
    return false;
}

} // namespace velmora
