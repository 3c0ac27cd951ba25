#include "platform/settings_key_path.h"

#include "platform/exception.h"

namespace velmora::platform {

namespace {

void check(const QString& whole, const QStringList& components)
{
    for (const QString& component : components) {
        if (component.isEmpty())
            throw Exception(QStringLiteral("Malformed settings key \"%1\": empty key name (a leading, trailing "
                                           "or doubled backslash)")
                                .arg(whole));
        for (QChar c : component) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                throw Exception(
                    QStringLiteral("Malformed settings key \"%1\": control character in a key name").arg(whole));
        }
    }
}

} // namespace

SettingsKeyPath::SettingsKeyPath(const QString& text)
{
    if (text.isEmpty())
        return;
    m_components = text.split(QLatin1Char('\\'));
    check(text, m_components);
}

SettingsKeyPath SettingsKeyPath::parent() const
{
    SettingsKeyPath result;
    result.m_components = m_components.mid(0, qMax(0, m_components.size() - 1));
    return result;
}

SettingsKeyPath SettingsKeyPath::child(const QString& name) const
{
    SettingsKeyPath result;
    result.m_components = m_components;
    result.m_components.append(name.split(QLatin1Char('\\')));
    check(result.text(), result.m_components);
    return result;
}

} // namespace velmora::platform
