#pragma once
#include <string>
#include <string_view>

#include "platform/com/dispatch.h"

// The terminal speaks UTF-8; automation strings are UTF-16.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// "2026-12-11 14:50:07"
std::string FormatDate(DATE value);
