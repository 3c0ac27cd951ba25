#include "foundation/about_window.h"

#include "foundation/date_texts.h"
#include "foundation/product_texts.h"
#include "foundation/shell_run.h"
#include "foundation/version_info.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

QLabel* linkLabel(const QString& text, QWidget* parent, std::function<void(const QString&)> onClick)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setProperty("linkText", text);
    QObject::connect(label, &QLabel::linkActivated, label, [text, onClick](const QString&) { onClick(text); });
    return label;
}

} // namespace

QString AboutBuildText(int buildNumber)
{
    return QStringLiteral("%1.%2").arg(buildNumber / 1000).arg(buildNumber % 1000);
}

TFrmAbout::TFrmAbout(QWidget* owner, const QString& programFile) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmAbout"));
    const QString file = programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile;
    const TVerInfoRes version(file);

    setWindowTitle(QStringLiteral("About ") + CenterTitle());
    auto* layout = new QVBoxLayout(this);

    m_title = new QLabel(CenterTitle() + QStringLiteral("(TM)"), this);
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    const DateTime builtAt = DateTime::fromQDateTime(QFileInfo(file).lastModified());
    m_version = new QLabel(QStringLiteral("Version ") + version.FileVersionText() + QStringLiteral(" (Build ")
                               + AboutBuildText(version.buildNumber()) + QStringLiteral(") ")
                               + QStringLiteral("Build At ") + DateTimeText(builtAt),
                           this);
    m_legal = new QLabel(version.VersionValue(QStringLiteral("LegalCopyright")), this);
    auto* slogan = new QLabel(QStringLiteral("Velmora, my work partner."), this);
    m_web = linkLabel(QString::fromLatin1(kMakerWebAddress), this,
                      [this](const QString& text) { ShellRun(this, QStringLiteral("Open"), text); });
    m_support = linkLabel(QString::fromLatin1(kSupportMailText), this,
                          [this](const QString& text) { ShellRun(this, QString(), text); });

    for (QLabel* label : {m_title, m_version, m_legal, slogan, m_web, m_support})
        layout->addWidget(label);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons); // Esc closes a QDialog by itself
}

QString TFrmAbout::titleText() const { return m_title->text(); }
QString TFrmAbout::versionText() const { return m_version->text(); }
QString TFrmAbout::legalText() const { return m_legal->text(); }

} // namespace velmora
