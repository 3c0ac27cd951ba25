#include "platform/bus_connection.h"

#include "platform/bus_frame.h"
#include "platform/file_lock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 5000;

std::mutex g_poolMutex;

QHash<QString, std::shared_ptr<BusConnection>>& pool()
{
    static QHash<QString, std::shared_ptr<BusConnection>> connections;
    return connections;
}

void setTimeout(int fd, int option, int msecs)
{
    timeval tv{};
    tv.tv_sec = msecs / 1000;
    tv.tv_usec = (msecs % 1000) * 1000;
    ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

// A socket file nobody listens on is left by a process that died; it may be
// removed only by whoever can take the caption's lock, i.e. when no listener
// is starting up behind it.
void removeStaleSocket(const QString& socketPath, const QString& lockPath)
{
    FileLock lock;
    if (lock.tryLock(lockPath))
        ::unlink(QFile::encodeName(socketPath).constData());
}

int connectTo(const QString& socketPath, const QString& lockPath)
{
    const QByteArray name = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return -1;
    std::memcpy(address.sun_path, name.constData(), name.size() + 1);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    setTimeout(fd, SO_SNDTIMEO, kConnectTimeoutMs);
    int rc;
    do {
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        const int error = errno;
        ::close(fd);
        if (error == ECONNREFUSED)
            removeStaleSocket(socketPath, lockPath);
        return -1;
    }
    setTimeout(fd, SO_SNDTIMEO, kWriteTimeoutMs);
    return fd;
}

} // namespace

BusConnection::BusConnection(QString socketPath, int fd) : m_socketPath(std::move(socketPath)), m_fd(fd) {}

BusConnection::~BusConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::shared_ptr<BusConnection> BusConnection::acquire(const QString& socketPath, const QString& lockPath)
{
    std::lock_guard poolLock(g_poolMutex);
    auto& connections = pool();
    if (auto existing = connections.value(socketPath)) {
        std::unique_lock useLock(existing->m_mutex, std::try_to_lock);
        // A connection busy on another thread is alive as far as we know.
        if (!useLock.owns_lock() || existing->isAlive())
            return existing;
        connections.remove(socketPath);
    }
    const int fd = connectTo(socketPath, lockPath);
    if (fd < 0)
        return nullptr;
    std::shared_ptr<BusConnection> connection(new BusConnection(socketPath, fd));
    connections.insert(socketPath, connection);
    return connection;
}

bool BusConnection::isAlive() const
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    const int rc = ::poll(&p, 1, 0);
    // A live listener never speaks unasked: any event means it hung up, or an
    // answer is left over from an abandoned message.
    return rc == 0;
}

bool BusConnection::writeAll(const QByteArray& bytes)
{
    if (m_fd < 0)
        return false;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::send(m_fd, data, size_t(left), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

Delivery BusConnection::waitForAcknowledgement(int timeoutMs)
{
    if (m_fd < 0)
        return Delivery::Failed;
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        pollfd p{m_fd, POLLIN, 0};
        const int rc = ::poll(&p, 1, int(deadline.remainingTime()));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc < 0)
            return Delivery::Failed;
        if (rc == 0)
            return Delivery::TimedOut;
        char answer = 0;
        const ssize_t n = ::recv(m_fd, &answer, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1 && answer == kBusAcknowledgement ? Delivery::Delivered : Delivery::Failed;
    }
}

void BusConnection::discard()
{
    {
        std::lock_guard poolLock(g_poolMutex);
        auto& connections = pool();
        if (connections.value(m_socketPath).get() == this)
            connections.remove(m_socketPath);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace velmora::platform
