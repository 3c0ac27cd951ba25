#pragma once
// One program's connection to the database file: SQLite in WAL mode with a
// busy time-out, so that several programs share the file, and nested
// transactions (an outer BEGIN IMMEDIATE, savepoints inside it).

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

struct sqlite3;

namespace velmora {

class DbConnection {
public:
    static constexpr int kBusyTimeoutMs = 10000;

    // Opens an existing database file; raises velmora::Exception with the
    // engine's message when it is missing or not a database. With create,
    // a missing file is created empty.
    static std::unique_ptr<DbConnection> open(const QString& path, bool create = false);
    // Opens the file a published connection string names in "Data Source=".
    static std::unique_ptr<DbConnection> openConnectionString(const QString& connectionString);
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    QString path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // Runs SQL written in the suite's dialect (see SqlDialect); positional
    // values bind to ?1.., named ones (":ITaskID") by name.
    void execute(const QString& sql, const QVariantList& values = {});
    void executeNamed(const QString& sql, const QVariantMap& values);
    // The first column of the first row, or a null QVariant.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    std::int64_t lastInsertRowId() const;

    void beginTransaction();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // Tables and their columns as the file has them.
    bool tableExists(const QString& table);
    QStringList columnNames(const QString& table);

private:
    DbConnection(sqlite3* db, QString path);
    sqlite3* m_db;
    QString m_path;
    int m_depth = 0;
};

} // namespace velmora
