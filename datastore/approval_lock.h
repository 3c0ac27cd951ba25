#pragma once
// The approval lock: a record under review or approved can not be cloned, edited or deleted.

namespace velmora {

class DataSet;

// Locked when the dataset has a field "ApprovalStatus" whose text is neither
// "N" nor "R" (an empty value counts as locked); datasets without the field
// are never locked. When locked and showMessage, the user is told so.
bool IsApprovalLocked(const DataSet& ds, bool showMessage);

} // namespace velmora
