// velmora_cli: the agenda of a range of days from the command line, read
// from the database file without changing it.

#include "datastore/agenda.h"
#include "datastore/connection_string.h"
#include "datastore/db_connection.h"
#include "foundation/date_time.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <cstdio>
#include <exception>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void printLine(FILE* stream, const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stream);
}

int usage(const QString& problem)
{
    printLine(stderr, QStringLiteral("velmora_cli: %1").arg(problem));
    printLine(stderr, QStringLiteral("Usage: velmora_cli agenda FROM TO [--user USERID] [--db PATH]\n"
                                     "  FROM, TO       first and last day, as YYYY-MM-DD\n"
                                     "  --user USERID  only the items of that user\n"
                                     "  --db PATH      the database file (default: the installed one)"));
    return kExitUsage;
}

std::optional<velmora::DateTime> parseDay(const QString& text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return velmora::DateTime::fromDate(date);
}

// The file opened for reading only: the agenda never changes it.
class ReadOnlyDatabase {
public:
    explicit ReadOnlyDatabase(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
            sqlite3_close(m_db);
            m_db = nullptr;
            throw velmora::Exception(QStringLiteral("Could not open database '%1': %2").arg(path, reason));
        }
        sqlite3_busy_timeout(m_db, velmora::DbConnection::kBusyTimeoutMs);
    }
    ~ReadOnlyDatabase() { sqlite3_close(m_db); }
    ReadOnlyDatabase(const ReadOnlyDatabase&) = delete;
    ReadOnlyDatabase& operator=(const ReadOnlyDatabase&) = delete;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments();
    arguments.removeFirst();

    if (arguments.isEmpty() || arguments.first() != QLatin1String("agenda"))
        return usage(QStringLiteral("expected the command \"agenda\""));
    QStringList days;
    std::optional<qint64> userId;
    QString path;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--user") || argument == QLatin1String("--db")) {
            if (i + 1 >= arguments.size())
                return usage(QStringLiteral("%1 needs a value").arg(argument));
            const QString value = arguments[++i];
            if (argument == QLatin1String("--db")) {
                path = value;
                continue;
            }
            bool ok = false;
            const qint64 id = value.toLongLong(&ok);
            if (!ok)
                return usage(QStringLiteral("the user must be a number: %1").arg(value));
            userId = id;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(argument));
        } else {
            days << argument;
        }
    }
    if (days.size() != 2)
        return usage(QStringLiteral("expected FROM and TO"));
    const std::optional<velmora::DateTime> from = parseDay(days[0]);
    const std::optional<velmora::DateTime> to = parseDay(days[1]);
    if (!from || !to)
        return usage(QStringLiteral("days are written YYYY-MM-DD"));
    if (*to < *from)
        return usage(QStringLiteral("FROM lies after TO"));

    if (path.isEmpty())
        path = velmora::GetDefaultDatabasePath(QString::fromLatin1(velmora::kDatabaseFileName));
    if (!QFileInfo(path).isFile()) {
        printLine(stderr, QStringLiteral("velmora_cli: no database file at %1").arg(path));
        return kExitFailed;
    }
    try {
        ReadOnlyDatabase database(path);
        QString text;
        for (const velmora::AgendaItem& item : velmora::Agenda(database.handle(), *from, *to, userId))
            text += velmora::AgendaLine(item) + QLatin1Char('\n');
        std::fputs(text.toUtf8().constData(), stdout);
        return 0;
    } catch (const std::exception& error) {
        printLine(stderr, QStringLiteral("velmora_cli: %1").arg(velmora::Exception::messageOf(error)));
        return kExitFailed;
    }
}
