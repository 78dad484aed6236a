#include "platform/sys/str_to_int.h"

#include <cstdint>
#include <string>

#include "platform/sys/exception.h"
#include "platform/sys/format.h"

bool TryStrToInt(std::string_view text, int& value)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    }
    if (i == text.size())
        return false;
    // Hexadecimal text names a bit pattern: "$FFFFFFFF" is -1, as the platform reads it.
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + digit;
        if (magnitude > limit)
            return false;
    }
    const int64_t signedValue = hex ? static_cast<int32_t>(static_cast<uint32_t>(magnitude))
                                    : static_cast<int64_t>(magnitude);
    value = static_cast<int>(negative ? -signedValue : signedValue);
    return true;
}

int StrToInt(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(Format("'%s' is not a valid integer value", std::string(text).c_str()));
    return value;
}
