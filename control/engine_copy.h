#pragma once
#include <memory>

#include "control/celvane_tlb.h"

class TGSM;

// A private engine that is never opened, carrying the Equipment and SCA of the given control:
// the owner of a client's message, so its PDU is read and written the way that control's
// device exchanges PDUs. None for no control; a failing read of the control raises
// EOleSysError with its description.
std::unique_ptr<TGSM> MakeEngineCopy(ICelvane* control);
