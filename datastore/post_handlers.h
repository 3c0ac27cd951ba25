#pragma once
// What every post goes through: stamps, default keys, empty values to NULL,
// the derived fields of tasks and appointments, and a transaction around it.

#include "datastore/dataset.h"

#include <QString>

#include <exception>
#include <functional>

namespace velmora {

// Gives the reminder information text of a task or appointment record. The
// reminder maintenance installs it; without one ReminderInfo stays as it is.
using ReminderInfoProvider = std::function<QString(DataSet&)>;
void setReminderInfoProvider(ReminderInfoProvider provider);

// Stamps, defaults and clean-ups, then begins the post's transaction.
void ADOQueryBeforePostGeneral(DataSet& ds);
// Commits the post's transaction.
void ADOQueryAfterPostGeneral(DataSet& ds);
// Tells the user, rolls the transaction back, cancels the changes and sets
// the action to Abort, so nothing else reports the failure again.
void ADOQueryPostErrorGeneral(DataSet& ds, const std::exception& error, PostErrorAction& action);

} // namespace velmora
