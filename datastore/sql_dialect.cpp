// PLACEHOLDER until the dialect lands: passes SQL through unchanged.
#include "datastore/sql_dialect.h"

namespace velmora {

QString SqlDialect::translate(const QString& sql)
{
    return sql;
}

} // namespace velmora
