#pragma once
// Conversions of settings texts to numbers and booleans, accepting what the
// suite has always written ("True", "-1", "1", "0", "False").

#include <QString>

namespace velmora {

// Decimal with an optional sign, or hexadecimal after "$" or "0x"; blanks
// around are ignored. Raises velmora::Exception for anything else and for a
// number beyond 32 bits.
int textToInteger(const QString& text);

// "True"/"False" in any case; otherwise an integer text, any value but 0
// meaning true. Raises velmora::Exception for anything else.
bool textToBool(const QString& text);

} // namespace velmora
