#include "platform/named_mutex.h"

#include "platform/file_lock.h"
#include "platform/locations.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QHash>
#include <QThread>

#include <memory>
#include <mutex>

namespace velmora::platform {

namespace {

constexpr int kPollIntervalMs = 10;

// A second flock on the same file from this process would conflict with the
// first, so each held name keeps one lock and a count.
struct HeldName {
    FileLock lock;
    int count = 0;
};

std::mutex g_mutex;

QHash<QString, std::shared_ptr<HeldName>>& heldNames()
{
    static QHash<QString, std::shared_ptr<HeldName>> names;
    return names;
}

QString lockPath(const QString& name)
{
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return sessionFolder() + QStringLiteral("/mutex-") + QString::fromLatin1(hash.left(20)) + QStringLiteral(".lock");
}

bool tryOnce(const QString& path)
{
    std::lock_guard guard(g_mutex);
    auto& names = heldNames();
    if (auto held = names.value(path)) {
        ++held->count;
        return true;
    }
    auto held = std::make_shared<HeldName>();
    if (!held->lock.tryLock(path))
        return false;
    held->count = 1;
    names.insert(path, held);
    return true;
}

void release(const QString& path)
{
    std::lock_guard guard(g_mutex);
    auto& names = heldNames();
    auto held = names.value(path);
    if (held && --held->count <= 0)
        names.remove(path); // the FileLock unlocks as the last reference goes
}

} // namespace

NamedMutex::NamedMutex(QString name) : m_name(std::move(name)) {}

NamedMutex::~NamedMutex()
{
    while (m_holds > 0)
        unlock();
}

bool NamedMutex::tryLock(int timeoutMs)
{
    const QString path = m_holds > 0 ? m_path : lockPath(m_name);
    QDeadlineTimer deadline(qMax(timeoutMs, 0));
    for (;;) {
        if (tryOnce(path)) {
            m_path = path;
            ++m_holds;
            return true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(qMin<qint64>(kPollIntervalMs, deadline.remainingTime()));
    }
}

void NamedMutex::unlock()
{
    if (m_holds <= 0)
        return;
    --m_holds;
    release(m_path);
}

} // namespace velmora::platform
