#include "platform/settings_store.h"

#include "platform/exception.h"
#include "platform/locations.h"
#include "platform/settings_key_path.h"
#include "platform/sqlite_statement.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

// Long enough to outlast another program's write, short enough that a stuck
// writer does not hang a window for long.
constexpr int kBusyTimeoutMs = 5000;

// Keys are rows of their own so that an empty key exists and lists; a key's
// descendants are the rows whose folded path starts with its path and '\'.
constexpr char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  folded TEXT PRIMARY KEY,
  parent TEXT,
  name TEXT NOT NULL
) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent);
CREATE TABLE IF NOT EXISTS vals(
  key TEXT NOT NULL,
  folded TEXT NOT NULL,
  name TEXT NOT NULL,
  type TEXT NOT NULL,
  data,
  PRIMARY KEY(key, folded)
) WITHOUT ROWID;
INSERT OR IGNORE INTO keys(folded, parent, name) VALUES('', NULL, '');
)sql";

// Every row between "path\" and "path]" (']' follows '\' in byte order) is a
// descendant, so a range on the primary key finds them all.
QString descendantsFrom(const QString& folded) { return folded + QLatin1Char('\\'); }
QString descendantsTo(const QString& folded) { return folded + QLatin1Char(']'); }

// Raised when the file opens but its integrity check finds damage.
struct DamageFound {
};

bool isDamaged(int code)
{
    code &= 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// BEGIN IMMEDIATE takes the write lock at once, so a writer waits for another
// at the start instead of failing half-way.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : m_db(db) { SqliteStatement::execute(db, "BEGIN IMMEDIATE"); }
    ~WriteTransaction()
    {
        if (!m_done)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        SqliteStatement::execute(m_db, "COMMIT");
        m_done = true;
    }

private:
    sqlite3* m_db;
    bool m_done = false;
};

QString describe(const QString& key, const QString& name)
{
    return QStringLiteral("\"%1\" under \"%2\"").arg(name, key);
}

} // namespace

SettingsStore::SettingsStore(const QString& path)
    : m_path(path.isEmpty() ? settingsStorePath() : path)
{
    open();
}

SettingsStore::~SettingsStore()
{
    close();
}

void SettingsStore::close()
{
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SettingsStore::open()
{
    const QFileInfo file(m_path);
    QDir().mkpath(file.absolutePath());
    const QByteArray nativePath = QFile::encodeName(m_path);
    if (!file.exists()) {
        // Created here so that it never exists with a wider mode, even briefly.
        const int fd = ::open(nativePath.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
    }

    for (int attempt = 0;; ++attempt) {
        if (sqlite3_open_v2(nativePath.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
            != SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
            close();
            throw Exception(QStringLiteral("Cannot open the settings store \"%1\": %2").arg(m_path, reason));
        }
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        try {
            prepare();
            return;
        } catch (const Exception&) {
            const bool damaged = isDamaged(sqliteErrorCode(m_db));
            close();
            if (!damaged || attempt > 0)
                throw;
        } catch (const DamageFound&) {
            close();
            if (attempt > 0)
                throw Exception(QStringLiteral("The settings store \"%1\" is damaged").arg(m_path));
        }
        m_recoveredFrom = moveAside();
        std::fprintf(stderr, "velmora: the settings store %s was damaged; it was moved to %s and an empty store "
                             "was started\n",
                     qPrintable(m_path), qPrintable(m_recoveredFrom));
    }
}

void SettingsStore::prepare()
{
    SqliteStatement::execute(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    {
        // Finished before the write below: a statement left open would hold a
        // read snapshot, and a stale snapshot cannot become a writer, not
        // even by waiting.
        SqliteStatement check(m_db, "PRAGMA quick_check(1)");
        const bool sound = check.step() && check.text(0) == QLatin1String("ok");
        check.reset();
        if (!sound)
            throw DamageFound{};
    }
    // Every operation of the programs opens the store anew, so an opening
    // that finds the tables must not take the write lock.
    bool hasSchema = false;
    {
        SqliteStatement tables(m_db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                     "AND name IN ('keys', 'vals')");
        hasSchema = tables.step() && tables.int64(0) == 2;
        tables.reset();
    }
    if (hasSchema)
        return;
    WriteTransaction transaction(m_db);
    SqliteStatement::execute(m_db, kSchema);
    transaction.commit();
}

QString SettingsStore::moveAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".corrupt-") + stamp + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(m_path, aside))
        throw Exception(
            QStringLiteral("The settings store \"%1\" is damaged and cannot be moved aside").arg(m_path));
    // A journal left beside a damaged file belongs to it, not to the new store.
    const QString wal = m_path + QStringLiteral("-wal");
    if (QFileInfo::exists(wal))
        QFile::rename(wal, aside + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    return aside;
}

bool SettingsStore::keyExists(const QString& key) const
{
    SqliteStatement query(m_db, "SELECT 1 FROM keys WHERE folded = ?1");
    query.bind(1, SettingsKeyPath(key).folded());
    return query.step();
}

void SettingsStore::requireKey(const SettingsKeyPath& key) const
{
    if (!keyExists(key.text()))
        throw Exception(QStringLiteral("The settings key \"%1\" does not exist").arg(key.text()));
}

void SettingsStore::ensureKey(const SettingsKeyPath& key)
{
    SqliteStatement insert(m_db, "INSERT OR IGNORE INTO keys(folded, parent, name) VALUES(?1, ?2, ?3)");
    QString folded;
    for (const QString& component : key.components()) {
        const QString parent = folded;
        if (!folded.isEmpty())
            folded += QLatin1Char('\\');
        folded += SettingsKeyPath::fold(component);
        insert.bind(1, folded).bind(2, parent).bind(3, component);
        insert.exec();
    }
}

void SettingsStore::createKey(const QString& key)
{
    const SettingsKeyPath path(key);
    WriteTransaction transaction(m_db);
    ensureKey(path);
    transaction.commit();
}

bool SettingsStore::deleteKey(const QString& key)
{
    const SettingsKeyPath path(key);
    if (path.isRoot())
        throw Exception(QStringLiteral("The root of the settings store cannot be deleted"));
    const QString folded = path.folded();
    WriteTransaction transaction(m_db);
    SqliteStatement values(m_db, "DELETE FROM vals WHERE key = ?1 OR (key >= ?2 AND key < ?3)");
    values.bind(1, folded).bind(2, descendantsFrom(folded)).bind(3, descendantsTo(folded)).exec();
    SqliteStatement keys(m_db, "DELETE FROM keys WHERE folded = ?1 OR (folded >= ?2 AND folded < ?3)");
    keys.bind(1, folded).bind(2, descendantsFrom(folded)).bind(3, descendantsTo(folded)).exec();
    const bool existed = sqlite3_changes(m_db) > 0;
    transaction.commit();
    return existed;
}

QStringList SettingsStore::subKeys(const QString& key) const
{
    const SettingsKeyPath path(key);
    requireKey(path);
    SqliteStatement query(m_db, "SELECT name FROM keys WHERE parent = ?1 ORDER BY folded");
    query.bind(1, path.folded());
    QStringList names;
    while (query.step())
        names.append(query.text(0));
    return names;
}

QList<SettingsValueInfo> SettingsStore::values(const QString& key) const
{
    const SettingsKeyPath path(key);
    requireKey(path);
    SqliteStatement query(m_db, "SELECT name, type FROM vals WHERE key = ?1 ORDER BY folded");
    query.bind(1, path.folded());
    QList<SettingsValueInfo> result;
    while (query.step()) {
        const auto type = settingsTypeFromName(query.text(1));
        if (type)
            result.append({query.text(0), *type});
    }
    return result;
}

bool SettingsStore::valueExists(const QString& key, const QString& name) const
{
    return valueType(key, name).has_value();
}

std::optional<SettingsValueType> SettingsStore::valueType(const QString& key, const QString& name) const
{
    SqliteStatement query(m_db, "SELECT type FROM vals WHERE key = ?1 AND folded = ?2");
    query.bind(1, SettingsKeyPath(key).folded()).bind(2, SettingsKeyPath::fold(name));
    if (!query.step())
        return std::nullopt;
    return settingsTypeFromName(query.text(0));
}

bool SettingsStore::deleteValue(const QString& key, const QString& name)
{
    SqliteStatement erase(m_db, "DELETE FROM vals WHERE key = ?1 AND folded = ?2");
    erase.bind(1, SettingsKeyPath(key).folded()).bind(2, SettingsKeyPath::fold(name)).exec();
    return sqlite3_changes(m_db) > 0;
}

std::unique_ptr<SqliteStatement> SettingsStore::typedValue(const QString& key, const QString& name,
                                                           SettingsValueType wanted) const
{
    auto query = std::make_unique<SqliteStatement>(m_db, "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2");
    query->bind(1, SettingsKeyPath(key).folded()).bind(2, SettingsKeyPath::fold(name));
    if (!query->step())
        throw Exception(QStringLiteral("The settings value %1 does not exist").arg(describe(key, name)));
    const QString type = query->text(0);
    if (settingsTypeFromName(type) != wanted)
        throw Exception(QStringLiteral("Invalid data type for the settings value %1: it holds %2, not %3")
                            .arg(describe(key, name), type, settingsTypeName(wanted)));
    return query;
}

QString SettingsStore::readText(const QString& key, const QString& name) const
{
    return typedValue(key, name, SettingsValueType::Text)->text(1);
}

std::int32_t SettingsStore::readInteger(const QString& key, const QString& name) const
{
    return std::int32_t(typedValue(key, name, SettingsValueType::Integer)->int64(1));
}

double SettingsStore::readFloat(const QString& key, const QString& name) const
{
    return typedValue(key, name, SettingsValueType::Float)->real(1);
}

QByteArray SettingsStore::readBinary(const QString& key, const QString& name) const
{
    return typedValue(key, name, SettingsValueType::Binary)->blob(1);
}

template <typename Bind>
void SettingsStore::writeValue(const QString& key, const QString& name, SettingsValueType type, Bind bindData)
{
    const SettingsKeyPath path(key);
    WriteTransaction transaction(m_db);
    ensureKey(path);
    // The name keeps the case it was first written in.
    SqliteStatement upsert(m_db,
                           "INSERT INTO vals(key, folded, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                           "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    upsert.bind(1, path.folded()).bind(2, SettingsKeyPath::fold(name)).bind(3, name).bind(4, settingsTypeName(type));
    bindData(upsert, 5);
    upsert.exec();
    transaction.commit();
}

void SettingsStore::writeText(const QString& key, const QString& name, const QString& value)
{
    writeValue(key, name, SettingsValueType::Text, [&](SqliteStatement& s, int at) { s.bind(at, value); });
}

void SettingsStore::writeInteger(const QString& key, const QString& name, std::int32_t value)
{
    writeValue(key, name, SettingsValueType::Integer,
               [&](SqliteStatement& s, int at) { s.bind(at, std::int64_t(value)); });
}

void SettingsStore::writeFloat(const QString& key, const QString& name, double value)
{
    writeValue(key, name, SettingsValueType::Float, [&](SqliteStatement& s, int at) { s.bind(at, value); });
}

void SettingsStore::writeBinary(const QString& key, const QString& name, const QByteArray& value)
{
    writeValue(key, name, SettingsValueType::Binary, [&](SqliteStatement& s, int at) { s.bindBlob(at, value); });
}

} // namespace velmora::platform
