#include "foundation/version_info.h"

#include "platform/embedded_version.h"
#include "platform/exception.h"

#include <cstring>

namespace velmora {

namespace {

constexpr char kMagic[8] = {'V', 'V', 'E', 'R', 'I', 'N', 'F', 'O'};
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDu;
constexpr qsizetype kFixedInfoLength = 52;

std::uint32_t word32(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

std::uint16_t word16(const QByteArray& bytes, qsizetype offset)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

} // namespace

TVerInfoRes::TVerInfoRes(const QString& programFile)
{
    const auto section = platform::readVersionSection(programFile);
    if (section.status == platform::VersionSectionStatus::Unreadable)
        throw Exception(QStringLiteral("Cannot obtain version info."));
    const QByteArray& data = section.bytes;
    if (section.status == platform::VersionSectionStatus::NoSection || data.size() < 12
        || std::memcmp(data.constData(), kMagic, sizeof kMagic) != 0)
        throw Exception(QStringLiteral("No Version Info Available."));

    const qsizetype fixedLength = qsizetype(word32(data, 8));
    qsizetype offset = 12;
    if (fixedLength < kFixedInfoLength || data.size() < offset + fixedLength
        || word32(data, offset) != kFixedInfoSignature)
        throw Exception(QStringLiteral("No fixed file info"));
    m_fileVersionMS = word32(data, offset + 8);
    m_fileVersionLS = word32(data, offset + 12);
    m_flagsMask = word32(data, offset + 24);
    m_flags = word32(data, offset + 28);
    offset += fixedLength;

    if (data.size() < offset + 4 || word32(data, offset) == 0 || data.size() < offset + 8)
        throw Exception(QStringLiteral("No language info."));
    const std::uint32_t translations = word32(data, offset);
    m_language = word16(data, offset + 4);
    m_codePage = word16(data, offset + 6);
    offset += 4 + qsizetype(translations) * 4;

    // name NUL value NUL ..., ended by an empty name
    while (offset < data.size()) {
        const qsizetype nameEnd = data.indexOf('\0', offset);
        if (nameEnd <= offset)
            break;
        const qsizetype valueEnd = data.indexOf('\0', nameEnd + 1);
        if (valueEnd < 0)
            break;
        m_strings[QString::fromUtf8(data.mid(offset, nameEnd - offset))] =
            QString::fromUtf8(data.mid(nameEnd + 1, valueEnd - nameEnd - 1));
        offset = valueEnd + 1;
    }
}

QString TVerInfoRes::FileVersionText() const
{
    return QStringLiteral("%1.%2").arg(majorVersion()).arg(minorVersion());
}

QString TVerInfoRes::BuildNumberText() const
{
    return QString::number(buildNumber());
}

QString TVerInfoRes::VersionValue(const QString& name) const
{
    const auto found = m_strings.find(name);
    return found == m_strings.end() ? QString() : found->second;
}

QStringList TVerInfoRes::flagTexts() const
{
    QStringList texts;
    const std::uint32_t valid = m_flags & m_flagsMask;
    if (valid & 0x2u)
        texts << QStringLiteral("Pre-release");
    if (valid & 0x8u)
        texts << QStringLiteral("Private build");
    if (valid & 0x20u)
        texts << QStringLiteral("Special build");
    if (valid & 0x1u)
        texts << QStringLiteral("Debug");
    return texts;
}

QString TVerInfoRes::stringTablePath() const
{
    const QString languageAndCodePage = QStringLiteral("%1%2")
                                            .arg(m_language, 4, 16, QLatin1Char('0'))
                                            .arg(m_codePage, 4, 16, QLatin1Char('0'))
                                            .toUpper();
    return QStringLiteral("\\StringFileInfo\\") + languageAndCodePage + QStringLiteral("\\");
}

} // namespace velmora
