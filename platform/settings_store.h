#pragma once
// The per-user settings store (our HKEY_CURRENT_USER): typed values under
// backslash key paths, kept in one SQLite file that many processes share.

#include "platform/settings_value.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

struct sqlite3;

namespace velmora::platform {

class SettingsKeyPath;
class SqliteStatement;

// Keys and value names compare without case (full Unicode case folding) and
// keep the case they were first written in. Every call goes to the file, so
// a value another process wrote is seen at once; the last writer wins.
// Failures raise velmora::Exception.
class SettingsStore {
public:
    // Opens settingsStorePath() (VELMORA_HKCU) when path is empty; creates
    // the file (mode 0600) and its folders when missing. A damaged file is
    // moved aside and an empty store takes its place (see recoveredFrom()).
    explicit SettingsStore(const QString& path = QString());
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString path() const { return m_path; }
    // Where this opening moved a damaged store file; empty when it did not.
    QString recoveredFrom() const { return m_recoveredFrom; }

    bool keyExists(const QString& key) const;
    // Creates the key and any missing ancestors; an existing key is left alone.
    void createKey(const QString& key);
    // Removes the key with all its sub-keys and values; false when missing.
    bool deleteKey(const QString& key);
    // Sub-key names in the case first written, sorted without case.
    QStringList subKeys(const QString& key) const;
    QList<SettingsValueInfo> values(const QString& key) const;

    bool valueExists(const QString& key, const QString& name) const;
    std::optional<SettingsValueType> valueType(const QString& key, const QString& name) const;
    bool deleteValue(const QString& key, const QString& name);

    // A missing value, or one of another type, raises.
    QString readText(const QString& key, const QString& name) const;
    std::int32_t readInteger(const QString& key, const QString& name) const;
    double readFloat(const QString& key, const QString& name) const;
    QByteArray readBinary(const QString& key, const QString& name) const;

    // Creates the key when missing; replaces the value whatever its old type.
    void writeText(const QString& key, const QString& name, const QString& value);
    void writeInteger(const QString& key, const QString& name, std::int32_t value);
    void writeFloat(const QString& key, const QString& name, double value);
    void writeBinary(const QString& key, const QString& name, const QByteArray& value);

private:
    void open();
    void prepare();
    void close();
    QString moveAside();
    void ensureKey(const SettingsKeyPath& key);
    template <typename Bind>
    void writeValue(const QString& key, const QString& name, SettingsValueType type, Bind bindData);
    // The value's row, positioned on its data column (1); raises when missing
    // or of another type.
    std::unique_ptr<SqliteStatement> typedValue(const QString& key, const QString& name,
                                                SettingsValueType wanted) const;
    void requireKey(const SettingsKeyPath& key) const;

    QString m_path;
    QString m_recoveredFrom;
    sqlite3* m_db = nullptr;
};

} // namespace velmora::platform
