#include "platform/window_bus.h"

#include "platform/bus_connection.h"
#include "platform/bus_frame.h"
#include "platform/bus_registry.h"
#include "platform/locations.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QSemaphore>
#include <QThread>

namespace velmora::platform {

namespace {

QString captionFileStem(const QString& caption)
{
    const QByteArray hash = QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha1).toHex();
    return platform::sessionFolder() + QStringLiteral("/bus-") + QString::fromLatin1(hash.left(20));
}

// A listener on another thread of this process handles the data on its own
// thread; the sender waits for that, but not for a listener that is gone.
Delivery sendInProcess(const std::shared_ptr<ListenerCore>& core, qint64 dataNumber, const QByteArray& data,
                       int timeoutMs)
{
    std::unique_lock lock(core->mutex);
    WindowBusListener* listener = core->listener;
    if (!listener || !core->open.load())
        return Delivery::NoWindow;
    if (listener->thread() == QThread::currentThread()) {
        lock.unlock();
        emit listener->copyData(dataNumber, data);
        return Delivery::Delivered;
    }
    auto handled = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        listener,
        [listener, core, handled, dataNumber, data] {
            if (core->open.load())
                emit listener->copyData(dataNumber, data);
            handled->release();
        },
        Qt::QueuedConnection);
    lock.unlock();

    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (handled->tryAcquire(1, int(qMin<qint64>(deadline.remainingTime(), 50))))
            return Delivery::Delivered;
        if (deadline.hasExpired())
            return Delivery::TimedOut;
        std::lock_guard check(core->mutex);
        if (!core->listener) // destroyed: its queued call will never run
            return Delivery::Failed;
    }
}

bool postInProcess(const std::shared_ptr<ListenerCore>& core, int message, qint64 wParam, qint64 lParam)
{
    std::lock_guard lock(core->mutex);
    WindowBusListener* listener = core->listener;
    if (!listener || !core->open.load())
        return false;
    // Like a posted window message: handled by the receiver's event loop
    // later, even when the receiver is on this very thread.
    QMetaObject::invokeMethod(
        listener,
        [listener, core, message, wParam, lParam] {
            if (core->open.load())
                emit listener->posted(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace

struct BusTarget::Impl {
    std::shared_ptr<ListenerCore> core;          // a listener of this process
    std::shared_ptr<BusConnection> connection;   // or another process's
};

BusTarget::BusTarget(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
BusTarget::BusTarget(BusTarget&&) noexcept = default;
BusTarget& BusTarget::operator=(BusTarget&&) noexcept = default;
BusTarget::~BusTarget() = default;

bool BusTarget::isInProcess() const
{
    return m_impl && m_impl->core;
}

bool BusTarget::post(int message, qint64 wParam, qint64 lParam)
{
    if (!m_impl)
        return false;
    if (m_impl->core)
        return postInProcess(m_impl->core, message, wParam, lParam);
    BusFrame frame;
    frame.kind = BusFrame::Post;
    frame.message = message;
    frame.wParam = wParam;
    frame.lParam = lParam;
    std::lock_guard lock(m_impl->connection->mutex());
    if (m_impl->connection->writeAll(frame.encode()))
        return true;
    m_impl->connection->discard();
    return false;
}

Delivery BusTarget::sendCopyData(qint64 dataNumber, const QByteArray& data, int timeoutMs)
{
    if (!m_impl)
        return Delivery::NoWindow;
    if (m_impl->core)
        return sendInProcess(m_impl->core, dataNumber, data, timeoutMs);
    BusFrame frame;
    frame.kind = BusFrame::CopyData;
    frame.message = 74; // the system's copy-data message number
    frame.dataNumber = dataNumber;
    frame.data = data;
    BusConnection& connection = *m_impl->connection;
    std::lock_guard lock(connection.mutex());
    if (!connection.writeAll(frame.encode())) {
        connection.discard();
        return Delivery::Failed;
    }
    const Delivery result = connection.waitForAcknowledgement(timeoutMs);
    if (result != Delivery::Delivered)
        connection.discard();
    return result;
}

std::optional<BusTarget> WindowBus::find(const QString& caption)
{
    if (auto core = BusRegistry::find(caption)) {
        auto impl = std::make_unique<BusTarget::Impl>();
        impl->core = std::move(core);
        return BusTarget(std::move(impl));
    }
    auto connection = BusConnection::acquire(socketPath(caption), lockPath(caption));
    if (!connection)
        return std::nullopt;
    auto impl = std::make_unique<BusTarget::Impl>();
    impl->connection = std::move(connection);
    return BusTarget(std::move(impl));
}

QString WindowBus::socketPath(const QString& caption)
{
    return captionFileStem(caption) + QStringLiteral(".sock");
}

QString WindowBus::lockPath(const QString& caption)
{
    return captionFileStem(caption) + QStringLiteral(".lock");
}

} // namespace velmora::platform
