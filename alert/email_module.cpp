#include "alert/email_module.h"

#include "alert/smtp_mailer.h"
#include "foundation/config_ini.h"
#include "foundation/debug_agent.h"
#include "foundation/message_boxes.h"
#include "platform/exception.h"

namespace velmora {

namespace {
const QString kConnectAdvice = QStringLiteral(
    "To success connecting to SMTP Server:\r\n1, Make sure the server exist there; \r\n2, Make sure logon "
    "information is correct;\r\n3, Make sure you have connected to Internet or Intranet.");
} // namespace

TDMEMail::TDMEMail() : TDMEMail(EmailSettings::read(ConfigIni())) {}

TDMEMail::TDMEMail(const EmailSettings& settings)
    : m_settings(settings),
      m_connectTimeoutMsecs(SmtpMailer::kConnectTimeoutMsecs),
      m_totalTimeoutMsecs(SmtpMailer::kTotalTimeoutMsecs)
{
}

void TDMEMail::setTimeouts(int connectMsecs, int totalMsecs)
{
    m_connectTimeoutMsecs = connectMsecs;
    m_totalTimeoutMsecs = totalMsecs;
}

bool TDMEMail::report(const QString& heading, const QString& reason) const
{
    CommShowException(Exception(reason), heading + m_settings.smtpServer.trimmed(), kConnectAdvice, m_showErrors);
    return false;
}

bool TDMEMail::SendMail(const QString& recipients, const QString& subject, const QString& body,
                        const QString& recipientsCc, const QString& recipientsBcc)
{
    const QString connectHeading = QStringLiteral("Fail to connect to SMTP Server: ");
    // Without a server or a sender there is no one to connect to: the failure
    // is reported as a connection failure without touching the network.
    if (!m_settings.isComplete())
        return report(connectHeading, QStringLiteral("The SMTP server or the sender address is not set."));

    SmtpMailer mailer(m_settings.smtpServer);
    mailer.setTimeouts(m_connectTimeoutMsecs, m_totalTimeoutMsecs);
    if (m_settings.requireAuthentication)
        mailer.setLogin(m_settings.userName, m_settings.password);

    MailMessage message;
    message.from = m_settings.senderAddress.trimmed();
    message.to = recipients;
    message.cc = recipientsCc;
    message.bcc = recipientsBcc;
    message.subject = subject;
    message.body = body;

    const SmtpResult result = mailer.send(message);
    switch (result.outcome) {
    case SmtpResult::Sent:
        SendDebugMessage(QStringLiteral("EMail"), kTraceLevel,
                         QStringLiteral("SendMail: Mail has been sent to ") + recipients
                             + QStringLiteral(", please check it, strSubject, strBody: ") + subject
                             + QStringLiteral(", ") + body);
        return true;
    case SmtpResult::ConnectFailed:
        return report(connectHeading, result.error);
    case SmtpResult::SendFailed:
        return report(QStringLiteral("Fail to send EMail: "), result.error);
    }
    return false;
}

} // namespace velmora
