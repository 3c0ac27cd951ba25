#pragma once
// Reads the version data a program carries in its ".velmora_version" ELF
// section (written at build time by cmake/version_data.cpp.in), without
// running the program.

#include <QByteArray>
#include <QString>

namespace velmora::platform {

enum class VersionSectionStatus { Found, Unreadable, NoSection };

struct VersionSection {
    VersionSectionStatus status = VersionSectionStatus::NoSection;
    QByteArray bytes; // the section's contents when found
};

VersionSection readVersionSection(const QString& programFile);

} // namespace velmora::platform
