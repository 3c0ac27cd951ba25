#include "datastore/reminder_sync.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/post_edition.h"
#include "datastore/record_lookup.h"
#include "datastore/record_print.h"
#include "datastore/reminder_rules.h"
#include "foundation/clock.h"
#include "foundation/date_texts.h"
#include "foundation/debug_agent.h"
#include "foundation/product_texts.h"
#include "foundation/window_messages.h"

namespace velmora {

namespace {

// Added to a reminder's key to tell the launcher bar's reminder messages apart.
constexpr qint64 kTopBarReminderBase = 999999;

} // namespace

bool SyncModificationToReminder(DataSet* item, DataSet* reminders, DataSet* patterns)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(reminders) || !IsDataSetActive(patterns))
        return false;
    if (!item->findField(QStringLiteral("HasReminder")) || !booleanField(*item, QStringLiteral("HasReminder")))
        return false;
    const qint64 reminderId = integerField(*item, QStringLiteral("ReminderID"));
    if (reminderId <= 0 || !moveToKey(*reminders, QStringLiteral("ReminderID"), reminderId)) {
        reminders->append();
        if (!PostEdition(reminders))
            return false;
        const qint64 newId = integerField(*reminders, QStringLiteral("ReminderID"));
        SendDebugMessage(QString::fromLatin1(kChannelDBComm), kTraceLevel,
                         QStringLiteral("SyncModificationToReminder: ReminderID: ") + QString::number(newId));
        beginEditing(*item);
        item->fieldByName(QStringLiteral("ReminderID")).setValue(newId);
        if (!PostEdition(item))
            return false;
    }
    const qint64 minutes = integerField(*reminders, QStringLiteral("ReminderMinutesBeforeStart"));
    const DateTime time = dateTimeField(*item, QStringLiteral("StartDate")).addMinutes(-minutes);
    AdjustReminderTime(item, patterns, reminders, true, minutes, time);
    return true;
}

void AdjustReminderTime(DataSet* item, DataSet* patterns, DataSet* reminders, bool mark, qint64 minutes,
                        DateTime time)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(reminders)
        || !moveToKey(*reminders, QStringLiteral("ReminderID"), integerField(*item, QStringLiteral("ReminderID"))))
        return;
    beginEditing(*reminders);
    reminders->fieldByName(QStringLiteral("ReminderMinutesBeforeStart")).setValue(minutes);
    reminders->fieldByName(QStringLiteral("ReminderNewTime")).setDateTime(time);
    reminders->fieldByName(QStringLiteral("ReminderTime")).setDateTime(time);
    PostEdition(reminders);
    if (mark)
        MarkTodayReminder(item, patterns, reminders, nullptr);
    PrintRecord(reminders, true);
}

bool MarkTodayReminder(DataSet* item, DataSet* patterns, DataSet* reminders, DataSet* exceptions)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(patterns) || !IsDataSetActive(reminders))
        return false;
    if (booleanField(*item, QStringLiteral("IsComplete")))
        return false;
    try {
        if (!IsReminderDueOn(item, patterns, reminders, today()))
            return false;
    } catch (const std::exception& error) {
        // A pattern the engine cannot expand has no day to be due on.
        LogException(QString::fromLatin1(kChannelDBComm), QStringLiteral("MarkTodayReminder"), error);
        return false;
    }
    if (!IsOccurrenceAlive(item, reminders, exceptions, now()))
        return false;
    const qint64 reminderId = integerField(*item, QStringLiteral("ReminderID"));
    if (!moveToKey(*reminders, QStringLiteral("ReminderID"), reminderId))
        return false;
    const DateTime reminderTime = dateTimeField(*reminders, QStringLiteral("ReminderTime"));
    const QString subject = item->findField(QStringLiteral("Name")) ? textField(*item, QStringLiteral("Name"))
                                                                       : textField(*item, QStringLiteral("Subject"));
    SendStringMessageToWindow(TopBarTitle(), TimeTextHMS(reminderTime, true) + QLatin1Char(' ') + subject,
                              reminderId + kTopBarReminderBase);
    beginEditing(*reminders);
    reminders->fieldByName(QStringLiteral("HasNotified")).setValue(false);
    reminders->fieldByName(QStringLiteral("IsTodayReminder")).setValue(true);
    reminders->fieldByName(QStringLiteral("ReminderNewTime")).setDateTime(today() + reminderTime.timePart());
    PostEdition(reminders);
    return true;
}

} // namespace velmora
