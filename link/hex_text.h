#pragma once
#include <string>
#include <string_view>

// Two upper-case hexadecimal digits per byte: "\x00\xAB" -> "00AB".
std::string BytesToHex(std::string_view bytes);

// Pairs of hexadecimal digits, either case, back to bytes; a last single digit becomes one byte
// of value 0-15. A pair that is not hexadecimal raises EConvertError
// "'%s' is not a valid integer value" with the pair and its "$" prefix.
std::string HexToBytes(std::string_view text);

// Upper-cases "a"-"z" only; every other byte passes unchanged.
std::string UpperCaseAscii(std::string_view text);
