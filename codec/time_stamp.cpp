#include "codec/time_stamp.h"

#include <cstdlib>

#include "platform/sys/exception.h"

namespace {

constexpr uint8_t kLowHalf = 0x0F;
constexpr uint8_t kZoneNegative = 0x08;
constexpr uint8_t kZoneTens = 0x07;
constexpr int kTimeStampOctets = 6;
constexpr int kCenturyPivot = 50;

}  // namespace

uint8_t IntToSwappedBCD(uint8_t value)
{
    return static_cast<uint8_t>(((value % 10) << 4) + ((value / 10) & kLowHalf));
}

uint8_t SwappedBCDToInt(uint8_t octet)
{
    return static_cast<uint8_t>((octet & kLowHalf) * 10 + (octet >> 4));
}

std::string EncodeTimeStamp(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    const int fields[kTimeStampOctets] = {year % 100, month, day, hour, minute, second};
    std::string octets;
    for (const int field : fields)
        octets.push_back(static_cast<char>(IntToSwappedBCD(static_cast<uint8_t>(field))));
    return octets;
}

TDateTime DecodeTimeStamp(std::string_view sixOctets)
{
    if (sixOctets.size() < kTimeStampOctets)
        throw EConvertError("PDU too short for time stamp");
    int fields[kTimeStampOctets];
    for (int i = 0; i < kTimeStampOctets; ++i)
        fields[i] = SwappedBCDToInt(static_cast<uint8_t>(sixOctets[i]));
    return TimeStampToDateTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
}

TDateTime TimeStampToDateTime(int yy, int month, int day, int hour, int minute, int second)
{
    const int year = yy < kCenturyPivot ? 2000 + yy : 1900 + yy;
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, 0);
}

uint8_t EncodeTimeZone(TTimeZone zone)
{
    const int magnitude = std::abs(zone);
    uint8_t octet = static_cast<uint8_t>(((magnitude % 10) << 4) + magnitude / 10);
    if (zone < 0)
        octet |= kZoneNegative;
    return octet;
}

TTimeZone DecodeTimeZone(uint8_t octet)
{
    const int magnitude = (octet & kZoneTens) * 10 + (octet >> 4);
    return static_cast<TTimeZone>((octet & kZoneNegative) ? -magnitude : magnitude);
}

void AppendZonedTimeStamp(std::string& octets, TDateTime value, TTimeZone zone)
{
    octets += EncodeTimeStamp(value);
    octets.push_back(static_cast<char>(EncodeTimeZone(zone)));
}

TZonedTime ReadZonedTimeStamp(OctetReader& reader, const char* field)
{
    const TDateTime value = DecodeTimeStamp(reader.Octets(kTimeStampOctets, field));
    return {value, DecodeTimeZone(reader.Octet(field))};
}
