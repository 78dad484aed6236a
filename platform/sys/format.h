#pragma once
#include <string>

// printf-style formatting into an 8-bit string, for the system's "%s %d %.2x" message texts.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
