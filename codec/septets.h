#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Default-alphabet packing: code k occupies bits 7k..7k+6 of a little-endian bit stream.
// Only the low seven bits of each code are packed, so a character above 127 cannot spill into
// its neighbour.

// A count octet followed by the packed codes. At most 255 codes, as many as the count octet
// can state, are packed; callers keep to 160.
std::string PackSeptets(std::string_view codes);
// A count octet, then that many codes unpacked, stopping early when the octets run out.
std::string UnpackSeptets(std::string_view countAndOctets);

// The same bit stream without a count octet, for fields that carry no count of their own.
std::string PackSeptetBits(std::string_view codes);
std::string UnpackSeptetBits(std::string_view octets, size_t count);
