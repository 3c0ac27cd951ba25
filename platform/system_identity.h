#pragma once
// The computer's and the logged-on user's names; empty when unreadable.

#include <QString>

namespace velmora::platform {

QString computerName();
QString userName();

} // namespace velmora::platform
