#include "tests/support/smtp_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace velmora::test {

QString ReceivedMail::header(const QString& name) const
{
    const QString headers = data.section(QStringLiteral("\r\n\r\n"), 0, 0);
    QString unfolded = headers;
    unfolded.replace(QStringLiteral("\r\n "), QStringLiteral(" ")).replace(QStringLiteral("\r\n\t"), QStringLiteral(" "));
    for (const QString& line : unfolded.split(QStringLiteral("\r\n"))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return QString();
}

QString ReceivedMail::body() const
{
    const qsizetype blank = data.indexOf(QStringLiteral("\r\n\r\n"));
    return blank < 0 ? QString() : data.mid(blank + 4);
}

SmtpServer::SmtpServer(const QString& user, const QString& password) : m_user(user), m_password(password) {}

SmtpServer::~SmtpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

int SmtpServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

bool SmtpServer::start(int msecs)
{
    m_port = closedPort();
    QStringList arguments{QStringLiteral(VELMORA_SMTP_SERVER_SCRIPT), QStringLiteral("--port"),
                          QString::number(m_port), QStringLiteral("--out"), m_out.path()};
    if (!m_user.isEmpty())
        arguments << QStringLiteral("--user") << m_user << QStringLiteral("--password") << m_password;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!m_process.waitForStarted(msecs))
        return false;
    const QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(500)) {
            socket.abort();
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

QString SmtpServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QList<ReceivedMail> SmtpServer::received() const
{
    QList<ReceivedMail> mails;
    const QDir folder(m_out.path());
    for (const QString& name : folder.entryList({QStringLiteral("mail-*.json")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
        ReceivedMail mail;
        mail.mailFrom = record.value(QStringLiteral("mail_from")).toString();
        for (const QJsonValue& recipient : record.value(QStringLiteral("rcpt_tos")).toArray())
            mail.recipients << recipient.toString();
        mail.data = record.value(QStringLiteral("data")).toString();
        mail.authUser = record.value(QStringLiteral("auth_user")).toString();
        mail.authMechanism = record.value(QStringLiteral("auth_mechanism")).toString();
        mails << mail;
    }
    return mails;
}

bool SmtpServer::waitForMails(int count, int msecs) const
{
    const QDeadlineTimer deadline(msecs);
    while (received().size() < count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace velmora::test
