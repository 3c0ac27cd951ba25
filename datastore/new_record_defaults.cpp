#include "datastore/new_record_defaults.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/foreign_key_defaults.h"
#include "datastore/query_tags.h"
#include "foundation/clock.h"
#include "foundation/date_texts.h"
#include "foundation/debug_agent.h"

namespace velmora {

namespace {

constexpr int kWhite = 16777215;

// Tables differ in their fields, so every default lands only where the field exists.
class Defaults {
public:
    explicit Defaults(DataSet& ds) : m_ds(ds) {}
    Defaults& set(const char* name, const QVariant& value)
    {
        if (Field* field = m_ds.findField(QLatin1String(name)))
            field->setValue(value);
        return *this;
    }
    Defaults& set(const char* name, DateTime value)
    {
        if (Field* field = m_ds.findField(QLatin1String(name)))
            field->setDateTime(value);
        return *this;
    }

private:
    DataSet& m_ds;
};

void setRecurrenceDefaults(Defaults& d, DateTime today)
{
    d.set("PatternStartDate", today)
        .set("PatternEndDate", today.addDays(63))
        .set("NoEndDate", true)
        .set("Occurrences", 10)
        .set("RecurrenceType", 1)
        .set("Interval", 1)
        .set("DayOfWeekMask", 1 << (today.dayOfWeek() - 1))
        .set("DayOfMonth", today.day())
        .set("Instance", (today.day() - 1) / 7 + 1)
        .set("MonthOfYear", today.month())
        .set("StartTime", QStringLiteral("8:00"))
        .set("EndTime", QStringLiteral("8:30"))
        .set("Duration", 30)
        .set("Regenerate", false);
}

void setReminderDefaults(Defaults& d, DateTime now)
{
    const DateTime due = now.addMinutes(15);
    d.set("ReminderNewTime", due)
        .set("ReminderTime", due)
        .set("ReminderMethod", 1)
        .set("Behavior", 0)
        .set("IsTodayReminder", false)
        .set("HasNotified", false)
        .set("ReminderSet", false)
        .set("AgentChar", 0)
        .set("ReminderMinutesBeforeStart", 15);
}

void setItemDefaults(Defaults& d, bool isTask, DateTime moment)
{
    // NextHalfHour wraps 23:45 round to 0:00 of the same date: a late new
    // item starts at the beginning of today, as it always has.
    const DateTime start = moment.datePart() + NextHalfHour(moment);
    d.set("Importance", 1)
        .set("Status", 0)
        .set("HasReminder", false)
        .set("IsRecurring", false)
        .set("RecurrenceState", 0)
        .set("ActualWork", 0)
        .set("TotalWork", 0)
        .set("PercentComplete", 0)
        .set("IsTask", isTask)
        .set("StartDate", start)
        .set("DueDate", start.addMinutes(30))
        .set("Duration", 30);
    for (const char* flag : {"IsImportant", "IsUrgent", "IsComplete", "IsPrivate", "IsTeamTask", "IsAllDayEvent",
                             "IsSecurity", "IsShowTraditionalCalendar"})
        d.set(flag, false);
    d.set("Label", kWhite).set("Sensitivity", 1);
}

void setToDoDefaults(Defaults& d, DataSet& ds, const QString& linkType)
{
    // The list belongs to the task or appointment the master stands on.
    if (DataSet* master = ds.masterSource())
        if (const Field* owner = master->findField(QStringLiteral("ITaskID")))
            d.set("LinkID", owner->value());
    d.set("IsFinished", false)
        .set("IsImportant", false)
        .set("IsUrgent", false)
        .set("IsActive", true)
        .set("LinkType", linkType);
}

void setHolidayDefaults(Defaults& d)
{
    d.set("Categories", QStringLiteral("Holiday"))
        .set("Icon", 0)
        .set("IsAvailable", true)
        .set("HasStartYear", false)
        .set("HolidayType", 1)
        .set("Occurrences", 1)
        .set("Interval", 1)
        .set("WeekMask", 2)
        .set("DayOfMonth", 1)
        .set("Instance", 1)
        .set("MonthOfYear", 1)
        .set("IsTraditionalCalendar", false);
}

void setUserDefaults(Defaults& d, DateTime today)
{
    d.set("StartTime", today)
        .set("EndTime", today.addYears(100))
        .set("WorkDays", 5.0)
        .set("WorkHours", 7.5)
        .set("WorkType", QStringLiteral("F"))
        .set("Software", QStringLiteral("N"))
        .set("Gender", true);
}

void setNoteDefaults(Defaults& d)
{
    d.set("Height", 203).set("Left", 80).set("Top", 78).set("Width", 237).set("Sensitivity", 1).set("Importance", 1);
}

} // namespace

void ADOQueryNewRecordGeneral(DataSet& ds)
{
    SendDebugMessage(QString::fromLatin1(kChannelGeneralHandlers), kTraceLevel,
                     ds.name() + QStringLiteral(" ADOQueryNewRecordGeneral: Tag: ") + QString::number(ds.tag()));
    ApplyDefaultForeignKeys(ds);

    const DateTime moment = now();
    const DateTime day = moment.datePart();
    Defaults d(ds);
    d.set("TimeCreated", moment)
        .set("CreationTime", moment)
        .set("TimeModified", moment)
        .set("EffectiveDate", day)
        .set("IsArchived", false)
        .set("IsDisplayed", true)
        .set("IsValid", true)
        .set("Color", kWhite);

    switch (ds.tag()) {
    case kTagRecurrences: setRecurrenceDefaults(d, day); break;
    case kTagReminders: setReminderDefaults(d, moment); break;
    case kTagTasks: setItemDefaults(d, true, moment); break;
    case kTagAppointments: setItemDefaults(d, false, moment); break;
    case kTagTaskToDos: setToDoDefaults(d, ds, QStringLiteral("T")); break;
    case kTagAppointmentToDos: setToDoDefaults(d, ds, QStringLiteral("A")); break;
    case kTagCategories: d.set("IsSecurityCategory", false); break;
    case kTagHolidays: setHolidayDefaults(d); break;
    case kTagUsers: setUserDefaults(d, day); break;
    case kTagNotes: setNoteDefaults(d); break;
    default: break;
    }
}

} // namespace velmora
