// Arbitrary text into the AT response helpers and the error text builder.
//
// Input: one byte giving a start position (as a signed number, so positions before the text
// and past its end are tried too), then the text; for ReturnedErrorText the text is split at
// its first NUL byte into the result line and the command.
//
// Besides crashes and sanitizer reports, a find is a result that breaks what the helpers
// promise: parameters walked in order without a position going backwards or standing still,
// results never longer than their input, unchanged text where the shape does not fit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "modem/at_response.h"
#include "modem/error_texts.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool Contains(std::string_view haystack, std::string_view needle)
{
    return haystack.find(needle) != std::string_view::npos;
}

// Every parameter from position 1 on: each call moves the position on, the parameters come
// out trimmed, and they are pieces of the text.
void WalkParams(std::string_view s)
{
    int pos = 1;
    while (pos <= static_cast<int>(s.size())) {
        const int before = pos;
        const std::string param = ExtractParam(s, pos);
        Require(pos > before && pos <= static_cast<int>(s.size()) + 1);
        Require(param.empty() || (!IsTrimmed(param.front()) && !IsTrimmed(param.back())));
        Require(Contains(s.substr(static_cast<size_t>(before) - 1), param));
    }
}

void WalkRanges(std::string_view s)
{
    int pos = 1;
    while (pos <= static_cast<int>(s.size())) {
        const int before = pos;
        int extractPos = pos;
        ExtractParam(s, extractPos);
        ParseRangeList(s, pos);
        Require(pos == extractPos && pos > before);
    }
}

// From any position, inside the text or not.
void FromPosition(std::string_view s, int start)
{
    int pos = start;
    const std::string param = ExtractParam(s, pos);
    if (start < 1 || start > static_cast<int>(s.size()))
        Require(param.empty() && pos == start);
    else
        Require(pos > start && pos <= static_cast<int>(s.size()) + 1);
    pos = start;
    ParseRangeList(s, pos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int start = static_cast<int8_t>(data[0]);
    const std::string_view s(reinterpret_cast<const char*>(data + 1), size - 1);

    const bool response = IsATResponse(s);
    const std::string stripped = StripATResponse(s);
    if (!response)
        Require(stripped == s);
    else
        Require(stripped.size() + 2 <= s.size() && Contains(s, stripped));

    const std::string unquoted = TrimQuotes(s);
    Require(unquoted.size() <= s.size() && Contains(s, unquoted));
    Require(unquoted.empty() || (unquoted.front() != '"' && unquoted.back() != '"'));

    WalkParams(s);
    WalkRanges(s);
    FromPosition(s, start);

    const size_t split = s.find('\0');
    const std::string_view line = s.substr(0, split);
    const std::string_view command = split == std::string_view::npos ? std::string_view() : s.substr(split + 1);
    const std::string text = ReturnedErrorText(line, command);
    Require(text.starts_with(line));
    Require(text.ends_with(std::string(" was returned on AT command: ") + std::string(command)));
    return 0;
}
