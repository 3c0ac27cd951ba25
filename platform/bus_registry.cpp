#include "platform/bus_registry.h"

#include <algorithm>
#include <vector>

namespace velmora::platform::BusRegistry {

namespace {

std::mutex g_mutex;

std::vector<std::shared_ptr<ListenerCore>>& listeners()
{
    static std::vector<std::shared_ptr<ListenerCore>> all;
    return all;
}

} // namespace

void add(const std::shared_ptr<ListenerCore>& core)
{
    std::lock_guard lock(g_mutex);
    listeners().push_back(core);
}

void remove(const std::shared_ptr<ListenerCore>& core)
{
    std::lock_guard lock(g_mutex);
    auto& all = listeners();
    all.erase(std::remove(all.begin(), all.end(), core), all.end());
}

std::shared_ptr<ListenerCore> find(const QString& caption)
{
    std::lock_guard lock(g_mutex);
    for (const auto& core : listeners()) {
        if (core->open.load() && core->caption == caption)
            return core;
    }
    return nullptr;
}

} // namespace velmora::platform::BusRegistry
