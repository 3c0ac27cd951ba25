#pragma once
// A record as text for the debug viewer: the field names, then the values.

#include <QString>

namespace velmora {

class DataSet;

// Empty unless a debug viewer runs (building the text is not free): TAB +
// name per field, CR LF, TAB + value per field. With logIt also traced.
QString PrintRecord(const DataSet* query, bool logIt);

} // namespace velmora
