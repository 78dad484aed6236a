#pragma once
#include "control/celvane_tlb.h"

// The class factory body of TGlobal, the stateless helper object (IGlobal): codec and serial
// link functions a client needs without a control.
HRESULT CreateGlobal(const IID& iid, void** object);
