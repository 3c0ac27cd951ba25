#pragma once
// A small database for the record-rule tests: the tables the rules touch,
// cut down to the fields a test needs, in a sandboxed temporary file.

#include "datastore/dataset.h"
#include "datastore/db_connection.h"
#include "datastore/general_handlers.h"
#include "tests/support/sandbox.h"

#include <QStringList>

#include <memory>

namespace velmora::test {

class RulesDatabase {
public:
    RulesDatabase()
    {
        m_connection = DbConnection::open(path(), true);
        for (const QString& statement : schema())
            m_connection->execute(statement);
    }

    QString path() const { return m_sandbox.path() + QStringLiteral("/rules.db"); }
    DbConnection& db() { return *m_connection; }
    Sandbox& sandbox() { return m_sandbox; }

    // An open query with the shared record rules attached (unless told otherwise).
    std::unique_ptr<DataSet> query(const QString& sql, int tag, const QString& name = QStringLiteral("qryTest"),
                                   bool generalHandlers = true)
    {
        auto ds = std::make_unique<DataSet>(m_connection.get());
        ds->setObjectName(name);
        ds->setTag(tag);
        ds->setSql(sql);
        if (generalHandlers)
            AttachGeneralHandlers(*ds);
        ds->open();
        return ds;
    }

    int count(const QString& table) { return m_connection->scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(); }

private:
    static QStringList schema()
    {
        const QString key = QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT, ");
        return {
            QStringLiteral("CREATE TABLE ITask (ITaskID") + key
                + QStringLiteral("IsTask BOOLEAN, Subject TEXT, Body LONGTEXT, StartDate DATETIME, DueDate DATETIME, "
                                 "Duration INTEGER, IsAllDayEvent BOOLEAN, Label INTEGER, Color INTEGER, Importance "
                                 "INTEGER, IsImportant BOOLEAN, IsUrgent BOOLEAN, Status INTEGER, PercentComplete "
                                 "INTEGER, IsComplete BOOLEAN, TotalWork DOUBLE, ActualWork DOUBLE, Categories TEXT, "
                                 "PlaceID INTEGER, UserID INTEGER, IsPrivate BOOLEAN, Sensitivity INTEGER, IsTeamTask "
                                 "BOOLEAN, IsSecurity BOOLEAN, IsShowTraditionalCalendar BOOLEAN, HasReminder BOOLEAN, "
                                 "ReminderID INTEGER, ReminderInfo TEXT, IsRecurring BOOLEAN, IRecurrencePatternID "
                                 "INTEGER, RecurrenceState INTEGER, ParentID INTEGER, TimeCreated DATETIME, "
                                 "TimeModified DATETIME)"),
            QStringLiteral("CREATE TABLE IRecurrencePattern (IRecurrencePatternID") + key
                + QStringLiteral("RecurrenceType INTEGER, Interval INTEGER, DayOfWeekMask INTEGER, DayOfMonth INTEGER, "
                                 "Instance INTEGER, MonthOfYear INTEGER, PatternStartDate DATETIME, PatternEndDate "
                                 "DATETIME, NoEndDate BOOLEAN, EndType INTEGER, Occurrences INTEGER, StartTime DATETIME, "
                                 "EndTime DATETIME, Duration INTEGER, Regenerate BOOLEAN)"),
            QStringLiteral("CREATE TABLE Reminders (ReminderID") + key
                + QStringLiteral("ReminderTime DATETIME, ReminderNewTime DATETIME, ReminderMinutesBeforeStart INTEGER, "
                                 "ReminderMethod INTEGER, Behavior INTEGER, AgentChar INTEGER, IsTodayReminder BOOLEAN, "
                                 "HasNotified BOOLEAN, ReminderSet BOOLEAN)"),
            QStringLiteral("CREATE TABLE ToDoList (ToDoListID") + key
                + QStringLiteral("LinkID INTEGER, LinkType TEXT, Name TEXT, Description TEXT, IsFinished BOOLEAN, "
                                 "IsImportant BOOLEAN, IsUrgent BOOLEAN, IsActive BOOLEAN)"),
            // PlaceID and UserID let a test see which defaults a category takes.
            QStringLiteral("CREATE TABLE Categories (CategoryID") + key
                + QStringLiteral("Name TEXT, IsSecurityCategory BOOLEAN, PlaceID INTEGER, UserID INTEGER)"),
            QStringLiteral("CREATE TABLE Places (PlaceID") + key
                + QStringLiteral("Name TEXT, Description LONGTEXT, Color INTEGER, RegionID INTEGER, CategoryID INTEGER)"),
            QStringLiteral("CREATE TABLE Regions (RegionID") + key
                + QStringLiteral("Name TEXT, Description TEXT, Color INTEGER)"),
            QStringLiteral("CREATE TABLE Users (UserID") + key
                + QStringLiteral("FullName TEXT, JobTitle TEXT, Color INTEGER, IsDisplayed BOOLEAN, Gender BOOLEAN, "
                                 "WorkType TEXT, WorkDays DOUBLE, WorkHours DOUBLE, Software TEXT, StartTime DATETIME, "
                                 "EndTime DATETIME, TimeCreated DATETIME, TimeModified DATETIME)"),
            QStringLiteral("CREATE TABLE Notes (NoteID") + key
                + QStringLiteral("Subject TEXT, Body LONGTEXT, Color INTEGER, [Left] INTEGER, [Top] INTEGER, Width "
                                 "INTEGER, Height INTEGER, UserID INTEGER, Importance INTEGER, Sensitivity INTEGER, "
                                 "TimeCreated DATETIME, TimeModified DATETIME)"),
            QStringLiteral("CREATE TABLE Holidays (HolidayID") + key
                + QStringLiteral("Name TEXT, PlaceName TEXT, Categories TEXT, HolidayType INTEGER, MonthOfYear INTEGER, "
                                 "DayOfMonth INTEGER, Instance INTEGER, WeekMask INTEGER, Interval INTEGER, Occurrences "
                                 "INTEGER, HasStartYear BOOLEAN, IsAvailable BOOLEAN, IsTraditionalCalendar BOOLEAN, "
                                 "Icon INTEGER)"),
            QStringLiteral("CREATE TABLE Contacts (ContactID") + key
                + QStringLiteral("FirstName TEXT, MiddleName TEXT, LastName TEXT, FullName TEXT, FileAs TEXT, "
                                 "Email1Address TEXT, User1 TEXT, Birthday DATETIME, TimeModified DATETIME)"),
            // Not a table of the suite: records under review, and periods to check dates on.
            QStringLiteral("CREATE TABLE Entries (EntryID") + key
                + QStringLiteral("Name TEXT, FullName TEXT, Note TEXT, ApprovalStatus TEXT)"),
            QStringLiteral("CREATE TABLE Periods (PeriodID") + key
                + QStringLiteral("Name TEXT, StartDate DATETIME, EndDate DATETIME, StartTime DATETIME, EndTime "
                                 "DATETIME, Remark TEXT, Notes LONGTEXT, Count INTEGER)"),
        };
    }

    Sandbox m_sandbox;
    std::unique_ptr<DbConnection> m_connection;
};

} // namespace velmora::test
