#pragma once
// Turns SQL as the suite writes it (TOP n, [name] quoting, True/False,
// Jet column types in DDL) into SQL that SQLite takes. Only what SQLite does
// not understand is rewritten; text inside quotes is never touched.

#include <QString>

namespace velmora {

class SqlDialect {
public:
    static QString translate(const QString& sql);
};

} // namespace velmora
