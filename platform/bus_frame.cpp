#include "platform/bus_frame.h"

#include <QtEndian>

#include <cstring>

namespace velmora::platform {

namespace {

constexpr char kMagic[4] = {'V', 'M', 'B', '1'};
// magic, kind, message, wParam, lParam, data number, data length
constexpr int kHeaderSize = 4 + 1 + 4 + 8 + 8 + 8 + 4;

template <typename T>
void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T>
T take(const char*& in)
{
    const T value = qFromLittleEndian<T>(in);
    in += sizeof(T);
    return value;
}

} // namespace

QByteArray BusFrame::encode() const
{
    QByteArray out;
    out.reserve(kHeaderSize + data.size());
    out.append(kMagic, sizeof kMagic);
    out.append(char(kind));
    put<qint32>(out, message);
    put<qint64>(out, wParam);
    put<qint64>(out, lParam);
    put<qint64>(out, dataNumber);
    put<quint32>(out, quint32(data.size()));
    out.append(data);
    return out;
}

std::optional<BusFrame> BusFrameReader::next()
{
    if (m_failed || m_buffer.size() < kHeaderSize)
        return std::nullopt;
    const char* in = m_buffer.constData();
    if (std::memcmp(in, kMagic, sizeof kMagic) != 0) {
        m_failed = true;
        return std::nullopt;
    }
    in += sizeof kMagic;
    const auto kind = quint8(*in++);
    if (kind != BusFrame::Post && kind != BusFrame::CopyData) {
        m_failed = true;
        return std::nullopt;
    }
    BusFrame frame;
    frame.kind = BusFrame::Kind(kind);
    frame.message = take<qint32>(in);
    frame.wParam = take<qint64>(in);
    frame.lParam = take<qint64>(in);
    frame.dataNumber = take<qint64>(in);
    const quint32 length = take<quint32>(in);
    if (length > kMaxDataSize) {
        m_failed = true;
        return std::nullopt;
    }
    if (m_buffer.size() < kHeaderSize + qint64(length))
        return std::nullopt;
    frame.data = m_buffer.mid(kHeaderSize, length);
    m_buffer.remove(0, kHeaderSize + length);
    return frame;
}

} // namespace velmora::platform
