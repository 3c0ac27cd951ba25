// A second process for tests: holds a named mutex until it is killed.

#include "platform/named_mutex.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

int usage()
{
    std::fputs("usage: velmora_test_helper hold-mutex NAME\n", stderr);
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("hold-mutex"))
        return holdMutex(args[1]);
    return usage();
}
