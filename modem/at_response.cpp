#include "modem/at_response.h"

namespace {

// Blanks and control characters, as the platform's Trim removes them.
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(std::string_view s)
{
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsTrimmed(s[begin]))
        ++begin;
    while (end > begin && IsTrimmed(s[end - 1]))
        --end;
    return std::string(s.substr(begin, end - begin));
}

}  // namespace

bool IsATResponse(std::string_view s)
{
    return !s.empty() && (s[0] == '+' || s[0] == '^') && s.find(": ") != std::string_view::npos;
}

std::string StripATResponse(std::string_view s)
{
    if (!IsATResponse(s))
        return std::string(s);
    return Trim(s.substr(s.find(": ") + 2));
}

std::string ExtractParam(std::string_view s, int& pos)
{
    if (pos < 1 || static_cast<size_t>(pos) > s.size())
        return {};
    const size_t start = static_cast<size_t>(pos) - 1;
    bool quoted = false;
    int depth = 0;
    size_t i = start;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (c == ',' && !quoted && depth == 0)
            break;
    }
    pos = static_cast<int>(i < s.size() ? i + 2 : s.size() + 1);  // past the comma, or past the end
    return Trim(s.substr(start, i - start));
}

std::string TrimQuotes(std::string_view s)
{
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && s[begin] == '"')
        ++begin;
    while (end > begin && s[end - 1] == '"')
        --end;
    return std::string(s.substr(begin, end - begin));
}

TByteSet ParseRangeList(std::string_view s, int& pos)
{
    // The closing ")" makes sure every number is followed by a non-digit.
    const std::string list = ExtractParam(s, pos) + ")";
    TByteSet values;
    unsigned previous = 0;
    bool rangeEnd = false;
    for (size_t i = 0; i < list.size();) {
        const char c = list[i];
        if (c < '0' || c > '9') {
            rangeEnd = c == '-';
            ++i;
            continue;
        }
        unsigned n = 0;
        for (; list[i] >= '0' && list[i] <= '9'; ++i)
            n = n > 100000 ? n : n * 10 + static_cast<unsigned>(list[i] - '0');  // saturates above 255
        if (n <= 255)
            values.set(n);
        if (rangeEnd)
            for (unsigned v = previous; v < n && v <= 255; ++v)
                values.set(v);
        previous = n;
        rangeEnd = false;
    }
    return values;
}
