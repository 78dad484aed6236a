#pragma once
// Every failure of the engine is an EGSMError (an EComError, so an EConnectError handler
// catches the whole serial link and engine); the codec raises it too.
#include "codec/codec_error.h"
