#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/octet_reader.h"
#include "platform/sys/date_time.h"

// Signed count of quarter hours east of UTC, -79..+79.
using TTimeZone = int8_t;

// Two decimal digits in one octet, tens in the low half: 45 -> 0x54.
uint8_t IntToSwappedBCD(uint8_t value);
uint8_t SwappedBCDToInt(uint8_t octet);

// Six octets: year mod 100, month, day, hour, minute, second; milliseconds are dropped.
std::string EncodeTimeStamp(TDateTime value);
// Years 00-49 are 20xx, 50-99 are 19xx. Invalid fields raise the date or time encode errors.
TDateTime DecodeTimeStamp(std::string_view sixOctets);

// The date-time of decoded time stamp fields, with the same century rule.
TDateTime TimeStampToDateTime(int yy, int month, int day, int hour, int minute, int second);

// The sign is bit 3, the first bit of the tens semi-octet.
uint8_t EncodeTimeZone(TTimeZone zone);
TTimeZone DecodeTimeZone(uint8_t octet);

struct TZonedTime {
    TDateTime value = 0;
    TTimeZone zone = 0;
};

// A TPDU time stamp: the six octets of the time, then its zone.
void AppendZonedTimeStamp(std::string& octets, TDateTime value, TTimeZone zone);
TZonedTime ReadZonedTimeStamp(OctetReader& reader, const char* field);
