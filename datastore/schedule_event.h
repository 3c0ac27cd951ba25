#pragma once
// What the deletion and drag rules need to know of one calendar event.

#include "foundation/date_time.h"

#include <QString>
#include <QVariant>

namespace velmora {

// The event types of the calendar; the numbers are the stored RecurrenceState.
enum class ScheduleEventType { None = 0, Pattern = 1, Occurrence = 2, Exception = 3, Custom = 4 };

// Any stored value outside 0..4 is a plain item.
ScheduleEventType RecurrenceStateToEventType(qint64 state);

struct ScheduleEvent {
    // The event's ITaskID custom field; null when the event carries none. A
    // computed occurrence carries its master's.
    QVariant taskId;
    QString caption;
    bool isRecurring = false;
    ScheduleEventType type = ScheduleEventType::None;
    DateTime start;
    DateTime finish;
    // Where the occurrence stood in its series; for other events their start.
    DateTime originalStart;
    // The master's ITaskID; 0 for an event without a master.
    qint64 masterId = 0;
};

} // namespace velmora
