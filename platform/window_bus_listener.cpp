#include "platform/window_bus.h"

#include "platform/bus_frame.h"
#include "platform/bus_registry.h"
#include "platform/file_lock.h"

#include <QFile>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <sys/un.h>

namespace velmora::platform {

namespace {

// One sender's stream of frames.
struct IncomingStream {
    QPointer<QLocalSocket> socket;
    BusFrameReader reader;
    bool draining = false;
};

// Handles every complete frame that has arrived, in order. A handler may run
// a nested event loop; frames that arrive meanwhile wait for the outer drain.
void drainStream(QPointer<WindowBusListener> listener, std::shared_ptr<IncomingStream> stream)
{
    if (stream->draining || !stream->socket)
        return;
    stream->draining = true;
    while (listener && stream->socket) {
        const QByteArray bytes = stream->socket->readAll();
        if (bytes.isEmpty())
            break;
        stream->reader.append(bytes);
        while (listener && stream->socket) {
            std::optional<BusFrame> frame = stream->reader.next();
            if (!frame)
                break;
            if (frame->kind == BusFrame::Post) {
                emit listener->posted(frame->message, frame->wParam, frame->lParam);
            } else {
                emit listener->copyData(frame->dataNumber, frame->data);
                if (stream->socket) {
                    stream->socket->write(&kBusAcknowledgement, 1);
                    stream->socket->flush();
                }
            }
        }
        if (stream->reader.failed() && stream->socket) {
            stream->socket->abort();
            break;
        }
    }
    stream->draining = false;
}

} // namespace

struct WindowBusListener::Impl {
    QString caption;
    FileLock lock;
    QLocalServer* server = nullptr;
    std::shared_ptr<ListenerCore> core;
    QList<QPointer<QLocalSocket>> sockets;
};

WindowBusListener::WindowBusListener(QObject* parent) : QObject(parent), m_impl(std::make_unique<Impl>()) {}

WindowBusListener::~WindowBusListener()
{
    close();
}

bool WindowBusListener::listen(const QString& caption)
{
    close();
    const QString socketPath = WindowBus::socketPath(caption);
    if (QFile::encodeName(socketPath).size() >= qsizetype(sizeof(sockaddr_un::sun_path)))
        return false;
    if (!m_impl->lock.tryLock(WindowBus::lockPath(caption)))
        return false;

    // Holding the lock, any socket file left is a dead listener's.
    QLocalServer::removeServer(socketPath);
    auto* server = new QLocalServer(this);
    if (!server->listen(socketPath)) {
        delete server;
        m_impl->lock.unlock();
        return false;
    }
    m_impl->server = server;
    m_impl->caption = caption;
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_impl->server ? m_impl->server->nextPendingConnection() : nullptr)
            acceptConnection(socket);
    });

    m_impl->core = std::make_shared<ListenerCore>();
    m_impl->core->caption = caption;
    m_impl->core->listener = this;
    BusRegistry::add(m_impl->core);
    return true;
}

void WindowBusListener::acceptConnection(QLocalSocket* socket)
{
    socket->setParent(this);
    m_impl->sockets.append(socket);
    auto stream = std::make_shared<IncomingStream>();
    stream->socket = socket;
    QPointer<WindowBusListener> self(this);

    auto drain = [self, stream] {
        // Copies: a handler may destroy the listener, and with it this slot.
        drainStream(QPointer<WindowBusListener>(self), std::shared_ptr<IncomingStream>(stream));
    };
    connect(socket, &QLocalSocket::readyRead, this, drain);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, drain] {
        drain();
        m_impl->sockets.removeAll(socket);
        socket->deleteLater();
    });
    if (socket->bytesAvailable() > 0)
        drain();
}

void WindowBusListener::close()
{
    if (m_impl->core) {
        {
            std::lock_guard lock(m_impl->core->mutex);
            m_impl->core->open.store(false);
            m_impl->core->listener = nullptr;
        }
        BusRegistry::remove(m_impl->core);
        m_impl->core.reset();
    }
    if (m_impl->server) {
        // Removes the socket file while the lock still guards it.
        m_impl->server->close();
        delete m_impl->server;
        m_impl->server = nullptr;
    }
    // Senders keep their connections open; closing them tells a sender the
    // caption is gone.
    const auto sockets = std::exchange(m_impl->sockets, {});
    for (const QPointer<QLocalSocket>& socket : sockets) {
        if (socket) {
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
        }
    }
    m_impl->lock.unlock();
    m_impl->caption.clear();
}

bool WindowBusListener::isListening() const
{
    return m_impl->server != nullptr;
}

QString WindowBusListener::caption() const
{
    return m_impl->caption;
}

} // namespace velmora::platform
