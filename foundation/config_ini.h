#pragma once
// The suite's settings file, Config.INI below the install root: sections and
// keys compared without case, values kept as written, defaults for what is
// missing or unreadable. Every write is saved at once, keeping the other
// lines (and comments) of the file as they were.

#include <QString>
#include <QStringList>

#include <memory>

namespace velmora {

class ConfigIni {
public:
    // The install root's "Config/Config.INI".
    static QString defaultPath();

    explicit ConfigIni(const QString& path = defaultPath());
    ~ConfigIni();
    ConfigIni(const ConfigIni&) = delete;
    ConfigIni& operator=(const ConfigIni&) = delete;

    QString path() const;
    // Reads the file again (another program may have changed it).
    void reload();

    QString readString(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // A value that is not a whole number gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // "1"/"0", and "True"/"False" in any case; anything else gives the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Raise velmora::Exception when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value); // "1" / "0"

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace velmora
