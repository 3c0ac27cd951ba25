#pragma once
// The bytes of one window-bus message on a socket, and a reader that cuts a
// byte stream (arriving in arbitrary pieces) back into messages.

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace velmora::platform {

struct BusFrame {
    enum Kind : quint8 { Post = 1, CopyData = 2 };
    Kind kind = Post;
    qint32 message = 0;
    qint64 wParam = 0;
    qint64 lParam = 0;
    qint64 dataNumber = 0;
    QByteArray data;

    QByteArray encode() const;
};

// The receiver's answer to a copy-data frame once its handlers returned.
inline constexpr char kBusAcknowledgement = 'A';

class BusFrameReader {
public:
    // Larger frames are taken for garbage and end the connection.
    static constexpr qint64 kMaxDataSize = 64 * 1024 * 1024;

    void append(const QByteArray& bytes) { m_buffer.append(bytes); }
    // The next complete frame, or nothing while it is incomplete or after a fault.
    std::optional<BusFrame> next();
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

} // namespace velmora::platform
