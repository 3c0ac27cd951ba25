#pragma once
// The reserved user (the lowest UserID) that can never be deleted.

namespace velmora {

class DataSet;

// True only on the users query (tag 8) standing on the reserved user's row;
// when asked, the user is told the entry can not be deleted.
bool IsReservedEntry(const DataSet& ds, bool showMessage);

// The before-delete handler of every query: stops the delete of a reserved
// entry silently after the message.
void ADOQueryBeforeDeleteGeneral(DataSet& ds);

} // namespace velmora
