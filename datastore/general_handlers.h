#pragma once
// Attaches the record rules every query shares to a dataset's events.

namespace velmora {

class DataSet;

// New record, before and after post, post error and before delete; the
// after-delete event is left alone, the rules have nothing to do there.
void AttachGeneralHandlers(DataSet& ds);

} // namespace velmora
