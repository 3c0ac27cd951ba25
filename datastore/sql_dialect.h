#pragma once
// Turns SQL as the suite writes it (TOP n, [name] quoting, True/False,
// #date# literals, Jet column types in DDL) into SQL that SQLite takes. Only
// what SQLite does not understand is rewritten; text inside quotes is never
// touched.

#include <QString>
#include <QStringList>

namespace velmora {

class SqlDialect {
public:
    // Several statements come back joined by "; ".
    static QString translate(const QString& sql);
    // One SQLite statement per entry: a statement that adds several columns
    // to a table becomes one ALTER TABLE per column. Raises
    // velmora::Exception for a date literal that is no date.
    static QStringList translateStatements(const QString& sql);
};

} // namespace velmora
