#pragma once
// The one error type the suite raises: a message and a help-context number.

#include <QString>
#include <exception>
#include <string>

namespace velmora {

class Exception : public std::exception {
public:
    explicit Exception(QString message, int helpContext = 0)
        : m_message(std::move(message)), m_helpContext(helpContext), m_utf8(m_message.toStdString()) {}

    const QString& message() const noexcept { return m_message; }
    int helpContext() const noexcept { return m_helpContext; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

    // The message of any error, whether ours or the standard library's.
    static QString messageOf(const std::exception& error)
    {
        if (auto ours = dynamic_cast<const Exception*>(&error))
            return ours->message();
        return QString::fromUtf8(error.what());
    }
    static int helpContextOf(const std::exception& error)
    {
        if (auto ours = dynamic_cast<const Exception*>(&error))
            return ours->helpContext();
        return 0;
    }

private:
    QString m_message;
    int m_helpContext;
    std::string m_utf8;
};

} // namespace velmora
