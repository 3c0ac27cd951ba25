#include "datastore/item_text.h"

#include "datastore/dataset.h"
#include "datastore/item_fields.h"
#include "datastore/record_lookup.h"
#include "foundation/code_names.h"
#include "foundation/date_texts.h"
#include "foundation/locale_snapshot.h"

#include <QStringList>

namespace velmora {

namespace {

const QString kRule = QStringLiteral("=================================");

QString field(const DataSet& query, const char* name)
{
    return textField(query, QString::fromLatin1(name));
}

QString dateAndTimeText(DateTime value)
{
    return LocaleSnapshot::current().toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + ShortTimeText(value);
}

// The lines every item's text starts with, and those it ends with.
QStringList headingLines(const DataSet& q)
{
    return {kRule, QStringLiteral("Subject: ") + field(q, "Subject"), QStringLiteral("Location: ") + field(q, "PlaceName"),
            QStringLiteral("Categories: ") + field(q, "Categories"), QString()};
}

QStringList closingLines(const DataSet& q)
{
    return {QStringLiteral("Mileage: ") + field(q, "Mileage"),
            QStringLiteral("Billing Information: ") + field(q, "BillingInformation"),
            QStringLiteral("Companies: ") + field(q, "Companies"), QString(), field(q, "Body")};
}

} // namespace

QString FormatTaskAsText(DataSet* query)
{
    if (!HasRecords(query))
        return {};
    const DataSet& q = *query;
    return (headingLines(q) + QStringList{
                       QStringLiteral("Start Date: ") + field(q, "StartDate"),
                       QStringLiteral("Due Date: ") + field(q, "DueDate"),
                       QStringLiteral("Priority: ") + ImportanceName(int(integerField(q, QStringLiteral("Importance"), -1))),
                       QString(),
                       QStringLiteral("Reminder Information: ") + field(q, "ReminderInfo"),
                       QString(),
                       QStringLiteral("Status: ") + TaskStatusName(field(q, "Status")),
                       QStringLiteral("Percent Complete: ") + field(q, "PercentComplete") + QStringLiteral("% "),
                       QString(),
                       QStringLiteral("Total Work: ") + field(q, "TotalWork") + QStringLiteral(" hours"),
                       QStringLiteral("Actual Work: ") + field(q, "ActualWork") + QStringLiteral(" hours"),
                       QString(),
           } + closingLines(q))
        .join(QStringLiteral("\r\n"));
}

QString FormatAppointmentAsText(DataSet* query, DateTime start, DateTime end)
{
    if (!HasRecords(query))
        return {};
    const DataSet& q = *query;
    return (headingLines(q) + QStringList{
                       QStringLiteral("Start: ") + dateAndTimeText(start),
                       QStringLiteral("End: ") + dateAndTimeText(end),
                       QStringLiteral("Show Time As: ") + BusyStatusName(int(integerField(q, QStringLiteral("BusyStatus"), -1))),
                       QString(),
                       QStringLiteral("Reminder Information: ") + field(q, "ReminderInfo"),
                       QString(),
           } + closingLines(q))
        .join(QStringLiteral("\r\n"));
}

QString BusyStatusName(int status)
{
    switch (status) {
    case 0: return QStringLiteral("Free");
    case 1: return QStringLiteral("Tentative");
    case 2: return QStringLiteral("Busy");
    case 3: return QStringLiteral("Out Of Office");
    default: return {};
    }
}

} // namespace velmora
