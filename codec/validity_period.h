#pragma once
#include <cstdint>

#include "platform/sys/date_time.h"

// The relative validity period octet and the span in days it stands for:
// 0-143 five-minute steps, 144-167 half hours after 12 hours, 168-196 days, 197-255 weeks.

// The largest octet whose span does not exceed the given one; 0 below 5 minutes, 255 above
// 441 days. Never fails.
uint8_t DTToValPer(TDateTime span);
TDateTime ValPerToDT(uint8_t octet);
