#pragma once
#include <string>
#include <string_view>

// Terminals speak UTF-8; the codec's 8-bit text is ISO 8859-1 with the euro sign at 0x80, as
// in the system's code page.

std::string Latin1ToUtf8(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Raise std::invalid_argument for malformed UTF-8 or, for Latin-1, a character it lacks.
std::string Utf8ToLatin1(std::string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
