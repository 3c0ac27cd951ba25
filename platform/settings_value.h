#pragma once
// The kinds of value the settings store holds, and their short names
// ("sz", "dword", "float", "binary") as tools show and take them.

#include <QString>

#include <optional>

namespace velmora::platform {

enum class SettingsValueType { Text, Integer, Float, Binary };

// One entry of a key's value listing; name in the case first written.
struct SettingsValueInfo {
    QString name;
    SettingsValueType type;
};

QString settingsTypeName(SettingsValueType type);
// Case-insensitive; nullopt for an unknown name.
std::optional<SettingsValueType> settingsTypeFromName(const QString& name);

} // namespace velmora::platform
