#include "datastore/reminder_info.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/post_handlers.h"
#include "datastore/record_lookup.h"
#include "foundation/clock.h"
#include "foundation/code_names.h"
#include "foundation/comm_settings.h"
#include "foundation/date_texts.h"
#include "foundation/debug_agent.h"
#include "foundation/locale_snapshot.h"
#include "foundation/week_masks.h"

#include <QFileInfo>

namespace velmora {

namespace {

QString shortDateText(DateTime value)
{
    return LocaleSnapshot::current().toString(value.date(), QLocale::ShortFormat);
}

// Tasks without a due date have nothing to be due on; writing a count of days
// from 1899 would be nonsense.
QString dueText(const DataSet& item)
{
    const Field* due = item.findField(QStringLiteral("EndDate"));
    if (!due)
        due = item.findField(QStringLiteral("DueDate"));
    if (!due || due->isNull() || !due->asDateTime().hasDatePart())
        return {};
    const qint64 days = today().dayNumber() - due->asDateTime().dayNumber();
    const qint64 count = days < 0 ? -days : days;
    const QString amount = QString::number(count) + (count > 1 ? QStringLiteral(" days") : QStringLiteral(" day"));
    if (days >= 2)
        return QStringLiteral("Overdue by ") + amount + QLatin1Char('.');
    if (days == 1)
        return QStringLiteral("Due yesterday.");
    if (days == 0)
        return QStringLiteral("Due today.");
    if (days == -1)
        return QStringLiteral("Due tomorrow.");
    return QStringLiteral("Due in ") + amount + QLatin1Char('.');
}

QString rangeText(const DataSet& patterns, bool timed)
{
    QString text = QStringLiteral("effective ") + shortDateText(dateTimeField(patterns, QStringLiteral("PatternStartDate")));
    const Field* end = patterns.findField(QStringLiteral("PatternEndDate"));
    if (!booleanField(patterns, QStringLiteral("NoEndDate")) && end && !end->isNull())
        text += QStringLiteral(" until ") + end->asString();
    if (timed)
        text += QStringLiteral(" from ") + ShortTimeText(dateTimeField(patterns, QStringLiteral("StartTime")))
            + QStringLiteral(" to ") + ShortTimeText(dateTimeField(patterns, QStringLiteral("EndTime")));
    return text;
}

QString ruleText(const DataSet& patterns)
{
    const int type = int(integerField(patterns, QStringLiteral("RecurrenceType")));
    const qint64 interval = integerField(patterns, QStringLiteral("Interval"));
    const int mask = int(integerField(patterns, QStringLiteral("DayOfWeekMask")));
    const QString i = QString::number(interval);
    const QString w = WeekMaskText(mask, type);
    const QString d = QString::number(integerField(patterns, QStringLiteral("DayOfMonth")));
    const QString k = InstanceName(int(integerField(patterns, QStringLiteral("Instance"))));
    const QString mo = MonthName(int(integerField(patterns, QStringLiteral("MonthOfYear"))));
    const bool everyWeekday = interval == 0 && mask == kWeekdayMask;
    switch (type) {
    case 0:
        if (everyWeekday)
            return QStringLiteral("every weekday");
        return interval == 1 ? QStringLiteral("every day") : QStringLiteral("every ") + i + QStringLiteral(" days");
    case 1:
        if (interval == 1)
            return QStringLiteral("every ") + w;
        if (everyWeekday)
            return QStringLiteral("every weekday");
        return QStringLiteral("every ") + i + QStringLiteral(" weeks on ") + w;
    case 2:
        if (interval == 1)
            return QStringLiteral("day ") + d + QStringLiteral(" of every month");
        return QStringLiteral("day ") + d + QStringLiteral(" of every ") + i + QStringLiteral(" months");
    case 3:
        if (interval == 1)
            return QStringLiteral("the ") + k + QLatin1Char(' ') + w + QStringLiteral(" of every month");
        return QStringLiteral("the ") + k + QLatin1Char(' ') + w + QStringLiteral(" of every ") + i
            + QStringLiteral(" months");
    case 5: return QStringLiteral("every ") + mo + QLatin1Char(' ') + d;
    case 6: return QStringLiteral("the ") + k + QLatin1Char(' ') + w + QStringLiteral(" of ") + mo;
    default: return {};
    }
}

QString behaviorText(qint64 behavior)
{
    switch (behavior) {
    case 1: return QStringLiteral("Make computer log off safely. ");
    case 2: return QStringLiteral("Make computer power off safely. ");
    case 3: return QStringLiteral("Make computer reboot safely. ");
    case 4: return QStringLiteral("Make computer shutdown safely. ");
    case 5: return QStringLiteral("Make computer log off by force. ");
    case 6: return QStringLiteral("Make computer power off by force. ");
    case 7: return QStringLiteral("Make computer reboot by force. ");
    case 8: return QStringLiteral("Make computer shutdown by force. ");
    default: return {};
    }
}

} // namespace

QString GetReminderInfo(DataSet* item, DataSet* patterns, DataSet* reminders)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(patterns) || !IsDataSetActive(reminders))
        return {};
    const QString recurrence = GetHintOfRecurrence(item, patterns);
    const QString reminder = GetReminderHint(item, reminders, recurrence.isEmpty());
    if (!recurrence.isEmpty() && !reminder.isEmpty())
        return recurrence + QStringLiteral("\r\n") + reminder;
    return recurrence + reminder;
}

QString GetHintOfRecurrence(DataSet* item, DataSet* patterns)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(patterns) || !IsSeriesMaster(*item))
        return {};
    const qint64 patternId = integerField(*item, QStringLiteral("IRecurrencePatternID"));
    SendDebugMessage(QString::fromLatin1(kChannelAccessUnit), kTraceLevel,
                     QStringLiteral("GetHintOfRecurrence, iRecurrenceID: ") + QString::number(patternId));
    if (!moveToKey(*patterns, QStringLiteral("IRecurrencePatternID"), patternId))
        return {};
    const bool isTask = booleanField(*item, QStringLiteral("IsTask"), true);
    const bool allDay = booleanField(*item, QStringLiteral("IsAllDayEvent"));

    QString rule = ruleText(*patterns);
    if (!rule.isEmpty())
        rule.prepend(isTask ? QStringLiteral("Starts ") : QStringLiteral("Occurs "));
    QStringList parts;
    if (isTask)
        parts << dueText(*item);
    parts << rule << rangeText(*patterns, !isTask && !allDay);
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString GetReminderHint(DataSet* item, DataSet* reminders, bool fullDate)
{
    if (!IsDataSetActive(item) || !IsDataSetActive(reminders) || !booleanField(*item, QStringLiteral("HasReminder")))
        return {};
    if (!moveToKey(*reminders, QStringLiteral("ReminderID"), integerField(*item, QStringLiteral("ReminderID"))))
        return {};
    const DateTime at = dateTimeField(*reminders, QStringLiteral("ReminderNewTime"));
    QString text = QStringLiteral("Reminder At ")
        + (fullDate ? shortDateText(at) + QLatin1Char(' ') + ShortTimeText(at) : ShortTimeText(at))
        + QStringLiteral("; ");
    const qint64 method = integerField(*reminders, QStringLiteral("ReminderMethod"));
    if (method & 64)
        text += QStringLiteral("Pop up a MSN Message Box; ");
    if (method & 2)
        text += QStringLiteral("Read the notification content; ");
    if (method & 4)
        text += QStringLiteral("Popup an agent: ")
            + QFileInfo(ReadAgentCharacter(int(integerField(*reminders, QStringLiteral("AgentChar"))))).fileName()
            + QStringLiteral("; ");
    if ((method & 8) && reminders->findField(QStringLiteral("RecipientsTo")))
        text += QStringLiteral("Send mail to ") + textField(*reminders, QStringLiteral("RecipientsTo"))
            + QStringLiteral("; ");
    const QString media = textField(*reminders, QStringLiteral("ReminderMedia"));
    if ((method & 16) && !media.trimmed().isEmpty())
        text += QStringLiteral("Play ") + media + QStringLiteral("; ");
    const QString application = textField(*reminders, QStringLiteral("ApplicationPath"));
    if ((method & 32) && !application.isEmpty())
        text += QStringLiteral("Execute ") + application + QStringLiteral("; ");
    return text + behaviorText(integerField(*reminders, QStringLiteral("Behavior")));
}

void InstallReminderInfoProvider(DataSet* patterns, DataSet* reminders)
{
    setReminderInfoProvider([patterns, reminders](DataSet& item) {
        return GetReminderInfo(&item, patterns, reminders);
    });
}

} // namespace velmora
