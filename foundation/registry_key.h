#pragma once
// One key of the user's settings store opened for reading or writing, with
// the reading rules the suite's settings code relies on.

#include "foundation/date_time.h"
#include "platform/settings_store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace velmora {

// Paths are relative to HKEY_CURRENT_USER. Failures raise velmora::Exception.
class RegistryKey {
public:
    // Opens the user's store (VELMORA_HKCU). When that opening found the file
    // damaged and moved it aside, the debug channel is told.
    RegistryKey();
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // False when the key is missing and canCreate is not set.
    bool openKey(const QString& path, bool canCreate);
    bool openKeyReadOnly(const QString& path) { return openKey(path, false); }
    void closeKey() { m_path.clear(); m_open = false; }
    bool keyExists(const QString& path) const { return m_store->keyExists(path); }
    QString currentPath() const { return m_path; }

    bool valueExists(const QString& name) const;
    bool deleteValue(const QString& name);
    QStringList keyNames() const;
    QStringList valueNames() const;

    // A missing text reads as empty; a value of another type raises.
    QString readString(const QString& name) const;
    // A missing value, or one of another type, raises.
    int readInteger(const QString& name) const;
    bool readBool(const QString& name) const; // stored as an integer, 0 or 1
    double readFloat(const QString& name) const;
    DateTime readDateTime(const QString& name) const; // stored as a float of days
    QByteArray readBinary(const QString& name) const;

    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, int value);
    void writeBool(const QString& name, bool value);
    void writeFloat(const QString& name, double value);
    void writeDateTime(const QString& name, DateTime value);
    void writeBinary(const QString& name, const QByteArray& value);

private:
    const QString& openPath() const;
    std::unique_ptr<platform::SettingsStore> m_store;
    QString m_path;
    bool m_open = false;
};

} // namespace velmora
