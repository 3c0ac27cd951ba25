#pragma once
// Sends one plain-text mail over SMTP (libcurl), with AUTH LOGIN when a login
// is given, and says whether it failed on connecting or on sending.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace velmora {

struct MailMessage {
    QString from;
    QString to;  // addresses separated by ';' (or ',')
    QString cc;
    QString bcc; // receives the mail but is named in no header
    QString subject;
    QString body;
};

struct SmtpResult {
    enum Outcome { Sent, ConnectFailed, SendFailed };
    Outcome outcome = Sent;
    QString error; // empty when sent
    bool ok() const { return outcome == Sent; }
};

class SmtpMailer {
public:
    static constexpr int kDefaultPort = 25;
    static constexpr int kConnectTimeoutMsecs = 10'000;
    static constexpr int kTotalTimeoutMsecs = 15'000;

    // "host", "host:port" or "[v6 address]:port".
    explicit SmtpMailer(const QString& server);

    QString host() const { return m_host; }
    int port() const { return m_port; }

    // With a user name the mailer logs in (AUTH LOGIN) before sending.
    void setLogin(const QString& userName, const QString& password);
    void setTimeouts(int connectMsecs, int totalMsecs);

    SmtpResult send(const MailMessage& message) const;

    // The addresses of a recipients text, trimmed, empty entries dropped.
    static QStringList splitAddresses(const QString& text);
    // The bare address of "Name <a@b>" or "a@b".
    static QString bareAddress(const QString& mailbox);
    // Headers and body as they go on the wire, lines ending in CR LF.
    static QByteArray composeMessage(const MailMessage& message, const QDateTime& date);

private:
    QString m_host;
    int m_port = kDefaultPort;
    QString m_userName;
    QString m_password;
    int m_connectTimeoutMsecs = kConnectTimeoutMsecs;
    int m_totalTimeoutMsecs = kTotalTimeoutMsecs;
};

} // namespace velmora
