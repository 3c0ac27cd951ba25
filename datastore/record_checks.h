#pragma once
// Checks and clean-ups a record gets before it is posted: date order, empty
// texts to NULL, dates beyond any sensible future to NULL.

#include <QString>
#include <QStringList>

namespace velmora {

class DataSet;

// Empty when fine; otherwise the text asking for a start before the end
// (StartTime/EndTime, then StartDate/EndDate; the later check wins). A
// missing value is no order problem.
QString CheckDateOrder(const DataSet& query);

// Every text or memo field holding an empty text becomes NULL.
void ClearEmptyTextFields(DataSet& ds);

// The contact fields the contact windows edit; only these are cleared on a
// contact, so the fields the outside programs fill keep what they delivered.
const QStringList& contactFieldsClearedWhenEmpty();
void ClearEmptyContactFields(DataSet& ds);

// Every date-time field whose year is greater than 2500 becomes NULL.
void ClearFarFutureDates(DataSet& ds);

} // namespace velmora
