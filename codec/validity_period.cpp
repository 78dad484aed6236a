#include "codec/validity_period.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int64_t kMinute = 60 * 1000;  // spans are counted in whole milliseconds
constexpr int64_t kFiveMinutes = 5 * kMinute;
constexpr int64_t kHalfHour = 30 * kMinute;
constexpr int64_t kTwelveHours = 12 * 60 * kMinute;
constexpr int64_t kDay = 24 * 60 * kMinute;
constexpr int64_t kWeek = 7 * kDay;

constexpr uint8_t kLastFiveMinutes = 143;
constexpr uint8_t kLastHalfHour = 167;
constexpr uint8_t kDayBase = 166;  // 168 is 2 days
constexpr uint8_t kLastDay = 196;
constexpr uint8_t kWeekBase = 192;  // 197 is 5 weeks
constexpr uint8_t kLongest = 255;
constexpr double kLongestDays = 441;

constexpr double kDaysPerFiveMinutes = 5.0 / 1440;
constexpr double kDaysPerHalfHour = 1.0 / 48;
constexpr double kHalfDay = 0.5;

}  // namespace

uint8_t DTToValPer(TDateTime span)
{
    if (!(span > 0))
        return 0;
    if (span > kLongestDays)
        return kLongest;
    // Milliseconds are never coded: quantise first, so that a span read from an octet (a double
    // a hair below its exact value) gives that octet back, while a span a millisecond short of
    // a step still falls to the step below.
    const int64_t ms = std::llround(span * kMSecsPerDay);
    if (ms < kFiveMinutes)
        return 0;
    if (ms < kTwelveHours + kHalfHour)
        return static_cast<uint8_t>(std::min<int64_t>(ms / kFiveMinutes - 1, kLastFiveMinutes));
    if (ms < 2 * kDay)
        return static_cast<uint8_t>(
            std::min<int64_t>((ms - kTwelveHours) / kHalfHour + kLastFiveMinutes, kLastHalfHour));
    if (ms < 35 * kDay)
        return static_cast<uint8_t>(std::min<int64_t>(ms / kDay + kDayBase, kLastDay));
    return static_cast<uint8_t>(std::min<int64_t>(ms / kWeek + kWeekBase, kLongest));
}

TDateTime ValPerToDT(uint8_t octet)
{
    if (octet <= kLastFiveMinutes)
        return (octet + 1) * kDaysPerFiveMinutes;
    if (octet <= kLastHalfHour)
        return (octet - kLastFiveMinutes) * kDaysPerHalfHour + kHalfDay;
    if (octet <= kLastDay)
        return static_cast<double>(octet - kDayBase);
    return (octet - kWeekBase) * 7.0;
}
