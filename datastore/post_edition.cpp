#include "datastore/post_edition.h"

#include "datastore/abort_error.h"
#include "datastore/approval_lock.h"
#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/record_message_box.h"
#include "foundation/debug_agent.h"

#include <QSet>

namespace velmora {

namespace {

using platform::DialogIcon;

const QStringList kStandardAdvice = {
    QStringLiteral("1, DO NOT DELETE OR MOVE DATABASE FILE; "),
    QStringLiteral("2, DO NOT MODIFY TABLES IN DATABASE FILE MANUALLY; "),
    QStringLiteral("3, DO NOT DISCONNECT THE LINK TO DATABASE MANUALLY."),
};

QString postFailureText(const QString& message)
{
    return joinLines(QStringList{QStringLiteral("Post to database failed!"), QStringLiteral("Reason: ") + message,
                                 QString(), QStringLiteral("To success posting data:")}
                     + kStandardAdvice
                     + QStringList{QStringLiteral("4, MAKE SURE NO APPLICATION USE THE DATABASE EXCLUSIVELY!"),
                                   QString(),
                                   QStringLiteral("Please restart this application to try to resolve this problem!")});
}

QStringList deleteFailureHead(const QString& message)
{
    return QStringList{QStringLiteral("Delete entry failed!"), QStringLiteral("Reason: ") + message, QString(),
                       QStringLiteral("To success deleting this entry:")}
        + kStandardAdvice + QStringList{QStringLiteral("4, DELETE ANY ENTRY REFERRING TO THIS ENTRY."), QString()};
}

// A failed post may leave the dataset half inserted; reading it afresh gives
// the user the stored state back, ready to be edited again.
void reopenForEditing(DataSet& ds)
{
    try {
        if (ds.isEditing())
            ds.cancel();
        ds.close();
        ds.open();
        if (!ds.isEmpty())
            ds.edit();
    } catch (const std::exception& error) {
        LogException(QString::fromLatin1(kChannelDBComm), QStringLiteral("PostEdition"), error);
    }
}

} // namespace

bool PostEdition(DataSet* ds)
{
    if (!ds || !ds->isActive())
        return true;
    if (ds->state() != DataSetState::Insert && !ds->isModified())
        return true;
    try {
        if (!ds->isEditing())
            ds->edit();
        ds->post();
        ds->edit();
        SendDebugMessage(QString::fromLatin1(kChannelDBComm), kTraceLevel,
                         QStringLiteral("PostEdition: Post to db: ") + ds->name() + QStringLiteral(" successfully!"));
        return true;
    } catch (const AbortError&) {
        return false;
    } catch (const std::exception& error) {
        showRecordMessage(QStringLiteral("Error"), postFailureText(Exception::messageOf(error)), DialogIcon::Error);
        reopenForEditing(*ds);
        return false;
    }
}

bool DeleteARecord(DataSet* ds)
{
    if (!ds || !ds->isActive() || ds->isEmpty())
        return false;
    if (IsApprovalLocked(*ds, true))
        return false;
    try {
        ds->deleteRecord();
        return true;
    } catch (const AbortError&) {
        return false;
    } catch (const std::exception& error) {
        const QString text = joinLines(deleteFailureHead(Exception::messageOf(error))
                                       + QStringList{QStringLiteral("Please take corrective actions and try again!")});
        showRecordMessage(QStringLiteral("Delete Forbidden"), text, DialogIcon::Information);
        SendDebugMessage(QString::fromLatin1(kChannelAccessUnit), kTraceLevel,
                         QStringLiteral("DeleteARecord, ") + ds->name() + QStringLiteral(", ") + text);
        return false;
    }
}

bool DeleteAllRecords(DataSet* query, bool reraise)
{
    if (!query || !query->isActive())
        return false;
    query->disableControls();
    try {
        // Remembered so that a locked record the cursor comes back to after a
        // delete is not reported a second time.
        QSet<qint64> lockedSeen;
        query->first();
        while (!query->eof() && !query->isEmpty()) {
            const qint64 here = query->bookmark().id;
            if (lockedSeen.contains(here)) {
                query->next();
            } else if (IsApprovalLocked(*query, true)) {
                lockedSeen.insert(here);
                query->next();
            } else {
                query->deleteRecord();
            }
        }
        query->enableControls();
        return true;
    } catch (const std::exception& error) {
        if (!dynamic_cast<const AbortError*>(&error)) {
            const QString text = joinLines(
                deleteFailureHead(Exception::messageOf(error))
                + QStringList{QStringLiteral("Please restart this application to try to resolve this problem!")});
            showRecordMessage(QStringLiteral("Error"), text, DialogIcon::Error);
        }
        query->enableControls();
        if (reraise)
            throw;
        return false;
    }
}

} // namespace velmora
