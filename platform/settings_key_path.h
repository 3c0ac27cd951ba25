#pragma once
// A checked key path of the settings store: backslash-separated components
// below HKEY_CURRENT_USER, with the case-folded form used for comparing.

#include <QString>
#include <QStringList>

namespace velmora::platform {

class SettingsKeyPath {
public:
    // Throws velmora::Exception for a malformed path (empty component,
    // leading or trailing backslash, control characters). The empty text is
    // the root, HKEY_CURRENT_USER itself.
    explicit SettingsKeyPath(const QString& text);

    bool isRoot() const { return m_components.isEmpty(); }
    const QStringList& components() const { return m_components; }
    QString text() const { return m_components.join(QLatin1Char('\\')); }
    QString folded() const { return fold(text()); }
    QString name() const { return isRoot() ? QString() : m_components.last(); }
    SettingsKeyPath parent() const;
    SettingsKeyPath child(const QString& name) const;

    // The form names are compared in: full Unicode case folding. Qt's own
    // folding maps one character to one, which would keep "ß" apart from
    // "SS"; upper-casing first applies the one-to-many mappings.
    static QString fold(const QString& text) { return text.toUpper().toCaseFolded(); }

private:
    SettingsKeyPath() = default;
    QStringList m_components;
};

} // namespace velmora::platform
