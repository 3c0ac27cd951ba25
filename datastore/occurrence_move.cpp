#include "datastore/occurrence_move.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/record_lookup.h"
#include "foundation/debug_agent.h"
#include "platform/dialogs.h"

namespace velmora {

namespace {

using platform::DialogButton;
using platform::DialogButtons;
using platform::DialogIcon;

void trace(const QString& message)
{
    SendDebugMessage(QString::fromLatin1(kChannelCloneUnit), kTraceLevel, message);
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString sameDayText(const QString& subject)
{
    return QStringLiteral("Two occurences of ") + quoted(subject) + QStringLiteral(" cannot occur on the same day.");
}

DialogButton showWarning(const QString& text, DialogButtons buttons)
{
    platform::MessageBoxRequest request;
    request.caption = QStringLiteral("Warning");
    request.text = text;
    request.icon = DialogIcon::Warning;
    request.buttons = buttons;
    request.topmost = true;
    return platform::showMessageBox(request);
}

QString stamp(DateTime value)
{
    return value.toIsoText();
}

// The last day an event covers: one that ends at midnight does not reach
// into the day it ends on.
std::int64_t lastDayOf(const ScheduleEvent& event)
{
    const std::int64_t day = event.finish.dayNumber();
    if (event.finish > event.start && !event.finish.hasTimePart())
        return day - 1;
    return std::max(day, event.start.dayNumber());
}

} // namespace

bool MoveRecurringEventToAnotherDay(DataSet* items, DataSet* exceptions, DataSet* patterns, DataSet* reminders,
                                    DateTime originalStart, DateTime newStart, DateTime newEnd, bool showMessage)
{
    if (!IsDataSetActive(items) || !IsDataSetActive(exceptions) || !IsDataSetActive(patterns)
        || !IsDataSetActive(reminders))
        return false;
    const qint64 id = items->fieldByName(QStringLiteral("ITaskID")).asInteger();
    const QString subject = items->fieldByName(QStringLiteral("Subject")).asString();
    const qint64 storedParent = items->fieldByName(QStringLiteral("ParentID")).asInteger();
    const qint64 parent = storedParent != 0 ? storedParent : id;
    trace(QStringLiteral("MoveRecurringEventToAnotherDay, dtOriginal, dtNewStart, dtNewEnd, iTaskID, iParentID, "
                         "strSubject: %1, %2, %3, %4, %5, %6")
              .arg(stamp(originalStart), stamp(newStart), stamp(newEnd))
              .arg(id)
              .arg(parent)
              .arg(subject));

    const std::int64_t newDay = newStart.dayNumber();
    if (originalStart.dayNumber() == newDay)
        return true;
    const Field& parentField = exceptions->fieldByName(QStringLiteral("ParentID"));
    const Field& originalField = exceptions->fieldByName(QStringLiteral("OriginalDate"));
    for (exceptions->first(); !exceptions->eof(); exceptions->next()) {
        if (parentField.asInteger() != parent || originalField.asDateTime().dayNumber() != newDay)
            continue;
        trace(QStringLiteral("MoveRecurringEventToAnotherDay, ParentID, ITaskID, OriginalDate: %1, %2, %3")
                  .arg(parentField.asInteger())
                  .arg(exceptions->fieldByName(QStringLiteral("ITaskID")).asInteger())
                  .arg(stamp(originalField.asDateTime())));
        if (!exceptions->fieldByName(QStringLiteral("IsDeleted")).asBoolean()) {
            if (showMessage)
                showWarning(sameDayText(subject), DialogButtons::YesNo);
            return false;
        }
        const QString question = QStringLiteral("You change the date of the occurence of ") + quoted(subject)
            + QStringLiteral(", ") + QStringLiteral("If you want to change the date of all the occurences, you must ")
            + QStringLiteral("first open the appointment series. Do you want to change only this occurences?");
        if (showWarning(question, DialogButtons::YesNo) != DialogButton::Yes)
            return false;
    }
    return true;
}

bool AcceptOccurrenceDrop(const ScheduleEvent& before, const QList<ScheduleEvent>& dropped,
                          const SeriesOccurrenceLookup& occurrenceOn, DataSet* appointments, DataSet* exceptions,
                          DataSet* patterns, DataSet* reminders)
{
    bool accept = true;
    if (before.isRecurring) {
        const std::int64_t formerDay = before.start.dayNumber();
        const std::int64_t originalDay = before.originalStart.dayNumber();
        for (const ScheduleEvent& event : dropped) {
            if (event.masterId == 0)
                break;
            const std::int64_t firstDay = event.start.dayNumber();
            if (firstDay == formerDay)
                continue;
            for (std::int64_t day = firstDay; day <= lastDayOf(event); ++day) {
                if (day == formerDay)
                    continue;
                const DateTime dayStart = DateTime::fromMsecs(day * DateTime::kMsecsPerDay);
                const std::optional<TcxEventType> found = occurrenceOn(event, dayStart);
                if (!found || day == originalDay)
                    continue;
                if (*found == etException) {
                    accept = MoveRecurringEventToAnotherDay(appointments, exceptions, patterns, reminders, before.start,
                                                            event.start, event.finish, true);
                } else {
                    showWarning(sameDayText(event.caption), DialogButtons::Ok);
                    accept = false;
                }
                break;
            }
        }
    }
    trace(QStringLiteral("cxScheduler1AfterDragEvent, X, Y, Accept: %1")
              .arg(accept ? QStringLiteral("True") : QStringLiteral("False")));
    return accept;
}

} // namespace velmora
