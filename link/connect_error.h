#pragma once
#include "platform/sys/exception.h"

// Every failure of the serial link and of the engine above it: "Connection is active",
// "Connection is inactive", and those of the derived classes.
class EConnectError : public Exception {
public:
    using Exception::Exception;
};
