#include "datastore/record_checks.h"

#include "datastore/dataset.h"

namespace velmora {

namespace {

// True when both fields exist, hold values, and the end lies before the start.
bool endsBeforeStart(const DataSet& query, const char* startName, const char* endName)
{
    const Field* start = query.findField(QLatin1String(startName));
    const Field* end = query.findField(QLatin1String(endName));
    if (!start || !end || start->isNull() || end->isNull())
        return false;
    return end->asDateTime() < start->asDateTime();
}

void clearIfEmptyText(Field& field)
{
    if (!field.isNull() && field.asString().isEmpty())
        field.setNull();
}

QStringList buildContactFields()
{
    QStringList fields = {
        QStringLiteral("FirstName"),      QStringLiteral("LastName"),      QStringLiteral("Title"),
        QStringLiteral("Suffix"),         QStringLiteral("FullName"),      QStringLiteral("FileAs"),
        QStringLiteral("CompanyName"),    QStringLiteral("Department"),    QStringLiteral("JobTitle"),
        QStringLiteral("OfficeLocation"), QStringLiteral("Profession"),    QStringLiteral("ManagerName"),
        QStringLiteral("AssistantName"),  QStringLiteral("Nickname"),      QStringLiteral("Spouse"),
        QStringLiteral("Body"),           QStringLiteral("Contacts"),      QStringLiteral("WebPage"),
        QStringLiteral("Categories"),
        QStringLiteral("AssistantTelephoneNumber"),  QStringLiteral("BusinessTelephoneNumber"),
        QStringLiteral("Business2TelephoneNumber"),  QStringLiteral("BusinessFaxNumber"),
        QStringLiteral("CallbackTelephoneNumber"),   QStringLiteral("CarTelephoneNumber"),
        QStringLiteral("CompanyMainTelephoneNumber"), QStringLiteral("HomeTelephoneNumber"),
        QStringLiteral("Home2TelephoneNumber"),      QStringLiteral("HomeFaxNumber"),
        QStringLiteral("ISDNNumber"),                QStringLiteral("MobileTelephoneNumber"),
        QStringLiteral("OtherTelephoneNumber"),      QStringLiteral("OtherFaxNumber"),
        QStringLiteral("PagerNumber"),               QStringLiteral("PrimaryTelephoneNumber"),
        QStringLiteral("RadioTelephoneNumber"),      QStringLiteral("TelexNumber"),
        QStringLiteral("TTYTDDTelephoneNumber"),
        QStringLiteral("Email1Address"), QStringLiteral("Email1DisplayName"),
        QStringLiteral("Email2Address"), QStringLiteral("Email2DisplayName"),
        QStringLiteral("Email3Address"), QStringLiteral("Email3DisplayName"),
    };
    for (const char* kind : {"Business", "Home", "Other"})
        for (const char* part : {"Street", "City", "State", "PostalCode", "Country"})
            fields << QLatin1String(kind) + QStringLiteral("Address") + QLatin1String(part);
    return fields;
}

} // namespace

QString CheckDateOrder(const DataSet& query)
{
    QString text;
    if (endsBeforeStart(query, "StartTime", "EndTime"))
        text = QStringLiteral("Please make sure the Start Time(Start Date, From Date) is less than the End Time(End "
                              "Date, To Date).");
    if (endsBeforeStart(query, "StartDate", "EndDate"))
        text = QStringLiteral("Please make sure the Start Date(From Date) is less than the End Date(To Date).");
    return text;
}

void ClearEmptyTextFields(DataSet& ds)
{
    for (Field* field : ds.fields())
        if (isTextType(field->type()))
            clearIfEmptyText(*field);
}

const QStringList& contactFieldsClearedWhenEmpty()
{
    static const QStringList fields = buildContactFields();
    return fields;
}

void ClearEmptyContactFields(DataSet& ds)
{
    for (const QString& name : contactFieldsClearedWhenEmpty())
        if (Field* field = ds.findField(name))
            clearIfEmptyText(*field);
}

void ClearFarFutureDates(DataSet& ds)
{
    for (Field* field : ds.fields())
        if (field->type() == FieldType::DateTime && !field->isNull() && field->asDateTime().year() > 2500)
            field->setNull();
}

} // namespace velmora
