#include "console/render_ud.h"

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// The console links no engine library, so it spells the digits itself.
std::string Hex(const std::string& bytes)
{
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0x0F];
    }
    return hex;
}

}  // namespace

std::string RenderUD(const std::string& text)
{
    std::string rendered;
    for (char ch : text) {
        if (ch == kCarriageReturn)
            rendered += "<CR>";
        else if (ch == kLineFeed)
            rendered += "<LF>";
        else if (static_cast<unsigned char>(ch) >= kFirstPrintable)
            rendered += ch;
        else
            return Hex(text);
    }
    return rendered;
}
