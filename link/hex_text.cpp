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

std::string HexToBytes(std::string_view text)
{
    std::string bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
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
