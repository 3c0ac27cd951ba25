#include "datastore/post_handlers.h"

#include "datastore/data_channels.h"
#include "datastore/db_connection.h"
#include "datastore/foreign_key_defaults.h"
#include "datastore/query_reload.h"
#include "datastore/query_tags.h"
#include "datastore/record_checks.h"
#include "datastore/record_message_box.h"
#include "foundation/clock.h"
#include "foundation/debug_agent.h"
#include "platform/exception.h"

namespace velmora {

namespace {

ReminderInfoProvider& reminderInfoProvider()
{
    static ReminderInfoProvider provider;
    return provider;
}

QString exceptionText(const QString& routine, const std::exception& error)
{
    return routine + QStringLiteral(": ==== E X C E P T I O N====") + Exception::messageOf(error)
        + QStringLiteral("\r\n") + QString::number(Exception::helpContextOf(error));
}

void traceGeneral(const QString& message)
{
    SendDebugMessage(QString::fromLatin1(kChannelGeneralHandlers), kTraceLevel, message);
}

void deriveUrgency(DataSet& ds)
{
    const Field* importance = ds.findField(QStringLiteral("Importance"));
    if (!importance)
        return;
    const qint64 level = importance->asInteger();
    if (Field* important = ds.findField(QStringLiteral("IsImportant")))
        important->setValue(level == 2 || level == 3);
    if (Field* urgent = ds.findField(QStringLiteral("IsUrgent")))
        urgent->setValue(level == 1 || level == 3);
}

} // namespace

void setReminderInfoProvider(ReminderInfoProvider provider)
{
    reminderInfoProvider() = std::move(provider);
}

void ADOQueryBeforePostGeneral(DataSet& ds)
{
    if (Field* modified = ds.findField(QStringLiteral("TimeModified")))
        modified->setDateTime(now());
    ChangeForeignKeyFieldsWithNullValueToDefaultIndex(ds);
    if (ds.tag() == kTagContacts) {
        ClearEmptyContactFields(ds);
    } else {
        ClearEmptyTextFields(ds);
        ClearFarFutureDates(ds);
    }
    if (ds.tag() == kTagTasks || ds.tag() == kTagAppointments) {
        const ReminderInfoProvider& provider = reminderInfoProvider();
        if (provider)
            if (Field* info = ds.findField(QStringLiteral("ReminderInfo")))
                info->setValue(provider(ds));
        deriveUrgency(ds);
    }
    try {
        if (DbConnection* connection = ds.connection())
            connection->beginTransaction();
    } catch (const std::exception& error) {
        traceGeneral(exceptionText(QStringLiteral("ADOQueryBeforePostGeneral"), error));
    }
}

void ADOQueryAfterPostGeneral(DataSet& ds)
{
    try {
        DbConnection* connection = ds.connection();
        if (connection && connection->transactionDepth() > 0)
            connection->commit();
        ApplyRowUpdates(&ds, false);
    } catch (const std::exception& error) {
        traceGeneral(exceptionText(QStringLiteral("ADOQueryAfterPostGeneral"), error));
    }
}

void ADOQueryPostErrorGeneral(DataSet& ds, const std::exception& error, PostErrorAction& action)
{
    const QString message = Exception::messageOf(error);
    showRecordMessage(QStringLiteral("Error"),
                      joinLines({QStringLiteral("Post to database: ") + ds.name() + QStringLiteral(" failed!"),
                                 QStringLiteral("Reason: ") + message, QString(),
                                 QStringLiteral("To success posting data:"),
                                 QStringLiteral("1, DO NOT DELETE OR MOVE DATABASE FILE; "),
                                 QStringLiteral("2, DO NOT MODIFY TABLES IN DATABASE FILE MANUALLY; "),
                                 QStringLiteral("3, DO NOT DISCONNECT THE LINK TO DATABASE MANUALLY.")}),
                      platform::DialogIcon::Error);
    try {
        DbConnection* connection = ds.connection();
        if (connection && connection->transactionDepth() > 0)
            connection->rollback();
    } catch (const std::exception& rollbackError) {
        traceGeneral(exceptionText(QStringLiteral("ADOQueryPostErrorGeneral"), rollbackError));
    }
    action = PostErrorAction::Abort;
    traceGeneral(exceptionText(QStringLiteral("ADOQueryPostErrorGeneral"), error) + QStringLiteral(" ") + ds.name());
    try {
        ds.cancel();
    } catch (const std::exception& cancelError) {
        traceGeneral(exceptionText(QStringLiteral("ADOQueryPostErrorGeneral"), cancelError));
    }
}

} // namespace velmora
