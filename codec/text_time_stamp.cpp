#include "codec/text_time_stamp.h"

#include <algorithm>
#include <cstdlib>

#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr uint32_t kMaxNumber = 0xFFFF;
constexpr size_t kZoneChars = 3;  // sign and two digits
constexpr int kZoneLimit = 99;  // what a sign and two digits can hold

}  // namespace

std::string FormatTextTimeStamp(TDateTime value, TTimeZone zone)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    return Format("%.2d/%.2d/%.2d,%.2d:%.2d:%.2d%s%.2d", year % 100, month, day, hour, minute, second,
                  zone < 0 ? "-" : "+", std::abs(zone));
}

uint16_t ScanNumber(std::string_view text, size_t& pos)
{
    uint32_t number = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        number = number * 10 + static_cast<uint32_t>(text[pos] - '0');
        if (number > kMaxNumber)
            number = kMaxNumber;
    }
    ++pos;
    return static_cast<uint16_t>(number);
}

TZonedTime ParseTextTimeStamp(std::string_view text)
{
    size_t pos = 0;
    uint16_t fields[6];
    for (uint16_t& field : fields)
        field = ScanNumber(text, pos);
    const TDateTime value =
        TimeStampToDateTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
    // The zone starts at the separator after the seconds, which the last scan stepped over.
    const std::string_view zoneText = text.substr(std::min(pos - 1, text.size()), kZoneChars);
    const int zone = StrToInt(zoneText);
    // The number parser also reads "$FF"; refuse what no zone can be rather than wrap it.
    if (zone < -kZoneLimit || zone > kZoneLimit)
        throw EConvertError(Format("'%s' is not a valid integer value", std::string(zoneText).c_str()));
    return {value, static_cast<TTimeZone>(zone)};
}
