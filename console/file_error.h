#pragma once
#include "platform/sys/exception.h"

// A log file that cannot be created, opened or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};
