#pragma once
// What the deletion and drag rules need to know of one calendar event.

#include "datastore/recurrence_info.h"
#include "foundation/date_time.h"

#include <QString>
#include <QVariant>

namespace velmora {

struct ScheduleEvent {
    // The event's ITaskID custom field; null when the event carries none. A
    // computed occurrence carries its master's.
    QVariant taskId;
    QString caption;
    bool isRecurring = false;
    TcxEventType type = etNone; // the stored RecurrenceState (RecurrenceStateToEventType)
    DateTime start;
    DateTime finish;
    // Where the occurrence stood in its series; for other events their start.
    DateTime originalStart;
    // The master's ITaskID; 0 for an event without a master.
    qint64 masterId = 0;
};

} // namespace velmora
