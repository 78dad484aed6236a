#pragma once
#include "link/connect_error.h"

// A failed serial port call: "Error %d %s in function: %s" with the system's error code, its
// text and the name of the platform call the step stands for ("CreateFile", "SetCommState"...).
class EComError : public EConnectError {
public:
    using EConnectError::EConnectError;
};

[[noreturn]] void RaiseCommError(int errorCode, const char* function);
// With the calling thread's errno.
[[noreturn]] void RaiseLastCommError(const char* function);
