#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/time_stamp.h"

// The time stamp of text-mode replies: "yy/MM/dd,hh:mm:ss+zz", the zone in quarter hours.
std::string FormatTextTimeStamp(TDateTime value, TTimeZone zone);

// Missing fields read as 0, so a text without its date fails with "Invalid argument to date
// encode"; a missing or non-numeric zone fails with "'%s' is not a valid integer value".
TZonedTime ParseTextTimeStamp(std::string_view text);

// Reads the decimal digits from pos (0 when there are none), then steps over one separator.
// A number beyond 16 bits saturates at 65535, which no date field accepts.
uint16_t ScanNumber(std::string_view text, size_t& pos);
