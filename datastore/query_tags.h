#pragma once
// The run-time tags by which the record rules tell the tables of the queries apart.

namespace velmora {

inline constexpr int kTagRecurrences = 1;        // IRecurrencePattern
inline constexpr int kTagReminders = 2;          // Reminders
inline constexpr int kTagTasks = 3;              // ITask rows with IsTask true
inline constexpr int kTagAppointments = 4;       // ITask rows with IsTask false
inline constexpr int kTagTaskToDos = 5;          // ToDoList, LinkType "T"
inline constexpr int kTagCategories = 6;         // Categories
inline constexpr int kTagHolidays = 7;           // Holidays
inline constexpr int kTagUsers = 8;              // Users, shown as resources
inline constexpr int kTagPlaces = 9;             // Places, shown as locations
inline constexpr int kTagRegions = 10;           // Regions
inline constexpr int kTagNotes = 11;             // Notes
inline constexpr int kTagAppointmentToDos = 12;  // ToDoList, LinkType "A"
inline constexpr int kTagExceptions = 13;        // Exceptions
inline constexpr int kTagContacts = 14;          // Contacts
inline constexpr int kTagTransaction = 20;       // the scratch query for transactions and copies

} // namespace velmora
