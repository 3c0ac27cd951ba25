#include "datastore/schedule_event.h"

namespace velmora {

ScheduleEventType RecurrenceStateToEventType(qint64 state)
{
    if (state < 0 || state > 4)
        return ScheduleEventType::None;
    return ScheduleEventType(int(state));
}

} // namespace velmora
