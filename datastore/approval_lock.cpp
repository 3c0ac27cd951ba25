#include "datastore/approval_lock.h"

#include "datastore/dataset.h"
#include "datastore/record_message_box.h"

namespace velmora {

bool IsApprovalLocked(const DataSet& ds, bool showMessage)
{
    const Field* status = ds.findField(QStringLiteral("ApprovalStatus"));
    if (!status)
        return false;
    const QString text = status->asString();
    if (text == QLatin1String("N") || text == QLatin1String("R"))
        return false;
    if (showMessage)
        showRecordMessage(QStringLiteral("Information"),
                          QStringLiteral("Entry under review or approved can not be cloned, edited or deleted!"),
                          platform::DialogIcon::Information);
    return true;
}

} // namespace velmora
