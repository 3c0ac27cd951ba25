#pragma once
// The listeners of this process, in registration order, so that a lookup
// finds the process's own windows before any other process's.

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

namespace velmora::platform {

class WindowBusListener;

// What a sender holds of an in-process listener: it outlives the listener,
// which clears the pointer (under the mutex) when it stops listening.
struct ListenerCore {
    QString caption;
    std::mutex mutex;
    WindowBusListener* listener = nullptr; // null once closed or destroyed
    std::atomic<bool> open{true};
};

namespace BusRegistry {

void add(const std::shared_ptr<ListenerCore>& core);
void remove(const std::shared_ptr<ListenerCore>& core);
// The first open listener of this process with exactly this caption.
std::shared_ptr<ListenerCore> find(const QString& caption);

} // namespace BusRegistry

} // namespace velmora::platform
