#pragma once
#include <cstdint>
#include <string>

#include "codec/text_time_stamp.h"
#include "modem/at_response.h"
#include "platform/sys/str_to_int.h"

// The parameters of a text-mode header (+CMGR:, +CMGL:, +CMT:, +CDS:, +CBM:), read one after
// the other from a running position. Integers use the platform's strict conversion, so a
// malformed header raises; fields that are octets in the message keep the low 8 bits.
class TTextParams {
public:
    explicit TTextParams(std::string text, int pos = 1) : text_(std::move(text)), pos_(pos) {}

    std::string Text() { return ExtractParam(text_, pos_); }
    std::string Unquoted() { return TrimQuotes(Text()); }
    int Integer() { return StrToInt(Text()); }
    uint8_t Octet() { return static_cast<uint8_t>(Integer()); }
    TZonedTime TimeStamp() { return ParseTextTimeStamp(Unquoted()); }
    void Skip(int count = 1)
    {
        while (count-- > 0)
            Text();
    }
    // Whether the position is still inside the text: the optional parameters follow.
    bool More() const { return pos_ <= static_cast<int>(text_.size()); }

private:
    std::string text_;
    int pos_;
};
