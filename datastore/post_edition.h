#pragma once
// Posting and deleting with the suite's standard failure texts.

namespace velmora {

class DataSet;

// Posts pending changes and leaves the dataset in edit state. On a failure
// the user is told why, the dataset is reopened and false returned; a silent
// abort (AbortError) returns false without a message and keeps the input.
bool PostEdition(DataSet* ds);

// Deletes the current record unless it is approval-locked; false with the
// "Delete Forbidden" box when the delete fails.
bool DeleteARecord(DataSet* ds);

// Deletes every record that is not approval-locked (each locked one is
// reported once). On a failure: reraise, or false.
bool DeleteAllRecords(DataSet* query, bool reraise);

} // namespace velmora
