#pragma once
// The agenda: every appointment and task occurrence that starts within a
// range of days, series expanded, read straight from the file.

#include "foundation/date_time.h"

#include <QString>

#include <optional>
#include <vector>

struct sqlite3;

namespace velmora {

class DbConnection;

struct AgendaItem {
    DateTime start;
    DateTime finish;
    qint64 taskId = 0; // the row that holds it: the item, the master, or the changed occurrence
    QString subject;
    bool operator==(const AgendaItem&) const = default;
};

// Occurrences starting on the days from..to (both whole days, included),
// of one user when userId is given, ordered by start, then ITaskID. Plain
// items at their StartDate; series at their pattern's times, without the
// days their occurrence rows stand for; changed occurrences at their own
// times; deleted ones never. Only reads.
std::vector<AgendaItem> Agenda(sqlite3* db, DateTime from, DateTime to, std::optional<qint64> userId = {});
std::vector<AgendaItem> Agenda(DbConnection& connection, DateTime from, DateTime to,
                               std::optional<qint64> userId = {});

// "YYYY-MM-DD HH:MM<TAB>YYYY-MM-DD HH:MM<TAB>ITaskID<TAB>Subject".
QString AgendaLine(const AgendaItem& item);

} // namespace velmora
