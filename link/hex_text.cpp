#include "link/hex_text.h"

#include "platform/sys/str_to_int.h"

std::string BytesToHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.resize(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto octet = static_cast<unsigned char>(bytes[i]);
        text[2 * i] = kDigits[octet >> 4];
        text[2 * i + 1] = kDigits[octet & 0x0F];
    }
    return text;
}

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string HexToBytes(std::string_view text)
{
    std::string bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        // Whole pairs are read directly, as PDU streams are long; the number parser takes the
        // rest, so a last single digit and the error text stay its own.
        const int high = HexDigit(text[i]);
        const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (high >= 0 && low >= 0) {
            bytes.push_back(static_cast<char>(high << 4 | low));
            continue;
        }
        std::string pair = "$";
        pair.append(text.substr(i, 2));
        bytes.push_back(static_cast<char>(StrToInt(pair)));
    }
    return bytes;
}

std::string UpperCaseAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}
