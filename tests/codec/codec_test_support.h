#pragma once
#include <string>
#include <string_view>

#include "codec/sms_owner.h"
#include "link/hex_text.h"
#include "platform/sys/date_time.h"

// Hexadecimal written as octet dumps usually are, in spaced octets: "00 01 F5" -> "0001F5".
inline std::string Compact(std::string_view spaced)
{
    std::string text;
    for (const char c : spaced)
        if (c != ' ')
            text.push_back(c);
    return text;
}

inline std::string Octets(std::string_view spaced)
{
    return HexToBytes(Compact(spaced));
}

// An engine as the codec sees it: a device model with or without a service centre field.
struct FakeOwner : TSMSOwner {
    FakeOwner(bool hasSCA, std::string sca) : hasSCA(hasSCA), sca(std::move(sca)) {}
    bool PDUHasSCA() const override { return hasSCA; }
    std::string SCA() const override { return sca; }
    bool hasSCA;
    std::string sca;
};

inline TDateTime At(int year, int month, int day, int hour, int minute, int second)
{
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, 0);
}
