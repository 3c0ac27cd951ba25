#include "platform/settings_value.h"

namespace velmora::platform {

QString settingsTypeName(SettingsValueType type)
{
    switch (type) {
    case SettingsValueType::Text:
        return QStringLiteral("sz");
    case SettingsValueType::Integer:
        return QStringLiteral("dword");
    case SettingsValueType::Float:
        return QStringLiteral("float");
    case SettingsValueType::Binary:
        return QStringLiteral("binary");
    }
    return QString();
}

std::optional<SettingsValueType> settingsTypeFromName(const QString& name)
{
    for (auto type : {SettingsValueType::Text, SettingsValueType::Integer, SettingsValueType::Float,
                      SettingsValueType::Binary}) {
        if (name.compare(settingsTypeName(type), Qt::CaseInsensitive) == 0)
            return type;
    }
    return std::nullopt;
}

} // namespace velmora::platform
