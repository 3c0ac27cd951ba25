#pragma once
// A sender's socket to another process's listener. One per caption and
// process, kept open and reused, so messages from one sender arrive in the
// order they were sent; plain POSIX calls, so it works on any thread and
// without an event loop.

#include "platform/window_bus.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

namespace velmora::platform {

class BusConnection {
public:
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    // The open connection to the listener at socketPath, reused while the
    // listener lives, else a fresh one; null when nobody listens there.
    static std::shared_ptr<BusConnection> acquire(const QString& socketPath, const QString& lockPath);

    // Callers hold mutex() around a whole message (frame and answer).
    std::mutex& mutex() { return m_mutex; }
    bool writeAll(const QByteArray& bytes);
    Delivery waitForAcknowledgement(int timeoutMs);
    // Closes the socket and forgets it, e.g. after a time-out left an
    // answer underway that must not be taken for the next one's.
    void discard();

private:
    BusConnection(QString socketPath, int fd);
    bool isAlive() const;

    QString m_socketPath;
    int m_fd;
    std::mutex m_mutex;
};

} // namespace velmora::platform
