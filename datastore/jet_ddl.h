#pragma once
// CREATE TABLE and ALTER TABLE ... ADD written with Jet column types (Memo,
// Char(255), Datetime, YesNo, Counter...) turned into the types SQLite
// declares, so that a column's declared type still tells its field type.

#include "datastore/sql_token.h"

#include <QString>

#include <vector>

namespace velmora {

// The SQLite type for a Jet column type name ("Memo" gives "LONGTEXT"), or
// an empty text for a name that is not one.
QString sqliteColumnType(const QString& jetType);

// Rewrites the column types of one CREATE TABLE or ALTER TABLE ... ADD
// statement. SQLite adds one column per ALTER TABLE, so a statement that
// adds several comes back as one statement per column. Any other statement
// comes back unchanged.
std::vector<SqlTokens> translateJetDdl(const SqlTokens& statement);

} // namespace velmora
