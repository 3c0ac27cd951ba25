#include "foundation/settings_batch.h"

#include "foundation/debug_agent.h"

#include <exception>

namespace velmora {

bool readSettingsBatch(const QString& channel, const QString& keyPath, const QString& failureText,
                       const std::function<void(RegistryKey&)>& reads)
{
    try {
        RegistryKey key;
        if (!key.openKeyReadOnly(keyPath))
            return false;
        reads(key);
        return true;
    } catch (const std::exception&) {
        SendDebugMessage(channel, kTraceLevel, failureText);
        return false;
    }
}

bool writeSettingsBatch(const QString& channel, const QString& keyPath, const QString& failureText,
                        const std::function<void(RegistryKey&)>& writes)
{
    try {
        RegistryKey key;
        key.openKey(keyPath, true);
        writes(key);
        return true;
    } catch (const std::exception&) {
        SendDebugMessage(channel, kTraceLevel, failureText);
        return false;
    }
}

} // namespace velmora
