#include "foundation/registry_key.h"

#include "foundation/debug_agent.h"
#include "platform/exception.h"

namespace velmora {

RegistryKey::RegistryKey() : m_store(std::make_unique<platform::SettingsStore>())
{
    if (!m_store->recoveredFrom().isEmpty())
        SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel,
                         QStringLiteral("The settings store was damaged; it was moved to %1 and an empty store "
                                        "was started.")
                             .arg(m_store->recoveredFrom()));
}

RegistryKey::~RegistryKey() = default;

bool RegistryKey::openKey(const QString& path, bool canCreate)
{
    closeKey();
    if (canCreate)
        m_store->createKey(path);
    else if (!m_store->keyExists(path))
        return false;
    m_path = path;
    m_open = true;
    return true;
}

const QString& RegistryKey::openPath() const
{
    if (!m_open)
        throw Exception(QStringLiteral("No settings key is open"));
    return m_path;
}

bool RegistryKey::valueExists(const QString& name) const
{
    return m_store->valueExists(openPath(), name);
}

bool RegistryKey::deleteValue(const QString& name)
{
    return m_store->deleteValue(openPath(), name);
}

QStringList RegistryKey::keyNames() const
{
    return m_store->subKeys(openPath());
}

QStringList RegistryKey::valueNames() const
{
    QStringList names;
    for (const auto& value : m_store->values(openPath()))
        names.append(value.name);
    return names;
}

QString RegistryKey::readString(const QString& name) const
{
    if (!m_store->valueExists(openPath(), name))
        return QString();
    return m_store->readText(m_path, name);
}

int RegistryKey::readInteger(const QString& name) const
{
    return m_store->readInteger(openPath(), name);
}

bool RegistryKey::readBool(const QString& name) const
{
    return readInteger(name) != 0;
}

double RegistryKey::readFloat(const QString& name) const
{
    return m_store->readFloat(openPath(), name);
}

DateTime RegistryKey::readDateTime(const QString& name) const
{
    return DateTime::fromDays(readFloat(name));
}

QByteArray RegistryKey::readBinary(const QString& name) const
{
    return m_store->readBinary(openPath(), name);
}

void RegistryKey::writeString(const QString& name, const QString& value)
{
    m_store->writeText(openPath(), name, value);
}

void RegistryKey::writeInteger(const QString& name, int value)
{
    m_store->writeInteger(openPath(), name, value);
}

void RegistryKey::writeBool(const QString& name, bool value)
{
    writeInteger(name, value ? 1 : 0);
}

void RegistryKey::writeFloat(const QString& name, double value)
{
    m_store->writeFloat(openPath(), name, value);
}

void RegistryKey::writeDateTime(const QString& name, DateTime value)
{
    writeFloat(name, value.toDays());
}

void RegistryKey::writeBinary(const QString& name, const QByteArray& value)
{
    m_store->writeBinary(openPath(), name, value);
}

} // namespace velmora
