#pragma once
#include <string_view>

// The platform's strict string-to-integer conversion: optional leading blanks, an optional sign,
// then decimal digits or "$" followed by hexadecimal digits, and nothing after them. Anything
// else, or a value outside 32 bits, raises EConvertError "'%s' is not a valid integer value".
int StrToInt(std::string_view text);

// The same conversion reporting failure instead of raising.
bool TryStrToInt(std::string_view text, int& value);
