#pragma once
#include "platform/sys/exception.h"

// The engine's failure class, raised by the codec too ("Bad UDH", "Bad equipment name"). It lives
// here because the engine builds on the codec, not the other way round.
class EGSMError : public Exception {
public:
    using Exception::Exception;
};
