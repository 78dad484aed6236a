#pragma once
#include <cstdint>

// The automation date: days since 30 December 1899, the fraction being the time of day.
// Negative values count back from that day with the fraction still the time of day.
using TDateTime = double;

constexpr double kMSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode"
// for a field outside its range (year 1–9999, month 1–12, day of the month; hour < 24,
// minute and second < 60, millisecond < 1000).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value);

// Decoding rounds to whole milliseconds, as the platform does.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// Local wall-clock time as an automation date.
TDateTime Now();
