#include "link/comm_error.h"

#include <cerrno>
#include <cstring>

#include "platform/sys/format.h"

void RaiseCommError(int errorCode, const char* function)
{
    throw EComError(Format("Error %d %s in function: %s", errorCode, std::strerror(errorCode), function));
}

void RaiseLastCommError(const char* function)
{
    RaiseCommError(errno, function);
}
