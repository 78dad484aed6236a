#pragma once
#include <cstdint>

#include "link/comm_types.h"

// Bits per second, indexed by TBaudrate.
extern const int32_t kBaudRates[15];

// Searches the table from br110 up; on a match stores the index and returns true, otherwise
// returns false and leaves index as it was.
bool Int2BaudRate(int32_t rate, TBaudrate& index);
// 0 for a value outside TBaudrate.
int32_t BaudRate2Int(TBaudrate index);
