#pragma once
#include <cstdint>

#include "link/comm_types.h"

// The platform's line-event mask bits, as the event thread reports them.
constexpr uint32_t kEvRxChar = 0x0001;
constexpr uint32_t kEvRxFlag = 0x0002;
constexpr uint32_t kEvTxEmpty = 0x0004;
constexpr uint32_t kEvCts = 0x0008;
constexpr uint32_t kEvDsr = 0x0010;
constexpr uint32_t kEvRlsd = 0x0020;
constexpr uint32_t kEvBreak = 0x0040;
constexpr uint32_t kEvErr = 0x0080;
constexpr uint32_t kEvRing = 0x0100;

// The platform's line error flags, as OnError passes them.
constexpr uint32_t kCeRxOver = 0x0001;
constexpr uint32_t kCeOverrun = 0x0002;
constexpr uint32_t kCeRxParity = 0x0004;
constexpr uint32_t kCeFrame = 0x0008;
constexpr uint32_t kCeBreak = 0x0010;
constexpr uint32_t kCeTxFull = 0x0100;

// Member by member: evBreak -> kEvBreak, evCts -> kEvCts, ...
uint32_t PlatformEventMask(TCommEventTypes events);
