#include "tests/support/debug_capture.h"

#include "foundation/debug_agent.h"
#include "foundation/window_messages.h"
#include "platform/window_bus.h"

#include <QMetaObject>

namespace velmora::test {

namespace {

const QString kHeaderEnd = QStringLiteral("\r\n\t");

} // namespace

DebugCapture::DebugCapture()
{
    m_thread.setObjectName(QStringLiteral("DebugCapture"));
    m_thread.start();
    m_listener = new platform::WindowBusListener;
    m_listener->moveToThread(&m_thread);
    QObject::connect(m_listener, &platform::WindowBusListener::copyData, m_listener,
                     [this](qint64, const QByteArray& data) {
                         QMutexLocker lock(&m_mutex);
                         m_texts.append(CopyDataText(data));
                     });
    bool listening = false;
    QMetaObject::invokeMethod(
        m_listener, [&] { listening = m_listener->listen(QString::fromLatin1(kDebugServerCaption)); },
        Qt::BlockingQueuedConnection);
    if (!listening)
        qWarning("DebugCapture: \"Debug Server\" is already taken in this session");
}

DebugCapture::~DebugCapture()
{
    QMetaObject::invokeMethod(m_listener, [this] { delete m_listener; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QStringList DebugCapture::wireTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_texts;
}

QStringList DebugCapture::messages() const
{
    QStringList result;
    for (const QString& text : wireTexts()) {
        const qsizetype at = text.indexOf(kHeaderEnd);
        result.append(at < 0 ? QString() : text.mid(at + kHeaderEnd.size()));
    }
    return result;
}

QStringList DebugCapture::channels() const
{
    QStringList result;
    for (const QString& text : wireTexts()) {
        const QString header = text.left(text.indexOf(kHeaderEnd));
        result.append(header.section(QLatin1Char(' '), 2, 2));
    }
    return result;
}

bool DebugCapture::contains(const QString& text) const
{
    const QStringList all = messages();
    return std::any_of(all.begin(), all.end(), [&](const QString& message) { return message.contains(text); });
}

void DebugCapture::clear()
{
    QMutexLocker lock(&m_mutex);
    m_texts.clear();
}

} // namespace velmora::test
