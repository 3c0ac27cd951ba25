// velmora_dbtool: the database manager. From the command line it creates a
// new database file, with a sample set for a first look when asked.

#include "datastore/database_schema.h"
#include "datastore/demo_data.h"
#include "foundation/clock.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void printLine(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

int usage()
{
    printLine(stderr, QStringLiteral("Usage: velmora_dbtool --create PATH [--demo]\n"
                                     "  --create PATH  make a new, empty database file at PATH (never overwrites)\n"
                                     "  --demo         also fill it with a sample of items around today"));
    return kExitUsage;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments();
    arguments.removeFirst();

    QString path;
    bool demo = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--create") && path.isEmpty() && i + 1 < arguments.size()
            && !arguments[i + 1].startsWith(QLatin1String("--"))) {
            path = arguments[++i];
        } else if (argument == QLatin1String("--demo") && !demo) {
            demo = true;
        } else {
            return usage();
        }
    }
    if (path.isEmpty())
        return usage();

    try {
        velmora::DemoDataSummary summary;
        std::function<void(sqlite3*)> populate;
        if (demo)
            populate = [&summary](sqlite3* db) { summary = velmora::addDemoData(db, velmora::today()); };
        velmora::createDatabase(path, populate);
        printLine(stdout, QStringLiteral("Created %1").arg(QDir::toNativeSeparators(path)));
        printLine(stdout, QStringLiteral("Added the reserved entries and the default categories."));
        if (demo)
            printLine(stdout, QStringLiteral("Added sample data: %1.").arg(summary.describe()));
        return 0;
    } catch (const std::exception& error) {
        printLine(stderr, QStringLiteral("velmora_dbtool: %1").arg(velmora::Exception::messageOf(error)));
        return kExitFailed;
    }
}
