#pragma once
// The suite's way of reading and writing a group of settings under one key:
// failures are logged on the debug channel and never reach the user.

#include "foundation/registry_key.h"

#include <QString>

#include <functional>

namespace velmora {

// Opens the key read-only and runs the reads inside one guard. A missing key
// leaves every default in place, silently. The first read that raises ends
// the batch: what was read before keeps its new value, the rest keep their
// defaults, and failureText goes to the channel. True when all was read.
bool readSettingsBatch(const QString& channel, const QString& keyPath, const QString& failureText,
                       const std::function<void(RegistryKey&)>& reads);

// Opens the key, creating it when missing, and runs the writes. A failure
// sends failureText to the channel. True when all was written.
bool writeSettingsBatch(const QString& channel, const QString& keyPath, const QString& failureText,
                        const std::function<void(RegistryKey&)>& writes);

} // namespace velmora
