#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

// The GSM 7-bit default alphabet against the 8-bit code page (Windows-1252, so the euro sign is
// 0x80). Characters of the extension table become the escape septet 0x1B and their code;
// characters the alphabet lacks become "?".
std::string IsoToGsm(std::string_view text);
// Septet values back to 8-bit text; Greek capitals and unknown extension codes become "?".
std::string GsmToIso(std::string_view septets);

// Packs septet values (0-127) after fillBits leading zero bits, low bits first.
std::string PackSeptets(std::string_view septets, int fillBits = 0);
// Unpacks count septets that follow fillBits bits; septets beyond the octets read as missing.
std::string UnpackSeptets(std::string_view octets, size_t count, int fillBits = 0);

}  // namespace sim
