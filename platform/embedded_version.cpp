#include "platform/embedded_version.h"

#include <QFile>

#include <cstring>
#include <elf.h>

namespace velmora::platform {

namespace {

constexpr char kSectionName[] = ".velmora_version";

template <typename T>
bool readAt(const QByteArray& file, quint64 offset, T& out)
{
    if (offset > quint64(file.size()) || quint64(file.size()) - offset < sizeof(T))
        return false;
    std::memcpy(&out, file.constData() + offset, sizeof(T));
    return true;
}

} // namespace

VersionSection readVersionSection(const QString& programFile)
{
    QFile file(programFile);
    if (!file.open(QIODevice::ReadOnly))
        return {VersionSectionStatus::Unreadable, {}};
    const QByteArray image = file.readAll();

    Elf64_Ehdr header;
    if (!readAt(image, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0
        || header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr))
        return {VersionSectionStatus::NoSection, {}};

    Elf64_Shdr names;
    if (!readAt(image, header.e_shoff + quint64(header.e_shstrndx) * sizeof(Elf64_Shdr), names))
        return {VersionSectionStatus::NoSection, {}};

    for (quint64 index = 0; index < header.e_shnum; ++index) {
        Elf64_Shdr section;
        if (!readAt(image, header.e_shoff + index * sizeof(Elf64_Shdr), section))
            break;
        const quint64 nameOffset = names.sh_offset + section.sh_name;
        if (nameOffset + sizeof kSectionName > quint64(image.size()))
            continue;
        if (std::memcmp(image.constData() + nameOffset, kSectionName, sizeof kSectionName) != 0)
            continue;
        if (section.sh_type == SHT_NOBITS || section.sh_offset + section.sh_size > quint64(image.size()))
            return {VersionSectionStatus::NoSection, {}};
        return {VersionSectionStatus::Found, image.mid(qsizetype(section.sh_offset), qsizetype(section.sh_size))};
    }
    return {VersionSectionStatus::NoSection, {}};
}

} // namespace velmora::platform
