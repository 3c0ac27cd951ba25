#include "platform/system_identity.h"

#include <pwd.h>
#include <unistd.h>

namespace velmora::platform {

QString computerName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return QString::fromLocal8Bit(buffer);
}

QString userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace velmora::platform
