#pragma once
// An exclusive flock on a file: held until released or until the process dies.

#include <QString>

namespace velmora::platform {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // One attempt, never waits. Creates the file (mode 0600) when missing.
    // Locks are per open file, so a second FileLock on the same path fails
    // even inside the process that holds the first.
    bool tryLock(const QString& path);
    void unlock();
    bool isLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace velmora::platform
