#pragma once
// TDMEMail: the alert service's e-mail way. Sends a reminder (or the
// configuration tool's test mail) with the "EMail" settings and reports a
// failure on the debug channel, never to its caller as an error.

#include "alert/email_settings.h"

#include <QString>

namespace velmora {

class TDMEMail {
public:
    // With the settings of Config.INI.
    TDMEMail();
    explicit TDMEMail(const EmailSettings& settings);

    const EmailSettings& settings() const { return m_settings; }

    // The reminder service runs unattended, so by default failures are only
    // logged; the configuration tool's test asks for the warning box.
    void setShowErrors(bool show) { m_showErrors = show; }

    // True when the mail was accepted by the server. Recipients are
    // addresses separated by ';'.
    bool SendMail(const QString& recipients, const QString& subject, const QString& body,
                  const QString& recipientsCc = QString(), const QString& recipientsBcc = QString());

    // The per-try limits of the connection and of the whole send.
    void setTimeouts(int connectMsecs, int totalMsecs);

private:
    bool report(const QString& heading, const QString& reason) const;

    EmailSettings m_settings;
    bool m_showErrors = false;
    int m_connectTimeoutMsecs;
    int m_totalTimeoutMsecs;
};

} // namespace velmora
