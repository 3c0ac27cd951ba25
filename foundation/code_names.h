#pragma once
// The words shown for the stored codes: task status, importance, recurrence
// instance and type, month, and the captions of the entry editors.

#include <QString>

namespace velmora {

// "0" "Not Started" ... "4" "Deferred"; any other text gives the text "0".
QString TaskStatusName(const QString& status);
// 0 "Low" ... 3 "Urgent"; empty otherwise.
QString ImportanceName(int importance);
// 1 "first" ... 4 "fourth", 5 "last"; empty otherwise.
QString InstanceName(int instance);
// 1 "January" ... 12 "December"; empty otherwise.
QString MonthName(int month);
// "Daily", "Weekly", "Monthly", "Yearly"; 4 (unused) empty; out of range "(None)".
QString RecurrenceTypeName(int recurrenceType);
// mode 2 opens a new entry: "New Task Entry"; any other mode "Edit Task Entry".
QString EntryCaption(const QString& noun, int mode);

} // namespace velmora
