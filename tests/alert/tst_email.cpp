// The reminder mail against a real SMTP server on loopback.

#include "alert/email_module.h"
#include "alert/email_settings.h"
#include "alert/smtp_mailer.h"
#include "foundation/cipher.h"
#include "foundation/config_ini.h"
#include "tests/support/debug_capture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/smtp_server.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QtTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kSender = QStringLiteral("reminders@example.com");

// Stores the settings the way the configuration tool does: the password
// enciphered keyed by the user name.
void writeMailSettings(const QString& server, const QString& sender, const QString& user,
                       const QString& password, bool requireAuthentication)
{
    ConfigIni ini;
    ini.writeString(QStringLiteral("EMail"), QStringLiteral("MailSMTP"), server);
    ini.writeString(QStringLiteral("EMail"), QStringLiteral("MailEMail"), sender);
    ini.writeString(QStringLiteral("EMail"), QStringLiteral("OutgoingServerUserName"), user);
    ini.writeString(QStringLiteral("EMail"), QStringLiteral("OutgoingServerPassword"),
                    password.isEmpty() ? QString() : EncodeText(password, user));
    ini.writeBool(QStringLiteral("EMail"), QStringLiteral("RequireAuthentication"), requireAuthentication);
}

// The text of a header that may hold RFC 2047 encoded words.
QString decodedHeader(const QString& value)
{
    static const QRegularExpression word(QStringLiteral("=\\?UTF-8\\?B\\?([^?]*)\\?=\\s*"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString result;
    qsizetype at = 0;
    for (auto it = word.globalMatch(value); it.hasNext();) {
        const auto match = it.next();
        result += value.mid(at, match.capturedStart() - at);
        result += QString::fromUtf8(QByteArray::fromBase64(match.captured(1).toLatin1()));
        at = match.capturedEnd();
    }
    return result + value.mid(at);
}

QString decodedBody(const ReceivedMail& mail)
{
    if (mail.header(QStringLiteral("Content-Transfer-Encoding")).compare(QStringLiteral("base64"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(QByteArray::fromBase64(mail.body().toLatin1()));
    QString body = mail.body();
    if (body.endsWith(QStringLiteral("\r\n"))) // ends the message on the wire, not part of the text
        body.chop(2);
    return body;
}

} // namespace

class TestEmail : public QObject {
    Q_OBJECT

private slots:
    void serverTextGivesHostAndPort_data();
    void serverTextGivesHostAndPort();
    void reminderMailArrivesWithLogin();
    void mailWithoutLoginKeepsSubjectAndBody_data();
    void mailWithoutLoginKeepsSubjectAndBody();
    void failureIsLoggedNotThrown_data();
    void failureIsLoggedNotThrown();
    void testMailTakesTypedSettingsAndShowsItsFailure();
};

void TestEmail::serverTextGivesHostAndPort_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addRow("host alone") << "mail.example.com" << "mail.example.com" << 25;
    QTest::addRow("host and port") << " mail.example.com:2525 " << "mail.example.com" << 2525;
    QTest::addRow("v6 with port") << "[::1]:587" << "::1" << 587;
    QTest::addRow("bare v6") << "::1" << "::1" << 25;
}

void TestEmail::serverTextGivesHostAndPort()
{
    QFETCH(QString, server);
    const SmtpMailer mailer(server);
    QTEST(mailer.host(), "host");
    QTEST(mailer.port(), "port");
}

void TestEmail::reminderMailArrivesWithLogin()
{
    Sandbox sandbox;
    FakeClock clock(DateTime::fromParts(2026, 3, 2, 14, 30));
    DebugCapture capture;
    SmtpServer server(QStringLiteral("ann"), QStringLiteral("s3cret pass"));
    QVERIFY(server.start());
    writeMailSettings(server.address(), kSender, QStringLiteral("ann"), QStringLiteral("s3cret pass"), true);

    TDMEMail module;
    QCOMPARE(module.settings().password, QStringLiteral("s3cret pass"));
    const QString to = QStringLiteral("bob@example.com; Carol <carol@example.com>;");
    const QString body = QStringLiteral("Ann, \r\nthere is 1 task for you. Call Bob.  Good luck!");
    QVERIFY(module.SendMail(to, QStringLiteral("Call Bob"), body, QStringLiteral("dan@example.com"),
                            QStringLiteral("eve@example.com")));

    QVERIFY(server.waitForMails(1));
    const ReceivedMail mail = server.received().first();
    QCOMPARE(mail.authUser, QStringLiteral("ann"));
    QCOMPARE(mail.authMechanism, QStringLiteral("LOGIN"));
    QCOMPARE(mail.mailFrom, kSender);
    QCOMPARE(mail.recipients, (QStringList{"bob@example.com", "carol@example.com", "dan@example.com", "eve@example.com"}));
    QCOMPARE(mail.header(QStringLiteral("From")), kSender);
    QCOMPARE(mail.header(QStringLiteral("To")), QStringLiteral("bob@example.com, Carol <carol@example.com>"));
    QCOMPARE(mail.header(QStringLiteral("Cc")), QStringLiteral("dan@example.com"));
    QVERIFY2(!mail.data.contains(QStringLiteral("eve@example.com")), "a Bcc address must not show in the mail");
    QCOMPARE(mail.header(QStringLiteral("Subject")), QStringLiteral("Call Bob"));
    QVERIFY(mail.header(QStringLiteral("Content-Type")).startsWith(QStringLiteral("text/plain")));
    QVERIFY(mail.header(QStringLiteral("Date")).contains(QStringLiteral("2 Mar 2026 14:30")));
    QCOMPARE(decodedBody(mail), body);
    QTRY_VERIFY(capture.contains(QStringLiteral("SendMail: Mail has been sent to ") + to
                                 + QStringLiteral(", please check it, strSubject, strBody: Call Bob, ") + body));
}

void TestEmail::mailWithoutLoginKeepsSubjectAndBody_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("receivedSubject");
    QTest::addColumn<QString>("receivedBody");
    QTest::addRow("plain") << "Dentist" << "Line one\r\nLine two" << "Dentist" << "Line one\r\nLine two";
    QTest::addRow("not ascii") << QString::fromUtf8("Zahnarzt in Köln — 10 € 😀 mitbringen bitte")
                               << QString::fromUtf8("Größe: ½\r\nПривет") << QString::fromUtf8("Zahnarzt in Köln — 10 € 😀 mitbringen bitte")
                               << QString::fromUtf8("Größe: ½\r\nПривет");
    QTest::addRow("line starting with a dot") << "Dots" << "first\r\n.\r\n.second" << "Dots"
                                              << "first\r\n.\r\n.second";
    QTest::addRow("bare line breaks") << "Breaks" << "a\nb\rc" << "Breaks" << "a\r\nb\r\nc";
    QTest::addRow("subject with a line break") << "Call\r\nBcc: mallory@example.com" << "x"
                                               << "Call Bcc: mallory@example.com" << "x";
}

void TestEmail::mailWithoutLoginKeepsSubjectAndBody()
{
    QFETCH(QString, subject);
    QFETCH(QString, body);
    Sandbox sandbox;
    FakeClock clock(DateTime::fromParts(2026, 3, 2, 9, 0));
    SmtpServer server;
    QVERIFY(server.start());
    writeMailSettings(server.address(), kSender, QString(), QString(), false);

    TDMEMail module;
    QVERIFY(module.SendMail(QStringLiteral("bob@example.com"), subject, body));

    QVERIFY(server.waitForMails(1));
    const ReceivedMail mail = server.received().first();
    QVERIFY(mail.authUser.isEmpty());
    QCOMPARE(mail.recipients, QStringList{QStringLiteral("bob@example.com")});
    QTEST(decodedHeader(mail.header(QStringLiteral("Subject"))), "receivedSubject");
    QTEST(decodedBody(mail), "receivedBody");
}

void TestEmail::failureIsLoggedNotThrown_data()
{
    QTest::addColumn<QString>("serverKind");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("requireAuthentication");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("logged");
    QTest::addRow("wrong password") << "auth" << "wrong" << true << kSender
                                    << "CommShowException: Fail to connect to SMTP Server: 127.0.0.1:";
    QTest::addRow("login required but not given") << "auth" << "" << false << kSender
                                                  << "CommShowException: Fail to send EMail: 127.0.0.1:";
    QTest::addRow("closed port") << "closed" << "" << false << kSender
                                 << "CommShowException: Fail to connect to SMTP Server: 127.0.0.1:";
    QTest::addRow("server never answers") << "silent" << "" << false << kSender
                                          << "CommShowException: Fail to connect to SMTP Server: 127.0.0.1:";
    QTest::addRow("no sender") << "auth" << "" << false << ""
                               << "CommShowException: Fail to connect to SMTP Server: 127.0.0.1:";
    QTest::addRow("no server") << "none" << "" << false << kSender
                               << "CommShowException: Fail to connect to SMTP Server: \r\nReason: ";
}

void TestEmail::failureIsLoggedNotThrown()
{
    QFETCH(QString, serverKind);
    QFETCH(QString, password);
    QFETCH(bool, requireAuthentication);
    QFETCH(QString, sender);
    QFETCH(QString, logged);
    Sandbox sandbox;
    FakeClock clock(DateTime::fromParts(2026, 3, 2, 9, 0));
    DebugCapture capture;
    ScriptedDialogs dialogs;

    SmtpServer server(QStringLiteral("ann"), QStringLiteral("right"));
    QTcpServer silent; // accepts connections (the kernel does) and never greets
    QString address;
    if (serverKind == QLatin1String("auth")) {
        QVERIFY(server.start());
        address = server.address();
    } else if (serverKind == QLatin1String("closed")) {
        address = QStringLiteral("127.0.0.1:%1").arg(SmtpServer::closedPort());
    } else if (serverKind == QLatin1String("silent")) {
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        address = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    }
    writeMailSettings(address, sender, QStringLiteral("ann"), password, requireAuthentication);

    TDMEMail module;
    module.setTimeouts(1000, 2000);
    QElapsedTimer elapsed;
    elapsed.start();
    bool sent = true;
    try {
        sent = module.SendMail(QStringLiteral("bob@example.com"), QStringLiteral("Call Bob"), QStringLiteral("body"));
    } catch (...) {
        QFAIL("a failed mail must not raise an error");
    }
    QVERIFY(!sent);
    QVERIFY2(elapsed.elapsed() < 10000, "a failing server must not hold the caller past its time-out");
    QTRY_VERIFY2(capture.contains(logged), qPrintable(capture.messages().join(QLatin1Char('\n'))));
    QVERIFY(capture.contains(QStringLiteral("To success connecting to SMTP Server:\r\n1, Make sure the server exist there; ")));
    QVERIFY(!capture.contains(QStringLiteral("SendMail: Mail has been sent")));
    if (server.port())
        QVERIFY(server.received().isEmpty());
    QVERIFY(dialogs.shown().isEmpty());
}

void TestEmail::testMailTakesTypedSettingsAndShowsItsFailure()
{
    Sandbox sandbox;
    FakeClock clock(DateTime::fromParts(2026, 3, 2, 9, 0));
    ScriptedDialogs dialogs;
    SmtpServer server(QStringLiteral("ann"), QStringLiteral("typed"));
    QVERIFY(server.start());

    // The configuration tool hands over the page's values, the password as typed.
    EmailSettings settings;
    settings.senderAddress = kSender;
    settings.smtpServer = server.address();
    settings.userName = QStringLiteral("ann");
    settings.password = QStringLiteral("typed");
    settings.requireAuthentication = true;
    TDMEMail module(settings);
    module.setShowErrors(true);
    QVERIFY(module.SendMail(kSender, QStringLiteral("This is a test mail from Velmora Configure"),
                            QStringLiteral("<b>Hello</b>\r\nThis is a test mail.")));
    QVERIFY(server.waitForMails(1));
    QCOMPARE(server.received().first().recipients, QStringList{kSender});
    QVERIFY(dialogs.shown().isEmpty());

    settings.password = QStringLiteral("mistyped");
    TDMEMail failing(settings);
    failing.setShowErrors(true);
    QVERIFY(!failing.SendMail(kSender, QStringLiteral("This is a test mail from Velmora Configure"), QStringLiteral("x")));
    QCOMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown().first().caption, QStringLiteral("Warning"));
    QVERIFY(dialogs.shown().first().text.startsWith(QStringLiteral("Fail to connect to SMTP Server: ") + server.address()
                                                    + QStringLiteral("\r\nReason: ")));
    QCOMPARE(server.received().size(), 1);
}

QTEST_MAIN(TestEmail)
#include "tst_email.moc"
