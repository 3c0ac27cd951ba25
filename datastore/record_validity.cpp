#include "datastore/record_validity.h"

#include "datastore/abort_error.h"
#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/record_checks.h"
#include "datastore/record_message_box.h"
#include "foundation/debug_agent.h"
#include "foundation/text_helpers.h"

namespace velmora {

bool ADOQueryCheckRecordValidityGeneral(DataSet* query, bool showMessage)
{
    if (!query || !query->isActive() || (query->isEmpty() && query->state() != DataSetState::Insert))
        return true;
    SendDebugMessage(QString::fromLatin1(kChannelGeneralHandlers), kTraceLevel,
                     query->name() + QStringLiteral(" ADOQueryCheckRecordValidityGeneral: Tag: ")
                         + QString::number(query->tag()));

    const QString dateOrder = CheckDateOrder(*query);
    QString missingFields;
    const Field* name = query->findField(QStringLiteral("Name"));
    if (name && name->asString().isEmpty()) {
        QString list = QStringLiteral("Name, ").trimmed();
        list.chop(1);
        missingFields = QStringLiteral("Please input the following field(s): ") + list;
    }
    if (dateOrder.isEmpty() && missingFields.isEmpty())
        return true;

    const QString problems = AppendNumberedLine(dateOrder, missingFields);
    if (showMessage)
        showRecordMessage(QStringLiteral("Warning"),
                          QStringLiteral("To success posting your edition, \r\n\r\n") + problems
                              + QStringLiteral("\r\n\r\nPlease take corrective actions and try again."),
                          platform::DialogIcon::Warning);
    Abort();
}

} // namespace velmora
