#pragma once
// The silent abort: raised to stop an operation (a post, a delete) without
// any message, and passed through by every handler that reports errors.

#include "platform/exception.h"

namespace velmora {

class AbortError : public Exception {
public:
    AbortError() : Exception(QStringLiteral("Operation aborted")) {}
};

[[noreturn]] inline void Abort()
{
    throw AbortError();
}

} // namespace velmora
