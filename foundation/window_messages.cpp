#include "foundation/window_messages.h"

#include "foundation/debug_agent.h"
#include "platform/window_bus.h"

namespace velmora {

namespace {

const QString kChannel = QStringLiteral("CommUnit");

void logSend(const QString& text)
{
    SendDebugMessage(kChannel, kTraceLevel, text);
}

QString quoted(const QString& caption)
{
    return QLatin1Char('"') + caption + QLatin1Char('"');
}

} // namespace

std::optional<WindowHandle> FindTopWindow(const QString& /*className*/, const QString& caption)
{
    // Windows on the bus have captions but no classes.
    if (!platform::WindowBus::exists(caption))
        return std::nullopt;
    return WindowHandle{caption};
}

bool WindowExists(const QString& caption)
{
    return FindTopWindow(QString(), caption).has_value();
}

bool SendMessageToWindow(const QString& caption, int message, qint64 wParam, qint64 lParam)
{
    const QString details = QStringLiteral("message %1 to %2 (wParam %3, lParam %4)")
                                .arg(message)
                                .arg(quoted(caption))
                                .arg(wParam)
                                .arg(lParam);
    auto target = platform::WindowBus::find(caption);
    if (!target) {
        logSend(QStringLiteral("SendMessageToWindow: no window for ") + details);
        return false;
    }
    if (!target->post(message, wParam, lParam)) {
        // The window vanished between the lookup and the post.
        logSend(QStringLiteral("SendMessageToWindow: could not post ") + details);
        return true;
    }
    logSend(QStringLiteral("SendMessageToWindow: posted ") + details);
    return true;
}

bool SendStringMessageToWindow(const QString& caption, const QString& text, qint64 number)
{
    const QString details = QStringLiteral("message %1 to %2 (number %3, text %4)")
                                .arg(WM_COPYDATA)
                                .arg(quoted(caption))
                                .arg(number)
                                .arg(quoted(text));
    auto target = platform::WindowBus::find(caption);
    if (!target) {
        logSend(QStringLiteral("SendStringMessageToWindow: no window for ") + details);
        return false;
    }
    QByteArray data = text.toUtf8();
    data.append('\0');
    switch (target->sendCopyData(number, data, platform::WindowBus::kDefaultSendTimeoutMs)) {
    case platform::Delivery::Delivered:
        logSend(QStringLiteral("SendStringMessageToWindow: sent ") + details);
        break;
    case platform::Delivery::TimedOut:
        logSend(QStringLiteral("SendStringMessageToWindow: timed out waiting for ") + details);
        break;
    case platform::Delivery::NoWindow:
    case platform::Delivery::Failed:
        logSend(QStringLiteral("SendStringMessageToWindow: could not send ") + details);
        break;
    }
    return true;
}

QString CopyDataText(const QByteArray& data)
{
    const qsizetype end = data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data : data.left(end));
}

} // namespace velmora
