#include "foundation/config_ini.h"

#include "platform/exception.h"
#include "platform/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>

namespace velmora {

namespace {

struct KeyLine {
    QString key;
    QString value;
};

std::optional<QString> sectionHeader(const QString& line)
{
    const QString text = line.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    // A header without its closing bracket still opens a section, as the
    // classic profile reader treats it.
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    return text.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

std::optional<KeyLine> keyLine(const QString& line)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return std::nullopt;
    return KeyLine{text.left(equals).trimmed(), text.mid(equals + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

struct ConfigIni::Impl {
    QString path;
    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
    bool byteOrderMark = false;
    bool latin1 = false; // files saved by older tools in a one-byte code page

    void load()
    {
        lines.clear();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        QByteArray bytes = file.readAll();
        byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
        if (byteOrderMark)
            bytes.remove(0, 3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        latin1 = utf8.hasError();
        if (latin1)
            text = QString::fromLatin1(bytes);
        lineEnd = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
        lines = text.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        // The final line end is not a line of its own.
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }

    void save() const
    {
        const QFileInfo info(path);
        if (!QDir().mkpath(info.absolutePath()))
            throw Exception(QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(info.absolutePath())));
        QString text;
        for (const QString& line : lines)
            text += line + lineEnd;
        QByteArray bytes = latin1 ? text.toLatin1() : text.toUtf8();
        if (byteOrderMark)
            bytes.prepend("\xEF\xBB\xBF");
        // Written beside the file and renamed over it, so a reader in another
        // program sees either the old file or the new one, never half of one.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw Exception(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }

    // Index of the first header of this section, or -1.
    qsizetype findSection(const QString& section) const
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto name = sectionHeader(lines[i]);
            if (name && sameName(*name, section))
                return i;
        }
        return -1;
    }

    // One past the section's last line.
    qsizetype sectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < lines.size() && !sectionHeader(lines[i]))
            ++i;
        return i;
    }

    // Index of the first line of this key in the section, or -1.
    qsizetype findKey(const QString& section, const QString& key) const
    {
        const qsizetype header = findSection(section);
        if (header < 0)
            return -1;
        const qsizetype end = sectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            const auto entry = keyLine(lines[i]);
            if (entry && sameName(entry->key, key))
                return i;
        }
        return -1;
    }

    std::optional<QString> value(const QString& section, const QString& key) const
    {
        const qsizetype at = findKey(section, key);
        if (at < 0)
            return std::nullopt;
        return keyLine(lines[at])->value;
    }

    void setValue(const QString& section, const QString& key, QString value)
    {
        // A line break would end the line early and turn the rest of the
        // value into lines of their own.
        value.replace(QLatin1String("\r\n"), QLatin1String(" "));
        value.replace(QLatin1Char('\r'), QLatin1Char(' '));
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));

        const qsizetype at = findKey(section, key);
        if (at >= 0) {
            const QString& line = lines[at];
            const QString writtenKey = line.left(line.indexOf(QLatin1Char('='))).trimmed();
            lines[at] = writtenKey + QLatin1Char('=') + value;
            return;
        }
        const QString newLine = key + QLatin1Char('=') + value;
        const qsizetype header = findSection(section);
        if (header >= 0) {
            // After the section's last entry, before the blank lines that
            // set it apart from the next one.
            qsizetype insertAt = sectionEnd(header);
            while (insertAt > header + 1 && lines[insertAt - 1].trimmed().isEmpty())
                --insertAt;
            lines.insert(insertAt, newLine);
            return;
        }
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(newLine);
    }
};

QString ConfigIni::defaultPath() { return platform::installRoot() + QStringLiteral("Config/Config.INI"); }

ConfigIni::ConfigIni(const QString& path) : m_impl(std::make_unique<Impl>())
{
    m_impl->path = path;
    m_impl->load();
}

ConfigIni::~ConfigIni() = default;

QString ConfigIni::path() const { return m_impl->path; }

void ConfigIni::reload() { m_impl->load(); }

QString ConfigIni::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return m_impl->value(section, key).value_or(defaultValue);
}

int ConfigIni::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const auto text = m_impl->value(section, key);
    if (!text)
        return defaultValue;
    bool ok = false;
    int value = 0;
    // Hexadecimal in the two spellings older tools wrote colours in.
    if (text->startsWith(QLatin1Char('$')))
        value = text->mid(1).toInt(&ok, 16);
    else if (text->startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text->mid(2).toInt(&ok, 16);
    else
        value = text->toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool ConfigIni::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    const auto text = m_impl->value(section, key);
    if (!text)
        return defaultValue;
    if (*text == QLatin1String("1") || text->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (*text == QLatin1String("0") || text->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

void ConfigIni::writeString(const QString& section, const QString& key, const QString& value)
{
    // Start from the file as it is now, so a change another program saved
    // since our last read is kept.
    m_impl->load();
    m_impl->setValue(section, key, value);
    try {
        m_impl->save();
    } catch (...) {
        m_impl->load(); // what we answer stays what the file holds
        throw;
    }
}

void ConfigIni::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void ConfigIni::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ConfigIni::sectionExists(const QString& section) const { return m_impl->findSection(section) >= 0; }

bool ConfigIni::valueExists(const QString& section, const QString& key) const
{
    return m_impl->findKey(section, key) >= 0;
}

QStringList ConfigIni::sections() const
{
    QStringList names;
    for (const QString& line : m_impl->lines) {
        const auto name = sectionHeader(line);
        if (name && !names.contains(*name, Qt::CaseInsensitive))
            names.append(*name);
    }
    return names;
}

QStringList ConfigIni::keys(const QString& section) const
{
    QStringList names;
    const qsizetype header = m_impl->findSection(section);
    if (header < 0)
        return names;
    const qsizetype end = m_impl->sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto entry = keyLine(m_impl->lines[i]);
        if (entry && !names.contains(entry->key, Qt::CaseInsensitive))
            names.append(entry->key);
    }
    return names;
}

} // namespace velmora
