#include "sim/tpdu.h"

#include <cstdio>
#include <ctime>

#include "sim/gsm_alphabet.h"
#include "sim/octet_cursor.h"

namespace sim {

namespace {

constexpr uint8_t kDcsGroupMask = 0xF0;
constexpr uint8_t kDcsGeneralMask = 0x80;   // groups 00xx and 01xx: general data coding
constexpr uint8_t kDcsClassPresent = 0x10;
constexpr uint8_t kDcsAlphabetMask = 0x0C;
constexpr uint8_t kDcsClassMask = 0x03;
constexpr uint8_t kDcsUcs2Group = 0xE0;
constexpr uint8_t kDcsDataGroup = 0xF0;
constexpr uint8_t kDcsDataEightBit = 0x04;
constexpr uint8_t kTimeZoneNegative = 0x08;
constexpr uint8_t kFillerDigit = 0x0F;
constexpr size_t kTimeStampLength = 7;
constexpr size_t kCellBroadcastContent = 82;
constexpr size_t kCellBroadcastSeptets = 93;
constexpr char kCarriageReturnSeptet = 0x0D;
constexpr std::string_view kSemiOctetDigits = "0123456789*#abc";

uint8_t SwappedBcd(int value)
{
    return static_cast<uint8_t>(((value % 10) << 4) | (value / 10 % 10));
}

int FromSwappedBcd(uint8_t octet)
{
    return (octet & 0x0F) * 10 + (octet >> 4);
}

size_t ValidityLength(uint8_t firstOctet)
{
    switch (firstOctet & kVpfMask) {
    case kVpfRelative: return 1;
    case kVpfAbsolute:
    case kVpfEnhanced: return 7;
    default: return 0;
    }
}

// Octets the user data occupies for its TP-UDL.
size_t UserDataOctets(uint8_t length, uint8_t dcs)
{
    return AlphabetOf(dcs) == TAlphabet::Default ? (length * 7 + 7) / 8 : length;
}

TUserData ReadUserData(TOctetCursor& cursor, uint8_t dcs)
{
    TUserData ud;
    ud.length = cursor.Octet("TP-UDL");
    const size_t limit = AlphabetOf(dcs) == TAlphabet::Default ? 160 : 140;
    if (ud.length > limit)
        throw EPduError("TP-UDL too large");
    ud.octets = std::string(cursor.Octets(UserDataOctets(ud.length, dcs), "TP-UD"));
    if (!cursor.AtEnd())
        throw EPduError("PDU longer than its TP-UDL");
    return ud;
}

TAddress ReadAddress(TOctetCursor& cursor, const char* field)
{
    const uint8_t digits = cursor.Octet(field);
    TAddress address;
    address.type = cursor.Octet(field);
    std::string_view value = cursor.Octets((digits + 1) / 2, field);
    if ((address.type & kToaNumberTypeMask) == kToaAlphanumeric) {
        address.digits = GsmToIso(UnpackSeptets(value, digits * 4 / 7));
        return address;
    }
    for (size_t i = 0; i < digits; ++i) {
        const uint8_t octet = static_cast<uint8_t>(value[i / 2]);
        const uint8_t digit = i % 2 ? octet >> 4 : octet & 0x0F;
        if (digit == kFillerDigit)
            break;
        address.digits += kSemiOctetDigits[digit];
    }
    return address;
}

uint8_t DigitValue(char c)
{
    const size_t value = kSemiOctetDigits.find(c >= 'A' && c <= 'C' ? c | 0x20 : c);
    return value == std::string_view::npos ? kFillerDigit : static_cast<uint8_t>(value);
}

std::string SemiOctets(const std::string& digits)
{
    std::string octets;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const uint8_t low = DigitValue(digits[i]);
        const uint8_t high = i + 1 < digits.size() ? DigitValue(digits[i + 1]) : kFillerDigit;
        octets += static_cast<char>(low | (high << 4));
    }
    return octets;
}

void AppendUserData(std::string& tpdu, const TUserData& ud)
{
    tpdu += static_cast<char>(ud.length);
    tpdu += ud.octets;
}

}  // namespace

TAlphabet AlphabetOf(uint8_t dcs)
{
    if ((dcs & kDcsGeneralMask) == 0) {
        switch (dcs & kDcsAlphabetMask) {
        case 0x04: return TAlphabet::EightBit;
        case 0x08: return TAlphabet::Ucs2;
        default: return TAlphabet::Default;
        }
    }
    if ((dcs & kDcsGroupMask) == kDcsUcs2Group)
        return TAlphabet::Ucs2;
    if ((dcs & kDcsGroupMask) == kDcsDataGroup && (dcs & kDcsDataEightBit))
        return TAlphabet::EightBit;
    return TAlphabet::Default;
}

int MessageClassOf(uint8_t dcs)
{
    if ((dcs & kDcsGeneralMask) == 0 && (dcs & kDcsClassPresent))
        return dcs & kDcsClassMask;
    if ((dcs & kDcsGroupMask) == kDcsDataGroup)
        return dcs & kDcsClassMask;
    return -1;
}

TAddress TAddress::FromText(std::string_view text)
{
    TAddress address;
    if (!text.empty() && text[0] == '+') {
        address.type = kToaInternational;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == '#') {
        address.type = kToaNational;
        text.remove_prefix(1);
    }
    address.digits = std::string(text);
    return address;
}

bool TAddress::IsValid() const
{
    if (digits.size() > 20)
        return false;
    for (char c : digits)
        if (DigitValue(c) == kFillerDigit)
            return false;
    return true;
}

std::string TAddress::Text() const
{
    return (type == kToaInternational ? "+" : "") + digits;
}

std::string EncodeAddressField(const TAddress& address)
{
    std::string field;
    field += static_cast<char>(address.digits.size());
    field += static_cast<char>(address.type);
    return field + SemiOctets(address.digits);
}

std::string EncodeServiceCentreField(const TAddress& address)
{
    if (address.digits.empty())
        return std::string(1, '\0');
    const std::string digits = SemiOctets(address.digits);
    std::string field;
    field += static_cast<char>(digits.size() + 1);
    field += static_cast<char>(address.type);
    return field + digits;
}

std::string CurrentTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string octets;
    for (int value : {local.tm_year % 100, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec})
        octets += static_cast<char>(SwappedBcd(value));
    const long quarters = local.tm_gmtoff / 900;
    uint8_t zone = SwappedBcd(static_cast<int>(quarters < 0 ? -quarters : quarters));
    if (quarters < 0)
        zone |= kTimeZoneNegative;
    octets += static_cast<char>(zone);
    return octets;
}

std::string TextTimeStamp(std::string_view octets)
{
    if (octets.size() != kTimeStampLength)
        return "";
    int fields[6];
    for (int i = 0; i < 6; ++i)
        fields[i] = FromSwappedBcd(static_cast<uint8_t>(octets[i]));
    const uint8_t zone = static_cast<uint8_t>(octets[6]);
    int quarters = FromSwappedBcd(zone & ~kTimeZoneNegative);
    if (zone & kTimeZoneNegative)
        quarters = -quarters;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d,%02d:%02d:%02d%c%02d", fields[0], fields[1],
                  fields[2], fields[3], fields[4], fields[5], quarters < 0 ? '-' : '+',
                  quarters < 0 ? -quarters : quarters);
    return text;
}

TUserData EncodeText(std::string_view text, uint8_t dcs)
{
    TUserData ud;
    if (AlphabetOf(dcs) == TAlphabet::Default) {
        const std::string septets = IsoToGsm(text);
        ud.length = static_cast<uint8_t>(septets.size());
        ud.octets = PackSeptets(septets);
    } else {
        ud.length = static_cast<uint8_t>(text.size());
        ud.octets = std::string(text);
    }
    return ud;
}

std::string DecodeText(const TUserData& ud, uint8_t dcs, bool hasHeader)
{
    size_t headerOctets = 0;
    if (hasHeader && !ud.octets.empty())
        headerOctets = static_cast<uint8_t>(ud.octets[0]) + 1u;
    if (headerOctets > ud.octets.size())
        headerOctets = ud.octets.size();
    if (AlphabetOf(dcs) != TAlphabet::Default)
        return ToHex(ud.octets.substr(headerOctets));
    const int fillBits = static_cast<int>((7 - headerOctets * 8 % 7) % 7);
    const size_t headerSeptets = (headerOctets * 8 + fillBits) / 7;
    const size_t count = ud.length > headerSeptets ? ud.length - headerSeptets : 0;
    return GsmToIso(UnpackSeptets(std::string_view(ud.octets).substr(headerOctets), count, fillBits));
}

TSubmit ParseSubmit(std::string_view tpdu)
{
    TOctetCursor cursor(tpdu);
    TSubmit submit;
    submit.firstOctet = cursor.Octet("TP-MTI");
    if ((submit.firstOctet & kMtiMask) != kMtiSubmit)
        throw EPduError("not an SMS-SUBMIT");
    submit.reference = cursor.Octet("TP-MR");
    submit.destination = ReadAddress(cursor, "TP-DA");
    submit.pid = cursor.Octet("TP-PID");
    submit.dcs = cursor.Octet("TP-DCS");
    submit.validity = std::string(cursor.Octets(ValidityLength(submit.firstOctet), "TP-VP"));
    submit.ud = ReadUserData(cursor, submit.dcs);
    return submit;
}

std::string BuildSubmit(const TSubmit& submit)
{
    std::string tpdu;
    tpdu += static_cast<char>(submit.firstOctet);
    tpdu += static_cast<char>(submit.reference);
    tpdu += EncodeAddressField(submit.destination);
    tpdu += static_cast<char>(submit.pid);
    tpdu += static_cast<char>(submit.dcs);
    tpdu += submit.validity;
    AppendUserData(tpdu, submit.ud);
    return tpdu;
}

std::string BuildDeliver(const TDeliver& deliver)
{
    std::string tpdu;
    tpdu += static_cast<char>(deliver.firstOctet);
    tpdu += EncodeAddressField(deliver.originator);
    tpdu += static_cast<char>(deliver.pid);
    tpdu += static_cast<char>(deliver.dcs);
    tpdu += deliver.timeStamp;
    AppendUserData(tpdu, deliver.ud);
    return tpdu;
}

TDeliver ParseDeliver(std::string_view tpdu)
{
    TOctetCursor cursor(tpdu);
    TDeliver deliver;
    deliver.firstOctet = cursor.Octet("TP-MTI");
    if ((deliver.firstOctet & kMtiMask) != kMtiDeliver)
        throw EPduError("not an SMS-DELIVER");
    deliver.originator = ReadAddress(cursor, "TP-OA");
    deliver.pid = cursor.Octet("TP-PID");
    deliver.dcs = cursor.Octet("TP-DCS");
    deliver.timeStamp = std::string(cursor.Octets(kTimeStampLength, "TP-SCTS"));
    deliver.ud = ReadUserData(cursor, deliver.dcs);
    return deliver;
}

std::string BuildStatusReport(const TStatusReport& report)
{
    std::string tpdu;
    tpdu += static_cast<char>(report.firstOctet);
    tpdu += static_cast<char>(report.reference);
    tpdu += EncodeAddressField(report.recipient);
    tpdu += report.serviceCentreTime;
    tpdu += report.dischargeTime;
    tpdu += static_cast<char>(report.status);
    return tpdu;
}

TStatusReport ParseStatusReport(std::string_view tpdu)
{
    TOctetCursor cursor(tpdu);
    TStatusReport report;
    report.firstOctet = cursor.Octet("TP-MTI");
    if ((report.firstOctet & kMtiMask) != kMtiStatusReportOrCommand)
        throw EPduError("not an SMS-STATUS-REPORT");
    report.reference = cursor.Octet("TP-MR");
    report.recipient = ReadAddress(cursor, "TP-RA");
    report.serviceCentreTime = std::string(cursor.Octets(kTimeStampLength, "TP-SCTS"));
    report.dischargeTime = std::string(cursor.Octets(kTimeStampLength, "TP-DT"));
    report.status = cursor.Octet("TP-ST");
    return report;
}

TCommand ParseCommand(std::string_view tpdu)
{
    TOctetCursor cursor(tpdu);
    TCommand command;
    command.firstOctet = cursor.Octet("TP-MTI");
    if ((command.firstOctet & kMtiMask) != kMtiStatusReportOrCommand)
        throw EPduError("not an SMS-COMMAND");
    command.reference = cursor.Octet("TP-MR");
    cursor.Octet("TP-PID");
    cursor.Octet("TP-CT");
    cursor.Octet("TP-MN");
    ReadAddress(cursor, "TP-DA");
    const uint8_t length = cursor.Octet("TP-CDL");
    cursor.Octets(length, "TP-CD");
    if (!cursor.AtEnd())
        throw EPduError("PDU longer than its TP-CDL");
    return command;
}

std::string BuildCellBroadcastPage(uint16_t serialNumber, uint16_t messageId, uint8_t dcs,
                                   int page, int pages, std::string_view text)
{
    std::string octets;
    octets += static_cast<char>(serialNumber >> 8);
    octets += static_cast<char>(serialNumber & 0xFF);
    octets += static_cast<char>(messageId >> 8);
    octets += static_cast<char>(messageId & 0xFF);
    octets += static_cast<char>(dcs);
    octets += static_cast<char>(((page & 0x0F) << 4) | (pages & 0x0F));
    std::string septets = IsoToGsm(text).substr(0, kCellBroadcastSeptets);
    septets.resize(kCellBroadcastSeptets, kCarriageReturnSeptet);
    octets += PackSeptets(septets).substr(0, kCellBroadcastContent);
    return octets;
}

bool ParseHex(std::string_view text, std::string& octets)
{
    if (text.size() % 2)
        return false;
    auto nibble = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    octets.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = nibble(text[i]);
        const int low = nibble(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        octets += static_cast<char>(high << 4 | low);
    }
    return true;
}

std::string ToHex(std::string_view octets)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (char c : octets) {
        text += kDigits[static_cast<uint8_t>(c) >> 4];
        text += kDigits[static_cast<uint8_t>(c) & 0x0F];
    }
    return text;
}

}  // namespace sim
