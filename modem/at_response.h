#pragma once
#include <bitset>
#include <string>
#include <string_view>

// Pure functions that take AT replies apart. Positions count from 1, as the callers' loops do;
// none of them fails: text of an unexpected shape gives an empty or unchanged result.

using TByteSet = std::bitset<256>;

// "+NAME: ..." or "^NAME: ...": a leading "+" or "^" and a ": " somewhere.
bool IsATResponse(std::string_view s);

// The text after the first ": " of an information response, trimmed; other text unchanged.
std::string StripATResponse(std::string_view s);

// One comma-separated parameter from pos, quotes and parentheses respected and kept, trimmed;
// pos moves past the stopping comma, or past the end. From past the end: empty, pos unchanged.
std::string ExtractParam(std::string_view s, int& pos);

// Every double quote at the start and every one at the end removed.
std::string TrimQuotes(std::string_view s);

// The next parameter read as a value list such as "(0-3,5)"; values above 255 are left out.
TByteSet ParseRangeList(std::string_view s, int& pos);
