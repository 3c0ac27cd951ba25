#include "datastore/record_print.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "foundation/debug_agent.h"

namespace velmora {

QString PrintRecord(const DataSet* query, bool logIt)
{
    if (!query || !IsDebugServerPresent())
        return QString();
    QString names;
    QString values;
    for (const Field* field : query->fields()) {
        names += QLatin1Char('\t') + field->name();
        values += QLatin1Char('\t') + field->asString();
    }
    const QString text = names + QStringLiteral("\r\n") + values;
    if (logIt)
        SendDebugMessage(QString::fromLatin1(kChannelAccessUnitPrint), kTraceLevel, QStringLiteral("PrintRecord: ") + text);
    return text;
}

} // namespace velmora
