#include "datastore/reserved_entry.h"

#include "datastore/abort_error.h"
#include "datastore/dataset.h"
#include "datastore/foreign_key_defaults.h"
#include "datastore/query_tags.h"
#include "datastore/record_lookup.h"
#include "datastore/record_message_box.h"

namespace velmora {

bool IsReservedEntry(const DataSet& ds, bool showMessage)
{
    if (!HasRecords(&ds) || ds.tag() != kTagUsers)
        return false;
    const int reservedUser = defaultForeignKeys().userID;
    const Field* userID = ds.findField(QStringLiteral("UserID"));
    if (reservedUser <= 0 || !userID || userID->asInteger() != reservedUser)
        return false;
    if (showMessage)
        showRecordMessage(QStringLiteral("Information"), QStringLiteral("Reserved entry can not be deleted!"),
                          platform::DialogIcon::Information);
    return true;
}

void ADOQueryBeforeDeleteGeneral(DataSet& ds)
{
    if (HasRecords(&ds) && IsReservedEntry(ds, true))
        Abort();
}

} // namespace velmora
