// velmora_msg: finds, posts to, sends to and listens as windows on the bus.

#include "foundation/window_messages.h"
#include "platform/window_bus.h"

#include <QCoreApplication>
#include <QStringList>

#include <climits>
#include <cstdio>
#include <optional>

namespace {

const char kUsage[] =
    "usage: velmora_msg find CAPTION\n"
    "       velmora_msg post CAPTION NUMBER [WPARAM [LPARAM]]\n"
    "       velmora_msg send CAPTION DATANUMBER TEXT\n"
    "       velmora_msg listen CAPTION\n";

int usage(const QString& problem = {})
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "velmora_msg: %s\n", qPrintable(problem));
    std::fputs(kUsage, stderr);
    return 2;
}

void printLine(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::optional<qint64> number(const QString& text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

int missingWindow(const QString& caption)
{
    std::fprintf(stderr, "velmora_msg: no window \"%s\"\n", qPrintable(caption));
    return 1;
}

int post(const QStringList& args)
{
    if (args.size() < 3 || args.size() > 5)
        return usage();
    const auto message = number(args[2]);
    const auto wParam = args.size() > 3 ? number(args[3]) : std::optional<qint64>(0);
    const auto lParam = args.size() > 4 ? number(args[4]) : std::optional<qint64>(0);
    if (!message || *message < INT_MIN || *message > INT_MAX)
        return usage(QStringLiteral("NUMBER is not a message number: ") + args[2]);
    if (!wParam)
        return usage(QStringLiteral("WPARAM is not a number: ") + args[3]);
    if (!lParam)
        return usage(QStringLiteral("LPARAM is not a number: ") + args[4]);
    return velmora::SendMessageToWindow(args[1], int(*message), *wParam, *lParam) ? 0 : missingWindow(args[1]);
}

int send(const QStringList& args)
{
    if (args.size() != 4)
        return usage();
    const auto dataNumber = number(args[2]);
    if (!dataNumber)
        return usage(QStringLiteral("DATANUMBER is not a number: ") + args[2]);
    return velmora::SendStringMessageToWindow(args[1], args[3], *dataNumber) ? 0 : missingWindow(args[1]);
}

int listen(QCoreApplication& app, const QString& caption)
{
    velmora::platform::WindowBusListener listener;
    QObject::connect(&listener, &velmora::platform::WindowBusListener::posted,
                     [](int message, qint64 wParam, qint64 lParam) {
                         printLine(QStringLiteral("post %1 %2 %3").arg(message).arg(wParam).arg(lParam));
                     });
    QObject::connect(&listener, &velmora::platform::WindowBusListener::copyData,
                     [](qint64 dataNumber, const QByteArray& data) {
                         printLine(QStringLiteral("copydata %1 %2").arg(dataNumber).arg(velmora::CopyDataText(data)));
                     });
    if (!listener.listen(caption)) {
        std::fprintf(stderr, "velmora_msg: the caption \"%s\" is already taken\n", qPrintable(caption));
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
        return usage();
    const QString& command = args[0];
    if (command == QLatin1String("find")) {
        if (args.size() != 2)
            return usage();
        return velmora::WindowExists(args[1]) ? 0 : 1;
    }
    if (command == QLatin1String("post"))
        return post(args);
    if (command == QLatin1String("send"))
        return send(args);
    if (command == QLatin1String("listen")) {
        if (args.size() != 2)
            return usage();
        return listen(app, args[1]);
    }
    return usage(QStringLiteral("unknown command: ") + command);
}
