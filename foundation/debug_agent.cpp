#include "foundation/debug_agent.h"

#include "foundation/clock.h"
#include "platform/exception.h"
#include "platform/system_identity.h"
#include "platform/window_bus.h"

#include <atomic>

namespace velmora {

namespace {

std::atomic<std::int64_t> g_timingStart{0};

QString nameOrUnknown(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("Unkown") : name.left(255);
}

// "h:n:s z": no leading zeros anywhere.
QString elapsedText(std::int64_t msecs)
{
    if (msecs < 0)
        msecs = 0;
    const std::int64_t ms = msecs % 1000;
    const std::int64_t secs = msecs / 1000;
    return QStringLiteral("%1:%2:%3 %4")
        .arg((secs / 3600) % 24)
        .arg((secs / 60) % 60)
        .arg(secs % 60)
        .arg(ms);
}

} // namespace

QString DebugWireText(const QString& computerName, const QString& userName, const QString& channelName,
                      const QString& message)
{
    return nameOrUnknown(computerName) + QLatin1Char(' ') + nameOrUnknown(userName) + QLatin1Char(' ')
        + channelName.left(kDebugChannelLength) + QStringLiteral(" \r\n\t") + message;
}

bool SendDebugMessage(const QString& channelName, int level, const QString& message)
{
    auto viewer = platform::WindowBus::find(QString::fromLatin1(kDebugServerCaption));
    if (!viewer)
        return false;

    TRecDebugAgentMsg record;
    record.channelName = channelName.left(kDebugChannelLength);
    record.timeStamp = now();
    record.level = level;
    record.messageLength = std::int32_t(message.size());
    record.message = message;

    QByteArray bytes = DebugWireText(platform::computerName(), platform::userName(), record.channelName,
                                     record.message)
                           .toUtf8();
    bytes.append('\0');
    viewer->sendCopyData(0, bytes, platform::WindowBus::kDefaultSendTimeoutMs);
    return true;
}

bool IsDebugServerPresent()
{
    return platform::WindowBus::exists(QString::fromLatin1(kDebugServerCaption));
}

void StartTiming(const QString&)
{
    g_timingStart.store(now().msecs());
}

void LogElapsed(const QString& label)
{
    const std::int64_t elapsed = now().msecs() - g_timingStart.load();
    SendDebugMessage(QStringLiteral("DebugAgent"), kTraceLevel,
                     label + QStringLiteral(" takes time: ") + elapsedText(elapsed) + QStringLiteral("ms."));
}

void LogException(const QString& channelName, const QString& routine, const std::exception& error)
{
    SendDebugMessage(channelName, kTraceLevel,
                     routine + QStringLiteral("(): ==== E X C E P T I O N====\r\n") + Exception::messageOf(error)
                         + QStringLiteral("\r\n") + QString::number(Exception::helpContextOf(error)));
}

} // namespace velmora
