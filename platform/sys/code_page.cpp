#include "platform/sys/code_page.h"

#include <array>

namespace {

// 0x80..0x9F: the only range where Windows-1252 differs from ISO 8859-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
constexpr unsigned char kHighFirst = 0x80;
constexpr unsigned char kHighLast = 0x9F;

char16_t Widen(unsigned char byte)
{
    if (byte >= kHighFirst && byte <= kHighLast)
        return kHighControls[byte - kHighFirst];
    return byte;
}

char Narrow(char16_t unit)
{
    if (unit <= 0xFF && (unit < kHighFirst || unit > kHighLast))
        return static_cast<char>(unit);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == unit)
            return static_cast<char>(kHighFirst + i);
    return '?';
}

} // namespace

std::u16string WidenCP1252(std::string_view text)
{
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(Widen(static_cast<unsigned char>(c)));
    return wide;
}

std::string NarrowCP1252(std::u16string_view text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t unit : text)
        narrow.push_back(Narrow(unit));
    return narrow;
}
