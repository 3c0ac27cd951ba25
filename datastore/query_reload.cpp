#include "datastore/query_reload.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/record_lookup.h"
#include "foundation/debug_agent.h"
#include "foundation/message_boxes.h"

namespace velmora {

void ReloadQuery(DataSet* query, const QString& keyField)
{
    if (!query)
        return;
    const QString channel = QString::fromLatin1(kChannelAccessUnit);
    SendDebugMessage(channel, kTraceLevel,
                     QStringLiteral("ReloadQuery: Attention: <<<Start to reload ") + query->name()
                         + QStringLiteral("!>>>"));
    try {
        const Field* key = HasRecords(query) ? query->findField(keyField) : nullptr;
        const bool hadKey = key && !key->isNull();
        const qint64 keyValue = hadKey ? key->asInteger() : 0;
        query->close();
        query->open();
        if (hadKey)
            query->locate(keyField, keyValue);
    } catch (const std::exception& error) {
        LogException(channel, QStringLiteral("ReloadQuery"), error);
    }
    SendDebugMessage(channel, kTraceLevel,
                     QStringLiteral("ReloadQuery: Attention: <<<Reload ") + query->name()
                         + QStringLiteral(" completely!>>>"));
}

void ApplyRowUpdates(DataSet* query, bool resync)
{
    // Only a record the cursor stands on has a row to send or re-read.
    if (!HasRecords(query) || query->recNo() <= 0 || !query->isClientSide() || !resync)
        return;
    try {
        query->resync();
    } catch (const std::exception& error) {
        CommShowException(error, QStringLiteral("Fail to resync from database. "), QString(), true);
    }
}

void CloseDataComponent(DataSet* component)
{
    if (IsDataSetActive(component))
        component->close();
}

void SetQueryCursorOptions(DataSet& query, bool clientSide)
{
    query.setClientSide(clientSide);
}

} // namespace velmora
