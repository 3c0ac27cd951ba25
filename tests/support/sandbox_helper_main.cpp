// A second process for tests: holds a named mutex until it is killed, or
// writes its working folder and arguments to a file (to show how it was
// started), or prints the moment its clock says it is.

#include "foundation/clock.h"
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
               "       velmora_test_helper print-now\n",
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
    if (args.size() >= 2 && args[0] == QLatin1String("write-args"))
        return writeArguments(args[1], args.mid(2));
    return usage();
}
