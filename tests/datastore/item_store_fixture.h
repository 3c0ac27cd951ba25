#pragma once
// A full database in a sandbox, stopped at a chosen "now", with the queries
// the main data module keeps over items, patterns, reminders and exceptions.

#include "datastore/database_schema.h"
#include "datastore/dataset.h"
#include "datastore/db_connection.h"
#include "datastore/general_handlers.h"
#include "datastore/query_tags.h"
#include "tests/support/fake_clock.h"
#include "tests/support/sandbox.h"

#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace velmora::test {

class ItemStore {
public:
    explicit ItemStore(DateTime now) : m_clock(now)
    {
        createDatabase(path());
        m_connection = DbConnection::open(path());
        tasks = makeQuery(QStringLiteral("SELECT * FROM ITask WHERE IsTask <> 0"), kTagTasks, "qryTasks");
        appointments = makeQuery(QStringLiteral("SELECT * FROM ITask WHERE IsTask = 0 ORDER BY RecurrenceState "),
                                 kTagAppointments, "qryAppointments");
        patterns = makeQuery(QStringLiteral("SELECT * FROM IRecurrencePattern "), kTagRecurrences, "qryRecurrences");
        reminders = makeQuery(QStringLiteral("SELECT * FROM Reminders "), kTagReminders, "qryReminders");
        exceptions = makeQuery(QStringLiteral("SELECT * FROM Exceptions "), kTagExceptions, "qryExceptions");
    }

    QString path() const { return m_sandbox.path() + QStringLiteral("/Data/items.db"); }
    DbConnection& db() { return *m_connection; }
    Sandbox& sandbox() { return m_sandbox; }
    FakeClock& clock() { return m_clock; }

    // Adds a row (DateTime values stored as the file keeps dates) and returns its key.
    qint64 add(const QString& table, const QVariantMap& fields)
    {
        QStringList names;
        QStringList marks;
        QVariantList values;
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            names << it.key();
            marks << QStringLiteral("?%1").arg(values.size() + 1);
            values << (it.value().userType() == qMetaTypeId<DateTime>()
                           ? QVariant(it.value().value<DateTime>().toDays())
                           : it.value());
        }
        m_connection->execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                              values);
        return m_connection->lastInsertRowId();
    }

    // Reads every query afresh, after rows were added behind their backs.
    void reopen()
    {
        for (DataSet* ds : {tasks.get(), appointments.get(), patterns.get(), reminders.get(), exceptions.get()}) {
            ds->close();
            ds->open();
        }
    }

    QVariant value(const QString& sql, const QVariantList& values = {}) { return m_connection->scalar(sql, values); }
    int count(const QString& table) { return value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(); }
    DateTime dateValue(const QString& sql, const QVariantList& values = {})
    {
        return DateTime::fromDays(value(sql, values).toDouble());
    }

private:
    std::unique_ptr<DataSet> makeQuery(const QString& sql, int tag, const char* name)
    {
        auto ds = std::make_unique<DataSet>(m_connection.get());
        ds->setObjectName(QString::fromLatin1(name));
        ds->setTag(tag);
        ds->setSql(sql);
        AttachGeneralHandlers(*ds);
        ds->open();
        return ds;
    }

    Sandbox m_sandbox;
    FakeClock m_clock;
    std::unique_ptr<DbConnection> m_connection;

public:
    // Declared last: they go before the connection they read through.
    std::unique_ptr<DataSet> tasks, appointments, patterns, reminders, exceptions;
};

} // namespace velmora::test
