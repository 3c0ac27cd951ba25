#pragma once
// The check entry windows run before they post: dates in order and a name given.

namespace velmora {

class DataSet;

// True when the record may be posted. Otherwise shows the "Warning" box
// (when asked) and raises AbortError, so the caller's post does not happen
// and nothing else reports it.
bool ADOQueryCheckRecordValidityGeneral(DataSet* query, bool showMessage);

} // namespace velmora
