#include "platform/sqlite_statement.h"

#include "platform/exception.h"

#include <sqlite3.h>

namespace velmora::platform {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        fail("prepare");
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int position, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT)
        != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bind(int position, std::int64_t number)
{
    if (sqlite3_bind_int64(m_statement, position, number) != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bind(int position, double number)
{
    if (sqlite3_bind_double(m_statement, position, number) != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int position, const QByteArray& bytes)
{
    // A zero-length blob must stay a blob, not become NULL.
    const int rc = bytes.isEmpty()
        ? sqlite3_bind_zeroblob(m_statement, position, 0)
        : sqlite3_bind_blob(m_statement, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int position)
{
    if (sqlite3_bind_null(m_statement, position) != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bindValue(int position, const QVariant& value)
{
    if (value.isNull())
        return bindNull(position);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return bind(position, std::int64_t(value.toBool() ? 1 : 0));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::ULongLong:
        return bind(position, std::int64_t(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return bind(position, value.toDouble());
    case QMetaType::QByteArray:
        return bindBlob(position, value.toByteArray());
    default:
        return bind(position, value.toString());
    }
}

int SqliteStatement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_statement);
}

int SqliteStatement::parameterIndex(const QString& name) const
{
    const QByteArray key = (name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name).toUtf8();
    return sqlite3_bind_parameter_index(m_statement, key.constData());
}

QString SqliteStatement::parameterName(int position) const
{
    return QString::fromUtf8(sqlite3_bind_parameter_name(m_statement, position));
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement has to be reset before the error text is reliable.
    sqlite3_reset(m_statement);
    fail("run");
}

void SqliteStatement::exec()
{
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QString SqliteStatement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
}

std::int64_t SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArray SqliteStatement::blob(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    return QByteArray(data, sqlite3_column_bytes(m_statement, column));
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER: return QVariant::fromValue<qint64>(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_TEXT: return QVariant(text(column));
    case SQLITE_BLOB: return QVariant(blob(column));
    default: return QVariant();
    }
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

QString SqliteStatement::columnDeclaredType(int column) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_statement, column));
}

QString SqliteStatement::columnTable(int column) const
{
    return QString::fromUtf8(sqlite3_column_table_name(m_statement, column));
}

QString SqliteStatement::columnOrigin(int column) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_statement, column));
}

void SqliteStatement::execute(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        throw Exception(QStringLiteral("Database error: %1 (in: %2)").arg(text, QString::fromUtf8(sql).simplified()));
    }
}

void SqliteStatement::fail(const char* action) const
{
    const char* sql = m_statement ? sqlite3_sql(m_statement) : nullptr;
    throw Exception(QStringLiteral("Database error (%1): %2 (in: %3)")
                        .arg(QString::fromLatin1(action), QString::fromUtf8(sqlite3_errmsg(m_db)),
                             QString::fromUtf8(sql ? sql : "")));
}

int sqliteErrorCode(sqlite3* db)
{
    return sqlite3_errcode(db);
}

} // namespace velmora::platform
