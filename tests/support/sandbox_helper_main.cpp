// A second process for tests: holds a named mutex until it is killed, or
// writes its working folder and arguments to a file (to show how it was
// started), prints the moment its clock says it is, or posts rows to a
// scratch database.

#include "datastore/dataset.h"
#include "datastore/db_connection.h"
#include "foundation/clock.h"
#include "platform/exception.h"
#include "platform/named_mutex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

int usage()
{
    std::fputs("usage: velmora_test_helper hold-mutex NAME\n"
               "       velmora_test_helper write-args FILE [ARGUMENT...]\n"
               "       velmora_test_helper print-now\n"
               "       velmora_test_helper post-items DATABASE COUNT LABEL\n",
               stderr);
    return 2;
}

int holdMutex(const QString& name)
{
    velmora::platform::NamedMutex mutex(name);
    if (!mutex.tryLock(0)) {
        std::puts("busy");
        std::fflush(stdout);
        return 3;
    }
    std::puts("held");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

int writeArguments(const QString& path, const QStringList& arguments)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write((QDir::currentPath() + QLatin1Char('\n') + arguments.join(QLatin1Char('\n'))).toUtf8());
    return 0;
}

// Appends COUNT rows to the Items table of a scratch database, one post
// each, and says "posted N" after each commit.
int postItems(const QString& database, int count, const QString& label)
{
    try {
        auto connection = velmora::DbConnection::open(database);
        velmora::DataSet items(connection.get());
        items.setSql(QStringLiteral("SELECT * FROM Items WHERE ItemID = -1"));
        items.open();
        for (int i = 1; i <= count; ++i) {
            items.append();
            items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("%1 %2").arg(label).arg(i));
            items.fieldByName(QStringLiteral("Amount")).setValue(i);
            items.post();
            std::printf("posted %d\n", i);
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", qPrintable(velmora::Exception::messageOf(error)));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("hold-mutex"))
        return holdMutex(args[1]);
    if (args.size() == 1 && args[0] == QLatin1String("print-now")) {
        std::puts(qPrintable(velmora::now().toIsoText()));
        return 0;
    }
    if (args.size() == 4 && args[0] == QLatin1String("post-items"))
        return postItems(args[1], args[2].toInt(), args[3]);
    if (args.size() >= 2 && args[0] == QLatin1String("write-args"))
        return writeArguments(args[1], args.mid(2));
    return usage();
}
