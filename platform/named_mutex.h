#pragma once
// A mutex shared by the programs of one bus session, known by name. The
// kernel releases it when the holding process dies; within one process it
// is re-entrant (a process-wide count per name).

#include <QString>

namespace velmora::platform {

class NamedMutex {
public:
    explicit NamedMutex(QString name);
    ~NamedMutex(); // releases what this object holds
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Tries until timeoutMs has passed; 0 makes one attempt. Each success
    // of this object needs one unlock().
    bool tryLock(int timeoutMs = 0);
    void unlock();
    bool isHeld() const { return m_holds > 0; }
    QString name() const { return m_name; }

private:
    QString m_name;
    QString m_path; // of the session in force when first taken
    int m_holds = 0;
};

} // namespace velmora::platform
