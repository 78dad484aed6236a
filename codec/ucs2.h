#pragma once
#include <string>
#include <string_view>

// UCS2 text as octet pairs, high octet first, without a byte-order mark.
std::string WideToUCS2(std::u16string_view text);
// An odd last octet is ignored.
std::u16string UCS2ToWide(std::string_view octets);
