#include "codec/address.h"

#include "codec/default_alphabet.h"
#include "codec/septets.h"
#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr uint8_t kTypeOfNumberMask = 0xF0;
constexpr uint8_t kAlphanumeric = 0xD0;  // type of number 101
constexpr uint8_t kLowHalf = 0x0F;
constexpr uint8_t kFiller = 0x0F;
constexpr size_t kMaxDigits = 255;  // what the digit count octet can state

struct Prefix {
    char mark;
    uint8_t type;
};
constexpr Prefix kPrefixes[] = {{'+', kTypeInternational}, {'#', kTypeNational}};

// Semi-octets 10-14 by their standard characters.
constexpr char kExtraDigits[] = "*#abc";

int SemiOctet(char c)
{
    if (c >= '0' && c <= '>')  // "0"-"9", then ":" to ">" as decoding writes 10-14
        return c - '0';
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    for (int i = 0; kExtraDigits[i] != '\0'; ++i)
        if (kExtraDigits[i] == lower)
            return 10 + i;
    return -1;
}

std::string_view PrefixFor(uint8_t type)
{
    for (const Prefix& p : kPrefixes)
        if (p.type == type)
            return std::string_view(&p.mark, 1);
    return {};
}

void AppendDigit(std::string& text, int semiOctet)
{
    text.push_back(static_cast<char>('0' + semiOctet));
}

}  // namespace

std::string EncodeAddress(std::string_view address)
{
    uint8_t type = kTypeUnknown;
    std::string_view digits = address;
    for (const Prefix& p : kPrefixes)
        if (!address.empty() && address.front() == p.mark) {
            type = p.type;
            digits.remove_prefix(1);
            break;
        }
    if (digits.size() > kMaxDigits)
        throw EConvertError(Format("'%s' is not a valid address", std::string(address).c_str()));
    std::string octets;
    octets.reserve(2 + (digits.size() + 1) / 2);
    octets.push_back(static_cast<char>(digits.size()));
    octets.push_back(static_cast<char>(type));
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int low = SemiOctet(digits[i]);
        const int high = i + 1 < digits.size() ? SemiOctet(digits[i + 1]) : kFiller;
        if (low < 0 || high < 0)
            throw EConvertError(Format("'%s' is not a valid address", std::string(address).c_str()));
        octets.push_back(static_cast<char>((high << 4) | low));
    }
    return octets;
}

std::string DecodeAddress(OctetReader& reader, const char* field)
{
    const uint8_t digitCount = reader.Octet(field);
    const uint8_t type = reader.Octet(field);
    const std::string_view value = reader.Octets((digitCount + 1) / 2, field);
    if (digitCount == 0)
        return {};
    if ((type & kTypeOfNumberMask) == kAlphanumeric)
        return SMSToISO(UnpackSeptetBits(value, digitCount * 4 / 7));
    std::string text(PrefixFor(type));
    for (size_t i = 0; i < value.size(); ++i) {
        const auto octet = static_cast<uint8_t>(value[i]);
        AppendDigit(text, octet & kLowHalf);
        if (2 * i + 1 < digitCount)
            AppendDigit(text, octet >> 4);
    }
    return text;
}

std::string DecodeSCA(OctetReader& reader, std::string_view ownerSCA)
{
    const uint8_t length = reader.Octet("SCA");
    if (length == 0)
        return std::string(ownerSCA);
    const uint8_t type = reader.Octet("SCA");
    const std::string_view value = reader.Octets(length - 1, "SCA");
    std::string text(PrefixFor(type));
    for (const char c : value) {
        const auto octet = static_cast<uint8_t>(c);
        AppendDigit(text, octet & kLowHalf);
        if ((octet >> 4) != kFiller)
            AppendDigit(text, octet >> 4);
    }
    return text;
}

void ApplyTypeOfAddress(std::string& address, std::string_view typeText)
{
    int type = 0;
    if (!TryStrToInt(typeText, type))
        type = 0;
    if (type == kTypeInternational && address.find('+') == std::string::npos)
        address.insert(0, "+");
    else if (type == kTypeNational)
        address.insert(0, "#");
}
