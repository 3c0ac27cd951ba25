#pragma once
// Copying the current record into a new one of the same dataset.

#include <QString>

namespace velmora {

class DataSet;

// Appends a copy of the current record and posts it; the copy is current
// afterwards. Fields named in skipFields (blank- or comma-separated, without
// case) and the key keep what the new-record handler gave them; prefixField
// gets "Copy Of " in front. False when there is nothing to copy or the post fails.
bool CloneRecord(DataSet* ds, const QString& skipFields = QString(), const QString& prefixField = QString());

} // namespace velmora
