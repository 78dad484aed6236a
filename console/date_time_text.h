#pragma once
#include <string>

#include "platform/sys/date_time.h"

// An automation date as the user's locale writes it: the short date, a blank and the long time
// (without a time zone, which the value does not carry); exactly midnight gives the date alone.
std::string DateTimeToStr(TDateTime value);
