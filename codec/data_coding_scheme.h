#pragma once
#include <cstdint>

constexpr uint8_t kDCSAlphabetMask = 0x0C;

// User data travels as default-alphabet septets when bits 2 and 3 are clear, otherwise as plain
// octets (8-bit data and UCS2 alike). No other bit is consulted, for cell broadcast pages too.
constexpr bool IsDefaultAlphabet(uint8_t dcs)
{
    return (dcs & kDCSAlphabetMask) == 0;
}
