#pragma once
// Reading a query afresh, sending its row changes, closing it, and its cursor options.

#include <QString>

namespace velmora {

class DataSet;

// Closes and reopens the query, back on the record with the same integer key.
void ReloadQuery(DataSet* query, const QString& keyField);

// For an open client-side query on a record: sends the row's pending changes
// (posts write through, so there are none left) and, with resync, reads the
// row again from the file; a failure to resync is shown.
void ApplyRowUpdates(DataSet* query, bool resync);

// Sends what the dataset still holds and closes it.
void CloseDataComponent(DataSet* component);

// Client-side or server-side cursor; the other cursor settings of the old
// provider (optimistic locking, keyset) are how every dataset here works.
void SetQueryCursorOptions(DataSet& query, bool clientSide);

} // namespace velmora
