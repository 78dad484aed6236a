#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Class ids, interface ids and library ids: 128 bits in the registry form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b)
    {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;

inline constexpr GUID GUID_NULL{};

namespace guid_detail {

constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Offsets of the 16 octets inside "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
inline constexpr int kOctetOffsets[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
inline constexpr int kDashOffsets[4] = {9, 14, 19, 24};
inline constexpr size_t kTextLength = 38;

constexpr bool Parse(std::string_view text, GUID& out)
{
    if (text.size() != kTextLength || text.front() != '{' || text.back() != '}')
        return false;
    for (int dash : kDashOffsets)
        if (text[dash] != '-')
            return false;
    uint8_t octets[16] = {};
    for (int i = 0; i < 16; ++i) {
        int high = HexDigit(text[kOctetOffsets[i]]);
        int low = HexDigit(text[kOctetOffsets[i] + 1]);
        if (high < 0 || low < 0)
            return false;
        octets[i] = static_cast<uint8_t>(high << 4 | low);
    }
    out.Data1 = uint32_t(octets[0]) << 24 | uint32_t(octets[1]) << 16 | uint32_t(octets[2]) << 8 | octets[3];
    out.Data2 = static_cast<uint16_t>(octets[4] << 8 | octets[5]);
    out.Data3 = static_cast<uint16_t>(octets[6] << 8 | octets[7]);
    for (int i = 0; i < 8; ++i)
        out.Data4[i] = octets[8 + i];
    return true;
}

} // namespace guid_detail

// For identifiers written in the source: a malformed text stops the compilation.
consteval GUID MakeGuid(std::string_view text)
{
    GUID guid{};
    if (!guid_detail::Parse(text, guid))
        throw "malformed GUID text";
    return guid;
}

// Accepts the registry form only, either case.
bool TryParseGuid(std::string_view text, GUID& guid);

// Upper-case registry form.
std::string GuidToString(const GUID& guid);
