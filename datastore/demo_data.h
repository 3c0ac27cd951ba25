#pragma once
// A realistic sample of appointments, tasks, series, reminders, contacts,
// notes and reference lists around a given day, for a first look at the
// product. The same day always gives the same rows.

#include "foundation/date_time.h"

#include <QString>

struct sqlite3;

namespace velmora {

// How many rows of each kind addDemoData wrote.
struct DemoDataSummary {
    int appointments = 0;   // single appointments (RecurrenceState 0)
    int tasks = 0;          // single tasks (RecurrenceState 0)
    int completedTasks = 0; // of those
    int series = 0;         // series masters with their patterns
    int changedOccurrences = 0;
    int deletedOccurrences = 0;
    int reminders = 0;
    int toDoItems = 0;
    int contacts = 0;
    int notes = 0;
    int holidays = 0;
    int resources = 0;
    int places = 0;
    int regions = 0;

    // One line for people: "212 appointments, 100 tasks, ...".
    QString describe() const;
};

// Adds the sample to a database made by createDatabase, in one savepoint
// (inside the caller's transaction when there is one). Items lie from about
// three months before today to three months after it. Raises
// velmora::Exception when a row cannot be written; nothing is kept then.
DemoDataSummary addDemoData(sqlite3* db, DateTime today);

} // namespace velmora
