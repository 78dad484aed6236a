#pragma once
#include <string>
#include <string_view>

// The GSM 7-bit default alphabet and ISO 8859-1. Septet codes travel in 8-bit strings, one
// code per character; an escape (27) followed by a code stands for one extension character.

constexpr char kSeptetEscape = 27;

// Characters without a place in the alphabet (the grave accent, most control characters,
// most accented letters) are dropped.
std::string ISOToSMS(std::string_view text);
std::string SMSToISO(std::string_view codes);
