#pragma once
// The reminder mail's settings: the "EMail" section of Config.INI.

#include <QString>

namespace velmora {

class ConfigIni;

struct EmailSettings {
    QString senderAddress; // "MailEMail"
    QString smtpServer;    // "MailSMTP": a host, or "host:port"
    QString userName;      // "OutgoingServerUserName"
    QString password;      // "OutgoingServerPassword", deciphered
    bool requireAuthentication = false; // "RequireAuthentication"

    // Mail goes out only when both the server and the sender are set.
    bool isComplete() const;

    static EmailSettings read(const ConfigIni& ini);
    // The stored password is enciphered keyed by the user name, so a changed
    // user name needs the password written again.
    void write(ConfigIni& ini) const;
};

} // namespace velmora
