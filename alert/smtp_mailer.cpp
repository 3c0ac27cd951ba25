#include "alert/smtp_mailer.h"

#include "foundation/clock.h"

#include <QRegularExpression>

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace velmora {

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0x7F)
            return false;
    return true;
}

// Any CR, LF or CR LF becomes CR LF: SMTP forbids bare line-break characters.
QByteArray crLfLines(const QString& text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normalized.toUtf8().replace('\n', kCrLf);
}

// A header value on one line: a line break in a task subject must not be able
// to end the header block or add headers of its own.
QString oneLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
    return QString(text).replace(breaks, QStringLiteral(" "));
}

// RFC 2047 encoded words, short enough to keep header lines below 78 characters.
QByteArray encodedHeaderText(const QString& text)
{
    if (isAscii(text))
        return text.toLatin1();
    QByteArray result;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype length = qMin<qsizetype>(12, text.size() - start);
        if (start + length < text.size() && text.at(start + length - 1).isHighSurrogate())
            ++length;
        if (!result.isEmpty())
            result += kCrLf + ' ';
        result += "=?UTF-8?B?" + text.mid(start, length).toUtf8().toBase64() + "?=";
        start += length;
    }
    return result;
}

QByteArray addressHeader(const QString& text)
{
    return SmtpMailer::splitAddresses(text).join(QStringLiteral(", ")).toUtf8();
}

struct UploadSource {
    QByteArray data;
    qsizetype offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user)
{
    auto* source = static_cast<UploadSource*>(user);
    const size_t room = size * count;
    const size_t left = static_cast<size_t>(source->data.size() - source->offset);
    const size_t length = qMin(room, left);
    std::memcpy(buffer, source->data.constData() + source->offset, length);
    source->offset += static_cast<qsizetype>(length);
    return length;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

SmtpMailer::SmtpMailer(const QString& server)
{
    static const QRegularExpression withPort(QStringLiteral("^\\[?([^\\[\\]]*?)\\]?:(\\d{1,5})$"));
    const QString trimmed = server.trimmed();
    const auto match = withPort.match(trimmed);
    // A bare IPv6 address has colons of its own; only "[addr]:port" carries a port.
    const bool bareV6 = trimmed.count(QLatin1Char(':')) > 1 && !trimmed.startsWith(QLatin1Char('['));
    if (match.hasMatch() && !bareV6) {
        m_host = match.captured(1);
        m_port = match.captured(2).toInt();
    } else {
        m_host = trimmed;
        if (m_host.startsWith(QLatin1Char('[')) && m_host.endsWith(QLatin1Char(']')))
            m_host = m_host.mid(1, m_host.size() - 2);
    }
}

void SmtpMailer::setLogin(const QString& userName, const QString& password)
{
    m_userName = userName;
    m_password = password;
}

void SmtpMailer::setTimeouts(int connectMsecs, int totalMsecs)
{
    m_connectTimeoutMsecs = connectMsecs;
    m_totalTimeoutMsecs = totalMsecs;
}

QStringList SmtpMailer::splitAddresses(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\r\\n]"));
    QStringList addresses;
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

QString SmtpMailer::bareAddress(const QString& mailbox)
{
    const qsizetype open = mailbox.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = mailbox.lastIndexOf(QLatin1Char('>'));
    if (open >= 0 && close > open)
        return mailbox.mid(open + 1, close - open - 1).trimmed();
    return mailbox.trimmed();
}

QByteArray SmtpMailer::composeMessage(const MailMessage& message, const QDateTime& date)
{
    QByteArray body = crLfLines(message.body);
    bool plain7bit = isAscii(message.body);
    for (const QByteArray& line : body.split('\n'))
        plain7bit = plain7bit && line.size() <= 998;

    QByteArray wire;
    wire += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + kCrLf;
    wire += "From: " + oneLine(message.from.trimmed()).toUtf8() + kCrLf;
    if (!splitAddresses(message.to).isEmpty())
        wire += "To: " + addressHeader(message.to) + kCrLf;
    if (!splitAddresses(message.cc).isEmpty())
        wire += "Cc: " + addressHeader(message.cc) + kCrLf;
    wire += "Subject: " + encodedHeaderText(oneLine(message.subject)) + kCrLf;
    wire += "MIME-Version: 1.0" + kCrLf;
    wire += "Content-Type: text/plain; charset=utf-8" + kCrLf;
    if (plain7bit) {
        wire += "Content-Transfer-Encoding: 7bit" + kCrLf + kCrLf + body;
    } else {
        wire += "Content-Transfer-Encoding: base64" + kCrLf + kCrLf;
        const QByteArray encoded = message.body.toUtf8().isEmpty() ? QByteArray() : body.toBase64();
        for (qsizetype at = 0; at < encoded.size(); at += 76)
            wire += encoded.mid(at, 76) + kCrLf;
    }
    if (!wire.endsWith(kCrLf))
        wire += kCrLf;
    return wire;
}

SmtpResult SmtpMailer::send(const MailMessage& message) const
{
    if (m_host.isEmpty())
        return {SmtpResult::ConnectFailed, QStringLiteral("No SMTP server is set.")};
    QStringList recipients = splitAddresses(message.to) + splitAddresses(message.cc) + splitAddresses(message.bcc);
    if (recipients.isEmpty())
        return {SmtpResult::SendFailed, QStringLiteral("No recipient is given.")};

    initCurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return {SmtpResult::ConnectFailed, QStringLiteral("The mail library cannot be started.")};

    std::unique_ptr<curl_slist, SlistDeleter> recipientList;
    for (const QString& recipient : recipients) {
        const QByteArray address = '<' + bareAddress(recipient).toUtf8() + '>';
        recipientList.reset(curl_slist_append(recipientList.release(), address.constData()));
    }

    const QString hostPart = m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    const QByteArray url = QStringLiteral("smtp://%1:%2").arg(hostPart).arg(m_port).toUtf8();
    const QByteArray from = '<' + bareAddress(message.from).toUtf8() + '>';
    const QByteArray user = m_userName.toUtf8();
    const QByteArray password = m_password.toUtf8();
    UploadSource source{composeMessage(message, velmora::now().toQDateTime()), 0};
    char errorText[CURL_ERROR_SIZE] = {};

    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipientList.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(handle, CURLOPT_READDATA, &source);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(source.data.size()));
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_connectTimeoutMsecs));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(m_totalTimeoutMsecs));
    if (!m_userName.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
        // Servers offering several mechanisms would otherwise get the strongest
        // curl knows; the suite's mail settings mean a plain LOGIN.
        curl_easy_setopt(handle, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }

    const CURLcode code = curl_easy_perform(handle);
    if (code == CURLE_OK)
        return {};

    QString error = QString::fromUtf8(curl_easy_strerror(code));
    const QString detail = QString::fromUtf8(errorText).trimmed();
    if (!detail.isEmpty() && detail != error)
        error += QStringLiteral(": ") + detail;

    // Before the data transfer began the failure is one of reaching or
    // logging in to the server; after it, one of sending.
    double pretransfer = 0;
    curl_easy_getinfo(handle, CURLINFO_PRETRANSFER_TIME, &pretransfer);
    const bool connecting = code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_CONNECT
        || code == CURLE_LOGIN_DENIED || code == CURLE_WEIRD_SERVER_REPLY
        || (code == CURLE_OPERATION_TIMEDOUT && pretransfer <= 0);
    return {connecting ? SmtpResult::ConnectFailed : SmtpResult::SendFailed, error};
}

} // namespace velmora
