#pragma once
// The control's block of the persisted property stream: seventeen fields in a fixed order,
// without signature, version or length. Integers and booleans are 32 bits little-endian (true
// as -1), strings a 16-bit length and their bytes in the system's 8-bit code page.
#include "control/celvane_tlb.h"
#include "platform/sys/stream.h"

// Reads every property through the control's interface; a failing member stops the save
// with its error (EOleSysError).
void SaveProperties(ICelvane& control, TStream& stream);

// Passes each field at once to the control's setter. The first field that cannot be read or
// that a setter refuses ends the load without an error: the rest keep their values. Returns
// the number of fields taken.
int LoadProperties(ICelvane& control, TStream& stream);
