#pragma once
// What a new record of any query starts with: foreign keys, stamps, and the
// defaults of its table (by the query's tag).

namespace velmora {

class DataSet;

// The new-record handler of every query.
void ADOQueryNewRecordGeneral(DataSet& ds);

} // namespace velmora
