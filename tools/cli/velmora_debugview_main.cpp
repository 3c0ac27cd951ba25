// velmora_debugview: the "Debug Server" window, printing every trace it
// receives; with --send it traces one message instead.

#include "foundation/debug_agent.h"
#include "foundation/window_messages.h"
#include "platform/window_bus.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: velmora_debugview\n"
               "       velmora_debugview --send CHANNEL MESSAGE\n",
               stderr);
    return 2;
}

int view(QCoreApplication& app)
{
    velmora::platform::WindowBusListener listener;
    QObject::connect(&listener, &velmora::platform::WindowBusListener::copyData, [](qint64, const QByteArray& data) {
        std::fputs(velmora::CopyDataText(data).toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    if (!listener.listen(QString::fromLatin1(velmora::kDebugServerCaption))) {
        std::fputs("velmora_debugview: another \"Debug Server\" runs in this session\n", stderr);
        return 1;
    }
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return view(app);
    if (args.size() == 3 && args[0] == QLatin1String("--send"))
        return velmora::SendDebugMessage(args[1], velmora::kTraceLevel, args[2]) ? 0 : 1;
    return usage();
}
