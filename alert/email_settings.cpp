#include "alert/email_settings.h"

#include "foundation/cipher.h"
#include "foundation/config_ini.h"

namespace velmora {

namespace {
const QString kSection = QStringLiteral("EMail");
const QString kSenderKey = QStringLiteral("MailEMail");
const QString kServerKey = QStringLiteral("MailSMTP");
const QString kUserKey = QStringLiteral("OutgoingServerUserName");
const QString kPasswordKey = QStringLiteral("OutgoingServerPassword");
const QString kAuthenticationKey = QStringLiteral("RequireAuthentication");
} // namespace

bool EmailSettings::isComplete() const
{
    return !smtpServer.trimmed().isEmpty() && !senderAddress.trimmed().isEmpty();
}

EmailSettings EmailSettings::read(const ConfigIni& ini)
{
    EmailSettings settings;
    settings.senderAddress = ini.readString(kSection, kSenderKey);
    settings.smtpServer = ini.readString(kSection, kServerKey);
    settings.userName = ini.readString(kSection, kUserKey);
    const QString cipher = ini.readString(kSection, kPasswordKey);
    // DecodeText of an empty text is empty, but say so rather than rely on it.
    settings.password = cipher.isEmpty() ? QString() : DecodeText(cipher, settings.userName);
    settings.requireAuthentication = ini.readBool(kSection, kAuthenticationKey, false);
    return settings;
}

void EmailSettings::write(ConfigIni& ini) const
{
    ini.writeString(kSection, kSenderKey, senderAddress);
    ini.writeString(kSection, kServerKey, smtpServer);
    ini.writeString(kSection, kUserKey, userName);
    ini.writeString(kSection, kPasswordKey, password.isEmpty() ? QString() : EncodeText(password, userName));
    ini.writeBool(kSection, kAuthenticationKey, requireAuthentication);
}

} // namespace velmora
