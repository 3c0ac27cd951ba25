#pragma once
// The version data of a program file: fixed file info, translation and
// string table. Creating it on a file without readable version data raises
// velmora::Exception with the reason.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>

namespace velmora {

class TVerInfoRes {
public:
    explicit TVerInfoRes(const QString& programFile);

    int majorVersion() const { return int(m_fileVersionMS >> 16); }
    int minorVersion() const { return int(m_fileVersionMS & 0xFFFF); }
    int releaseNumber() const { return int(m_fileVersionLS >> 16); }
    int buildNumber() const { return int(m_fileVersionLS & 0xFFFF); }

    QString FileVersionText() const; // "%d.%d" of major and minor
    QString BuildNumberText() const; // "%d" of the build number
    // A value of the first translation's string table; empty when missing.
    QString VersionValue(const QString& name) const;
    // "Pre-release", "Private build", "Special build", "Debug" for the file
    // flags that are both set and valid.
    QStringList flagTexts() const;
    // "\StringFileInfo\" + language and code page as 8 hex digits + "\"
    QString stringTablePath() const;

private:
    std::uint32_t m_fileVersionMS = 0;
    std::uint32_t m_fileVersionLS = 0;
    std::uint32_t m_flagsMask = 0;
    std::uint32_t m_flags = 0;
    std::uint16_t m_language = 0;
    std::uint16_t m_codePage = 0;
    std::map<QString, QString> m_strings;
};

} // namespace velmora
