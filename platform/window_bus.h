#pragma once
// The window bus: how the suite's programs find each other by caption and
// exchange posted and copy-data messages. Every captioned window listens on a
// Unix-domain socket in the session folder, named from a hash of its caption.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QLocalSocket;

namespace velmora::platform {

enum class Delivery { Delivered, NoWindow, TimedOut, Failed };

class WindowBusListener;

// A window that answered a lookup: a listener of this process, or a
// connection to the listener of another process. Good for one message.
class BusTarget {
public:
    BusTarget(BusTarget&&) noexcept;
    BusTarget& operator=(BusTarget&&) noexcept;
    ~BusTarget();

    bool isInProcess() const;
    // Delivers the message and returns without waiting for it to be handled.
    bool post(int message, qint64 wParam, qint64 lParam);
    // Delivers the data and waits until the receiver has handled it.
    Delivery sendCopyData(qint64 dataNumber, const QByteArray& data, int timeoutMs);

private:
    friend class WindowBus;
    struct Impl;
    explicit BusTarget(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

class WindowBus {
public:
    static constexpr int kDefaultSendTimeoutMs = 10000;

    // One lookup: a listener of this process with exactly this caption (the
    // first registered wins), else a live listener in the session folder.
    static std::optional<BusTarget> find(const QString& caption);
    static bool exists(const QString& caption) { return find(caption).has_value(); }

    // Socket file of a caption in the current session folder.
    static QString socketPath(const QString& caption);
    // The lock file beside it, held by the caption's listener for its life.
    static QString lockPath(const QString& caption);
};

// Registers a caption on the bus for as long as it lives (or until close()).
// Handlers of copyData run before the sender's sendCopyData returns.
class WindowBusListener : public QObject {
    Q_OBJECT
public:
    explicit WindowBusListener(QObject* parent = nullptr);
    ~WindowBusListener() override;

    // False when a live listener (of any process) already holds the caption.
    bool listen(const QString& caption);
    void close();
    bool isListening() const;
    QString caption() const;

signals:
    void posted(int message, qint64 wParam, qint64 lParam);
    void copyData(qint64 dataNumber, const QByteArray& data);

private:
    void acceptConnection(QLocalSocket* socket);
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace velmora::platform
