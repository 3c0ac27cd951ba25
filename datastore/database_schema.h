#pragma once
// The tables, fields and indexes of the suite's database file, and the one
// routine that makes a new file with them and its reserved rows.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;

namespace velmora {

// The table layout of release 4.0 (ITask has Anniversary and Birthday),
// kept in the file as PRAGMA user_version.
inline constexpr int kSchemaVersion = 4;

// The reserved row of Categories, Places, Regions and Holidays, which the
// lists leave out, and the reserved user: the lowest UserID, the default
// owner of every item, which cannot be deleted.
inline constexpr char kNoneEntryName[] = "[None]";
inline constexpr char kReservedUserName[] = "Administrator";

// Declared column types; each maps to a FieldType through fieldTypeFromDeclared.
inline constexpr char kKeyColumnType[] = "INTEGER PRIMARY KEY AUTOINCREMENT";
inline constexpr char kIntegerColumnType[] = "INTEGER";
inline constexpr char kNumberColumnType[] = "DOUBLE";
inline constexpr char kBooleanColumnType[] = "BOOLEAN";
inline constexpr char kTextColumnType[] = "TEXT";
inline constexpr char kMemoColumnType[] = "LONGTEXT";
inline constexpr char kDateTimeColumnType[] = "DATETIME";
inline constexpr char kBlobColumnType[] = "BLOB";

struct ColumnSchema {
    QString name;
    QString declaredType;
    QString defaultValue; // an SQL literal ("0", "'N'"), or empty for none
};

struct TableSchema {
    QString name;
    QString keyField; // the first column
    QList<ColumnSchema> columns;
};

struct IndexSchema {
    QString name;
    QString table;
    QStringList columns;
};

// Every table the programs share, in creation order. TempNotification is not
// among them: the alert program makes and drops it itself.
const QList<TableSchema>& databaseTables();
const QList<IndexSchema>& databaseIndexes();

// The CREATE TABLE statement of one table, identifiers quoted.
QString createTableSql(const TableSchema& table);

// Creates a new database file at path (making its folder when missing) with
// every table and index, the reserved rows, the default categories and the
// schema version, in one transaction, in WAL mode. populate, when given,
// runs on the new file inside the same transaction, so a failure anywhere
// leaves no file behind. Raises velmora::Exception when the file exists
// (which is then left untouched) or cannot be made.
void createDatabase(const QString& path, const std::function<void(sqlite3*)>& populate = {});

} // namespace velmora
