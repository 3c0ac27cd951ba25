#pragma once
// Catches the debug channel's traces in a test: "Debug Server" on the bus of
// this process, on a thread of its own so traces of child programs arrive
// while the test waits for them.

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

namespace velmora::platform {
class WindowBusListener;
}

namespace velmora::test {

class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    QStringList wireTexts() const; // each trace exactly as received (up to the NUL)
    QStringList messages() const;  // the message part of each (after the first CR LF TAB)
    QStringList channels() const;  // the channel name of each (third blank-separated header field)
    bool contains(const QString& text) const; // some message contains text
    void clear();

private:
    mutable QMutex m_mutex;
    QStringList m_texts;
    QThread m_thread;
    platform::WindowBusListener* m_listener = nullptr;
};

} // namespace velmora::test
