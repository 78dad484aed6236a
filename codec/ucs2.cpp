#include "codec/ucs2.h"

#include <cstdint>

std::string WideToUCS2(std::u16string_view text)
{
    std::string octets;
    octets.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        octets.push_back(static_cast<char>(unit >> 8));
        octets.push_back(static_cast<char>(unit & 0xFF));
    }
    return octets;
}

std::u16string UCS2ToWide(std::string_view octets)
{
    std::u16string text;
    text.reserve(octets.size() / 2);
    for (size_t i = 0; i + 1 < octets.size(); i += 2)
        text.push_back(static_cast<char16_t>((static_cast<uint8_t>(octets[i]) << 8) |
                                             static_cast<uint8_t>(octets[i + 1])));
    return text;
}
