#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/octet_reader.h"

// Types of address the codec writes and recognises; the text form carries the type as a
// leading "+" (international) or "#" (national).
constexpr uint8_t kTypeUnknown = 0x81;
constexpr uint8_t kTypeInternational = 0x91;
constexpr uint8_t kTypeNational = 0xA1;

// Digit count, type of address, digits in swapped pairs. Besides "0"-"9" the semi-octets
// 10-14 are accepted both as the standard's "*", "#", "a", "b", "c" and as the ":" to ">"
// that decoding produces for them; any other character raises EConvertError
// "'%s' is not a valid address", since it has no semi-octet to travel as.
std::string EncodeAddress(std::string_view address);

// Reads one address field; an alphanumeric type reads the value as default-alphabet text.
// field names the address in the error of a PDU that ends inside it.
std::string DecodeAddress(OctetReader& reader, const char* field);

// Reads the service centre field that may lead a PDU; an empty field stands for ownerSCA.
std::string DecodeSCA(OctetReader& reader, std::string_view ownerSCA);

// Text-mode replies give the type of address as a separate decimal number.
void ApplyTypeOfAddress(std::string& address, std::string_view typeText);
