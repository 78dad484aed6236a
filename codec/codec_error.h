#pragma once
#include "link/comm_error.h"

// The engine's failure class, raised by the codec too ("Bad UDH", "Bad equipment name"). It
// lives here because the engine builds on the codec, not the other way round; it continues the
// chain of the serial link, so an EConnectError handler catches the engine's failures too.
class EGSMError : public EComError {
public:
    using EComError::EComError;
};
