#pragma once
// One prepared SQLite statement: bind by position, step, read columns, with
// every SQLite failure turned into a velmora::Exception.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::platform {

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Positions count from 1, as in SQL.
    SqliteStatement& bind(int position, const QString& text);
    SqliteStatement& bind(int position, std::int64_t number);
    SqliteStatement& bind(int position, double number);
    SqliteStatement& bindBlob(int position, const QByteArray& bytes);
    SqliteStatement& bindNull(int position);
    // Null, integer and boolean, floating-point, text, or bytes, by the
    // QVariant's type; anything else binds its text.
    SqliteStatement& bindValue(int position, const QVariant& value);
    int parameterCount() const;
    // 0 when the statement has no parameter of that name (":ITaskID").
    int parameterIndex(const QString& name) const;
    QString parameterName(int position) const; // with its ':' prefix

    // True while a row is available; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows.
    void exec();
    // Back to the start, bindings kept.
    void reset();

    // Positions count from 0, as in the SQLite column API.
    bool isNull(int column) const;
    QString text(int column) const;
    std::int64_t int64(int column) const;
    double real(int column) const;
    QByteArray blob(int column) const;
    // Null, qint64, double, QString or QByteArray by the stored class.
    QVariant value(int column) const;

    int columnCount() const;
    QString columnName(int column) const;
    // As the table declares it ("DATETIME", "LONGTEXT"); empty for expressions.
    QString columnDeclaredType(int column) const;
    // The table and column a result column comes from; empty for expressions.
    QString columnTable(int column) const;
    QString columnOrigin(int column) const;

    // Runs SQL without results (several statements allowed), e.g. PRAGMAs.
    static void execute(sqlite3* db, const char* sql);

private:
    [[noreturn]] void fail(const char* action) const;
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// The code of the last failed call on a connection, so callers can tell a
// damaged file (SQLITE_NOTADB, SQLITE_CORRUPT) from a busy or missing one.
int sqliteErrorCode(sqlite3* db);

} // namespace velmora::platform
