#pragma once
#include <string>

#include "platform/com/hresult.h"
#include "platform/sys/exception.h"

// A failure status from the object model seen as an exception; member bodies that catch it
// return its code as it is.
class EOleSysError : public Exception {
public:
    EOleSysError(HRESULT code, std::string message) : Exception(std::move(message)), code_(code) {}
    HRESULT ErrorCode() const { return code_; }

private:
    HRESULT code_;
};

// The platform's text for a status code: "Type mismatch", "Unspecified error", ...
std::string StatusText(HRESULT code);

// Raises EOleSysError for a failure, with the thread's error description when there is one.
void OleCheck(HRESULT code);
