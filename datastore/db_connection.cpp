#include "datastore/db_connection.h"

#include "datastore/connection_string.h"
#include "datastore/sql_dialect.h"
#include "platform/exception.h"
#include "platform/sqlite_statement.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace velmora {

using platform::SqliteStatement;

namespace {

void bindAll(SqliteStatement& statement, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        statement.bindValue(i + 1, values.at(i));
}

} // namespace

std::unique_ptr<DbConnection> DbConnection::open(const QString& path, bool create)
{
    if (!create && !QFileInfo(path).isFile())
        throw Exception(QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        throw Exception(QStringLiteral("Could not open database '%1': %2").arg(path, reason));
    }
    std::unique_ptr<DbConnection> connection(new DbConnection(db, path));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    try {
        // Reading the schema proves the file is a database before anyone relies on it.
        SqliteStatement::execute(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; "
                                     "PRAGMA foreign_keys=OFF; SELECT count(*) FROM sqlite_master;");
    } catch (const Exception& error) {
        throw Exception(QStringLiteral("Could not open database '%1': %2").arg(path, error.message()));
    }
    return connection;
}

std::unique_ptr<DbConnection> DbConnection::openConnectionString(const QString& connectionString)
{
    const QString path = DataSourceOf(connectionString);
    if (path.isEmpty())
        throw Exception(QStringLiteral("The connection string names no data source: %1").arg(connectionString));
    return open(path);
}

DbConnection::DbConnection(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}

DbConnection::~DbConnection()
{
    if (m_depth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(m_db);
}

void DbConnection::execute(const QString& sql, const QVariantList& values)
{
    // One text may become several statements (a table gaining two columns).
    for (const QString& translated : SqlDialect::translateStatements(sql)) {
        SqliteStatement statement(m_db, translated.toUtf8().constData());
        bindAll(statement, values);
        statement.exec();
    }
}

void DbConnection::executeNamed(const QString& sql, const QVariantMap& values)
{
    for (const QString& translated : SqlDialect::translateStatements(sql)) {
        SqliteStatement statement(m_db, translated.toUtf8().constData());
        for (auto it = values.begin(); it != values.end(); ++it) {
            const int position = statement.parameterIndex(it.key());
            if (position > 0)
                statement.bindValue(position, it.value());
        }
        statement.exec();
    }
}

QVariant DbConnection::scalar(const QString& sql, const QVariantList& values)
{
    SqliteStatement statement(m_db, SqlDialect::translate(sql).toUtf8().constData());
    bindAll(statement, values);
    return statement.step() ? statement.value(0) : QVariant();
}

std::int64_t DbConnection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void DbConnection::beginTransaction()
{
    // The outer level takes the write lock at once, so two programs posting
    // at the same time wait for each other instead of failing half-way.
    if (m_depth == 0)
        SqliteStatement::execute(m_db, "BEGIN IMMEDIATE");
    else
        SqliteStatement::execute(m_db, QStringLiteral("SAVEPOINT level%1").arg(m_depth).toUtf8().constData());
    ++m_depth;
}

void DbConnection::commit()
{
    if (m_depth == 0)
        throw Exception(QStringLiteral("No transaction is active."));
    --m_depth;
    if (m_depth == 0)
        SqliteStatement::execute(m_db, "COMMIT");
    else
        SqliteStatement::execute(m_db, QStringLiteral("RELEASE level%1").arg(m_depth).toUtf8().constData());
}

void DbConnection::rollback()
{
    if (m_depth == 0)
        throw Exception(QStringLiteral("No transaction is active."));
    --m_depth;
    if (m_depth == 0) {
        SqliteStatement::execute(m_db, "ROLLBACK");
    } else {
        const QByteArray level = QByteArray::number(m_depth);
        SqliteStatement::execute(m_db, "ROLLBACK TO level" + level + "; RELEASE level" + level);
    }
}

bool DbConnection::tableExists(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 "
                                 "COLLATE NOCASE"),
                  {table})
               .toLongLong()
        > 0;
}

QStringList DbConnection::columnNames(const QString& table)
{
    QStringList names;
    SqliteStatement statement(m_db, "SELECT name FROM pragma_table_info(?1)");
    statement.bind(1, table);
    while (statement.step())
        names << statement.text(0);
    return names;
}

} // namespace velmora
