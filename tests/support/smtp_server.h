#pragma once
// A real SMTP server on 127.0.0.1 for the mail tests (aiosmtpd in a child
// process), recording every message it accepts.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QList>

namespace velmora::test {

struct ReceivedMail {
    QString mailFrom;          // the envelope sender
    QStringList recipients;    // the envelope recipients, Bcc included
    QString data;              // headers and body as received
    QString authUser;          // empty when the client did not log in
    QString authMechanism;     // "LOGIN", "PLAIN" or empty
    QString header(const QString& name) const; // first header of that name, unfolded
    QString body() const;      // the part after the blank line
};

class SmtpServer {
public:
    // With a user name, the server refuses mail until the client logs in.
    explicit SmtpServer(const QString& user = QString(), const QString& password = QString());
    ~SmtpServer(); // stops the server
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    // Starts it on a free port and waits until the port accepts.
    bool start(int msecs = 15000);
    int port() const { return m_port; }
    QString address() const; // "127.0.0.1:port", as the mail settings take it

    QList<ReceivedMail> received() const;
    bool waitForMails(int count, int msecs = 10000) const;

    // A loopback port that nothing listens on.
    static int closedPort();

private:
    QTemporaryDir m_out;
    QProcess m_process;
    QString m_user;
    QString m_password;
    int m_port = 0;
};

} // namespace velmora::test
