#pragma once
// The About window of every program: title, version and build of the running
// program file, legal notice, slogan, and the maker's web and support links.

#include <QDialog>

class QLabel;

namespace velmora {

inline constexpr const char kMakerWebAddress[] = "https://www.quorvane.com/velmora";
inline constexpr const char kSupportMailText[] = "MailTo: support@quorvane.com";

// "1.342" for build 1342: the build number split at the thousands.
QString AboutBuildText(int buildNumber);

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    // Reads the version data of programFile (the running program by
    // default); its errors reach the caller.
    explicit TFrmAbout(QWidget* owner = nullptr, const QString& programFile = QString());

    QString titleText() const;
    QString versionText() const;
    QString legalText() const;
    QLabel* webLabel() const { return m_web; }
    QLabel* supportLabel() const { return m_support; }

private:
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_legal = nullptr;
    QLabel* m_web = nullptr;
    QLabel* m_support = nullptr;
};

} // namespace velmora
