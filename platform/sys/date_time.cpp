#include "platform/sys/date_time.h"

#include <cmath>
#include <ctime>
#include <sys/time.h>

#include "platform/sys/exception.h"

namespace {

// 30 December 1899 counted from 1 January of year 1 as day 1.
constexpr int64_t kDateDelta = 693594;
constexpr int64_t kMSecs = 86400000;

struct Stamp {
    int64_t days;  // since 1 January of year 1, that day being 1
    int64_t msec;  // of the day
};

Stamp ToStamp(TDateTime value)
{
    const double whole = std::trunc(value);
    int64_t days = static_cast<int64_t>(whole);
    int64_t msec = std::llround(std::fabs(value - whole) * kMSecsPerDay);
    if (msec >= kMSecs) {
        msec -= kMSecs;
        days += value < 0 ? -1 : 1;
    }
    return {days + kDateDelta, msec};
}

}  // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    int64_t days = day;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    const int64_t y = year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    value = static_cast<double>(days - kDateDelta);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || msec < 0 ||
        msec >= 1000)
        return false;
    value = (((hour * 60 + minute) * 60 + second) * 1000.0 + msec) / kMSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime value;
    if (!TryEncodeDate(year, month, day, value))
        throw EConvertError("Invalid argument to date encode");
    return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime value;
    if (!TryEncodeTime(hour, minute, second, msec, value))
        throw EConvertError("Invalid argument to time encode");
    return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    int64_t n = ToStamp(value).days - 1;  // days since 1 January of year 1, from 0
    if (n < 0) {
        year = month = day = 0;
        return;
    }
    constexpr int64_t kD1 = 365, kD4 = kD1 * 4 + 1, kD100 = kD4 * 25 - 1, kD400 = kD100 * 4 + 1;
    int64_t y = 1;
    y += (n / kD400) * 400;
    n %= kD400;
    int64_t i = n / kD100;
    int64_t d = n % kD100;
    if (i == 4) {
        --i;
        d += kD100;
    }
    y += i * 100;
    y += (d / kD4) * 4;
    d %= kD4;
    i = d / kD1;
    d %= kD1;
    if (i == 4) {
        --i;
        d += kD1;
    }
    y += i;
    year = static_cast<int>(y);
    month = 1;
    while (d >= DaysInMonth(year, month)) {
        d -= DaysInMonth(year, month);
        ++month;
    }
    day = static_cast<int>(d) + 1;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    int64_t ms = ToStamp(value).msec;
    msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    second = static_cast<int>(ms % 60);
    ms /= 60;
    minute = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

TDateTime Now()
{
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm local{};
    const time_t seconds = tv.tv_sec;
    localtime_r(&seconds, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(tv.tv_usec / 1000));
}
