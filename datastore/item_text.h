#pragma once
// A task or appointment written out as plain text, for mail and the clipboard.

#include "foundation/date_time.h"

#include <QString>

namespace velmora {

class DataSet;

// The current task of query, line by line (CR LF), from Subject to Body.
QString FormatTaskAsText(DataSet* query);
// The current appointment of query, with start and end of the occurrence meant.
QString FormatAppointmentAsText(DataSet* query, DateTime start, DateTime end);
// 0 "Free", 1 "Tentative", 2 "Busy", 3 "Out Of Office"; empty otherwise.
QString BusyStatusName(int status);

} // namespace velmora
