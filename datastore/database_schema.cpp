#include "datastore/database_schema.h"

#include "datastore/default_categories.h"
#include "foundation/clock.h"
#include "platform/exception.h"
#include "platform/sqlite_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace velmora {

namespace {

using platform::SqliteStatement;

ColumnSchema key(const char* name)
{
    return {QString::fromLatin1(name), QString::fromLatin1(kKeyColumnType), {}};
}

ColumnSchema column(const char* name, const char* type, const char* defaultValue = nullptr)
{
    return {QString::fromLatin1(name), QString::fromLatin1(type),
            defaultValue ? QString::fromLatin1(defaultValue) : QString()};
}

ColumnSchema integer(const char* name, const char* defaultValue = nullptr)
{
    return column(name, kIntegerColumnType, defaultValue);
}
ColumnSchema number(const char* name, const char* defaultValue = nullptr)
{
    return column(name, kNumberColumnType, defaultValue);
}
ColumnSchema boolean(const char* name, const char* defaultValue = nullptr)
{
    return column(name, kBooleanColumnType, defaultValue);
}
ColumnSchema text(const char* name, const char* defaultValue = nullptr)
{
    return column(name, kTextColumnType, defaultValue);
}
ColumnSchema memo(const char* name)
{
    return column(name, kMemoColumnType);
}
ColumnSchema dateTime(const char* name)
{
    return column(name, kDateTimeColumnType);
}
ColumnSchema blob(const char* name)
{
    return column(name, kBlobColumnType);
}

TableSchema table(const char* name, QList<ColumnSchema> columns)
{
    return {QString::fromLatin1(name), columns.first().name, std::move(columns)};
}

QList<ColumnSchema> contactColumns()
{
    QList<ColumnSchema> columns{key("ContactID")};
    for (const char* name : {"FirstName", "MiddleName", "LastName", "Suffix", "Title", "FullName", "FileAs",
                             "LastNameAndFirstName", "Nickname", "CompanyName", "Companies", "Department",
                             "JobTitle", "OfficeLocation", "Profession", "ManagerName", "AssistantName", "Spouse"})
        columns.append(text(name));
    columns.append(dateTime("Birthday"));
    columns.append(dateTime("Anniversary"));
    for (const char* name :
         {"AssistantTelephoneNumber", "BusinessTelephoneNumber", "Business2TelephoneNumber", "BusinessFaxNumber",
          "CallbackTelephoneNumber", "CarTelephoneNumber", "CompanyMainTelephoneNumber", "HomeTelephoneNumber",
          "Home2TelephoneNumber", "HomeFaxNumber", "ISDNNumber", "MobileTelephoneNumber", "OtherTelephoneNumber",
          "OtherFaxNumber", "PagerNumber", "PrimaryTelephoneNumber", "RadioTelephoneNumber", "TelexNumber",
          "TTYTDDTelephoneNumber", "BusinessAddress", "HomeAddress"})
        columns.append(text(name));
    for (const char* place : {"Business", "Home", "Other"}) {
        for (const char* part : {"Street", "City", "State", "PostalCode", "Country", "PostOfficeBox"}) {
            const QByteArray name = QByteArray(place) + "Address" + part;
            columns.append(text(name.constData()));
        }
    }
    columns.append(boolean("MailingAddressIndicator", "0"));
    for (const char* name : {"Email1Address", "Email1DisplayName", "Email2Address", "Email2DisplayName",
                             "Email3Address", "Email3DisplayName", "WebPage"})
        columns.append(text(name));
    columns.append(memo("Body"));
    for (const char* name : {"Categories", "Contacts", "CountryRegion", "User1", "User2", "User3", "User4",
                             "UserCertificate", "YomiCompanyName", "YomiFirstName", "YomiLastName"})
        columns.append(text(name));
    columns.append(boolean("Private", "0"));
    columns.append(blob("Icon"));
    columns.append(dateTime("TimeModified"));
    columns.append(memo("LinkInfo"));
    return columns;
}

QList<TableSchema> buildTables()
{
    return {
        table("ITask",
              {key("ITaskID"), boolean("IsTask", "0"), text("Subject"), memo("Body"), memo("DescriptionRich"),
               dateTime("StartDate"), dateTime("DueDate"), integer("Duration"), boolean("IsAllDayEvent", "0"),
               integer("BusyStatus"), integer("Label"), integer("Color"), integer("Importance", "1"),
               boolean("IsImportant", "0"), boolean("IsUrgent", "0"), integer("Status", "0"),
               integer("PercentComplete", "0"), boolean("IsComplete", "0"), dateTime("DateCompleted"),
               number("TotalWork"), number("ActualWork"), text("Mileage"), text("BillingInformation"),
               text("Companies"), text("Categories"), integer("PlaceID"), text("PlaceName"),
               text("ContactNames"), integer("UserID"), boolean("IsPrivate", "0"), integer("Sensitivity", "1"),
               boolean("IsTeamTask", "0"), boolean("IsSecurity", "0"), boolean("IsShowTraditionalCalendar", "0"),
               boolean("HasReminder", "0"), integer("ReminderID"), text("ReminderInfo"),
               boolean("IsRecurring", "0"), integer("IRecurrencePatternID"), integer("RecurrenceState", "0"),
               integer("ParentID", "0"), dateTime("Anniversary"), dateTime("Birthday"), dateTime("TimeCreated"),
               dateTime("TimeModified"), memo("LinkInfo")}),
        table("IRecurrencePattern",
              {key("IRecurrencePatternID"), integer("RecurrenceType"), integer("Interval"),
               integer("DayOfWeekMask"), integer("DayOfMonth"), integer("Instance"), integer("MonthOfYear"),
               dateTime("PatternStartDate"), dateTime("PatternEndDate"), boolean("NoEndDate", "0"),
               integer("EndType"), integer("Occurrences", "10"), dateTime("StartTime"), dateTime("EndTime"),
               integer("Duration"), boolean("Regenerate", "0")}),
        table("Reminders",
              {key("ReminderID"), dateTime("ReminderTime"), dateTime("ReminderNewTime"),
               integer("ReminderMinutesBeforeStart"), integer("ReminderMethod"), integer("Behavior", "0"),
               integer("AgentChar", "0"), text("ReminderMedia"), text("ApplicationPath"), text("ApplicationParas"),
               text("RecipientsTo"), text("RecipientsCC"), text("RecipientsBCC"), memo("MultiActions"),
               boolean("IsTodayReminder", "0"), boolean("HasNotified", "0"), boolean("ReminderSet", "0"),
               integer("SnoozeTime")}),
        table("Exceptions",
              {key("ExceptionID"), integer("ITaskID"), integer("ParentID"), dateTime("OriginalDate"),
               boolean("IsDeleted", "0"), boolean("IsArchived", "0")}),
        table("ToDoList",
              {key("ToDoListID"), integer("LinkID"), text("LinkType"), text("Name"), text("Description"),
               boolean("IsFinished", "0"), boolean("IsImportant", "0"), boolean("IsUrgent", "0"),
               boolean("IsActive", "1")}),
        table("Categories", {key("CategoryID"), text("Name"), boolean("IsSecurityCategory", "0")}),
        table("Places",
              {key("PlaceID"), text("Name"), memo("Description"), integer("Color"), integer("RegionID")}),
        table("Regions",
              {key("RegionID"), text("Name"), text("Description"), integer("Color"), number("LaborTax"),
               number("ExpenseTax")}),
        table("Users",
              {key("UserID"), text("FullName"), text("UserNumber"), text("JobTitle"), text("EMail"),
               text("PINNumber"), text("SSNNumber"), integer("Color"), integer("Icon", "0"), blob("Picture"),
               boolean("IsDisplayed", "1"), boolean("Gender", "0"), dateTime("Birthday"),
               dateTime("Anniversary"), text("WorkType", "'F'"), number("WorkDays", "5"),
               number("WorkHours", "7.5"), text("Software", "'N'"), dateTime("StartTime"), dateTime("EndTime"),
               dateTime("TimeCreated"), dateTime("TimeModified"), dateTime("TimeDeleted")}),
        table("Notes",
              {key("NoteID"), text("Subject"), memo("Body"), text("Categories"), integer("Color"),
               integer("Left", "80"), integer("Top", "78"), integer("Width", "237"), integer("Height", "203"),
               integer("UserID"), integer("Importance", "1"), integer("Sensitivity", "1"), integer("LinkID"),
               text("LinkType"), memo("LinkInfo"), dateTime("TimeCreated"), dateTime("TimeModified")}),
        table("Contacts", contactColumns()),
        table("Holidays",
              {key("HolidayID"), text("Name"), text("PlaceName"), text("Rule"), text("Categories", "'Holiday'"),
               integer("HolidayType", "1"), integer("MonthOfYear"), integer("DayOfMonth"), integer("Instance"),
               integer("WeekMask", "2"), dateTime("HolidayDate"), integer("Interval", "1"),
               integer("Occurrences", "1"), boolean("HasStartYear", "0"), boolean("IsAvailable", "1"),
               boolean("IsTraditionalCalendar", "0"), integer("Icon", "0")}),
    };
}

IndexSchema index(const char* table, QStringList columns)
{
    return {QStringLiteral("IX_%1_%2").arg(QString::fromLatin1(table), columns.join(QLatin1Char('_'))),
            QString::fromLatin1(table), std::move(columns)};
}

QString quoted(const QString& identifier)
{
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

void execute(sqlite3* db, const QString& sql)
{
    SqliteStatement::execute(db, sql.toUtf8().constData());
}

void insertNamedRow(sqlite3* db, const char* sql, const QString& name)
{
    SqliteStatement statement(db, sql);
    statement.bind(1, name);
    statement.exec();
}

// The rows every database starts with. The reserved rows come first, so they
// hold the lowest keys, which is what makes them the default of each list.
void addReservedRows(sqlite3* db)
{
    const QString none = QString::fromLatin1(kNoneEntryName);
    insertNamedRow(db, "INSERT INTO \"Regions\" (\"Name\", \"Color\", \"LaborTax\", \"ExpenseTax\") "
                       "VALUES (?1, 16777215, 0, 0)", none);
    const std::int64_t noneRegion = sqlite3_last_insert_rowid(db);
    {
        SqliteStatement statement(db, "INSERT INTO \"Places\" (\"Name\", \"Color\", \"RegionID\") "
                                      "VALUES (?1, 16777215, ?2)");
        statement.bind(1, none).bind(2, noneRegion);
        statement.exec();
    }
    insertNamedRow(db, "INSERT INTO \"Categories\" (\"Name\", \"IsSecurityCategory\") VALUES (?1, 0)", none);
    // Never in force: it only stands for "no holiday".
    insertNamedRow(db, "INSERT INTO \"Holidays\" (\"Name\", \"Categories\", \"HolidayType\", \"MonthOfYear\", "
                       "\"DayOfMonth\", \"Instance\", \"WeekMask\", \"IsAvailable\") "
                       "VALUES (?1, 'Holiday', 1, 1, 1, 1, 2, 0)",
                   none);

    const DateTime created = now();
    const DateTime today = created.datePart();
    SqliteStatement user(db, "INSERT INTO \"Users\" (\"FullName\", \"UserNumber\", \"JobTitle\", \"Color\", "
                             "\"Icon\", \"IsDisplayed\", \"Gender\", \"WorkType\", \"WorkDays\", \"WorkHours\", "
                             "\"Software\", \"StartTime\", \"EndTime\", \"TimeCreated\", \"TimeModified\") "
                             "VALUES (?1, '0', ?2, 16777215, 0, 1, 0, 'F', 5, 7.5, 'N', ?3, ?4, ?5, ?5)");
    user.bind(1, QString::fromLatin1(kReservedUserName))
        .bind(2, QStringLiteral("Administrator"))
        .bind(3, today.toDays())
        .bind(4, today.addYears(100).toDays())
        .bind(5, created.toDays());
    user.exec();

    SqliteStatement category(db, "INSERT INTO \"Categories\" (\"Name\", \"IsSecurityCategory\") VALUES (?1, 0)");
    for (const QString& name : defaultCategoryNames()) {
        category.bind(1, name);
        category.exec();
        category.reset();
    }
}

void removeDatabaseFiles(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

const QList<TableSchema>& databaseTables()
{
    static const QList<TableSchema> tables = buildTables();
    return tables;
}

const QList<IndexSchema>& databaseIndexes()
{
    static const QList<IndexSchema> indexes{
        index("ITask", {"IsTask"}),
        index("ITask", {"ParentID"}),
        index("ITask", {"RecurrenceState"}),
        index("ITask", {"StartDate"}),
        index("ITask", {"ReminderID"}),
        index("ToDoList", {"LinkID"}),
        index("Exceptions", {"ParentID"}),
        index("Exceptions", {"ITaskID"}),
        index("Holidays", {"Name"}),
        index("Categories", {"Name"}),
    };
    return indexes;
}

QString createTableSql(const TableSchema& table)
{
    QStringList definitions;
    for (const ColumnSchema& column : table.columns) {
        QString definition = quoted(column.name) + QLatin1Char(' ') + column.declaredType;
        if (!column.defaultValue.isEmpty())
            definition += QStringLiteral(" DEFAULT ") + column.defaultValue;
        definitions.append(definition);
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table.name), definitions.join(QStringLiteral(", ")));
}

void createDatabase(const QString& path, const std::function<void(sqlite3*)>& populate)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty())
        throw Exception(QStringLiteral("No database file name was given."));
    if (info.exists())
        throw Exception(QStringLiteral("The database file \"%1\" already exists; it was left as it is.").arg(path));
    if (!QDir().mkpath(info.absolutePath()))
        throw Exception(QStringLiteral("The folder \"%1\" cannot be made.").arg(info.absolutePath()));

    // Claiming the name with an exclusive create means a file that appears
    // meanwhile is refused too, never opened and filled.
    {
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                throw Exception(
                    QStringLiteral("The database file \"%1\" already exists; it was left as it is.").arg(path));
            throw Exception(QStringLiteral("The database file \"%1\" cannot be made: %2").arg(path, claim.errorString()));
        }
    }

    sqlite3* db = nullptr;
    try {
        const QByteArray nativePath = QFile::encodeName(path);
        if (sqlite3_open_v2(nativePath.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw Exception(QStringLiteral("The database file \"%1\" cannot be opened: %2")
                                .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory")));
        SqliteStatement::execute(db, "PRAGMA journal_mode=WAL");
        SqliteStatement::execute(db, "BEGIN IMMEDIATE");
        for (const TableSchema& table : databaseTables())
            execute(db, createTableSql(table));
        for (const IndexSchema& index : databaseIndexes()) {
            QStringList columns;
            for (const QString& column : index.columns)
                columns.append(quoted(column));
            execute(db, QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                            .arg(quoted(index.name), quoted(index.table), columns.join(QStringLiteral(", "))));
        }
        addReservedRows(db);
        if (populate)
            populate(db);
        execute(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        SqliteStatement::execute(db, "COMMIT");
        if (sqlite3_close(db) != SQLITE_OK)
            throw Exception(QStringLiteral("The database file \"%1\" cannot be closed.").arg(path));
        db = nullptr;
    } catch (...) {
        if (db)
            sqlite3_close_v2(db);
        removeDatabaseFiles(path);
        throw;
    }
}

} // namespace velmora
