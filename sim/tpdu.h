#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// The simulated device's own reading of the transfer units: just what a modem needs to accept
// a submit and to produce deliveries and reports. Octet strings hold one octet per character.

// First-octet fields.
constexpr uint8_t kMtiMask = 0x03;
constexpr uint8_t kMtiDeliver = 0x00;
constexpr uint8_t kMtiSubmit = 0x01;
constexpr uint8_t kMtiStatusReportOrCommand = 0x02;
constexpr uint8_t kMoreMessagesAbsent = 0x04;   // TP-MMS in a delivery or report
constexpr uint8_t kVpfMask = 0x18;
constexpr uint8_t kVpfEnhanced = 0x08;
constexpr uint8_t kVpfRelative = 0x10;
constexpr uint8_t kVpfAbsolute = 0x18;
constexpr uint8_t kStatusReportFlag = 0x20;     // TP-SRR in a submit, TP-SRI in a delivery
constexpr uint8_t kUdhi = 0x40;
constexpr uint8_t kReplyPath = 0x80;

// Types of address.
constexpr uint8_t kToaUnknown = 0x81;
constexpr uint8_t kToaInternational = 0x91;
constexpr uint8_t kToaNational = 0xA1;
constexpr uint8_t kToaNumberTypeMask = 0x70;
constexpr uint8_t kToaAlphanumeric = 0x50;

enum class TAlphabet { Default, EightBit, Ucs2 };
TAlphabet AlphabetOf(uint8_t dcs);
// The message class 0-3 a DCS names, -1 when it names none.
int MessageClassOf(uint8_t dcs);

// "+4917..." (international), "#..." (national) or plain digits, with its type of address.
struct TAddress {
    std::string digits;
    uint8_t type = kToaUnknown;
    static TAddress FromText(std::string_view text);
    bool IsValid() const;       // at most 20 digits of 0-9 * # a b c
    std::string Text() const;   // "+" in front of an international number
};

// Semi-octet address field: digit count, type, digits (TP-OA, TP-DA, TP-RA).
std::string EncodeAddressField(const TAddress& address);
// Service centre field that leads a PDU: octet count, type, digits; a single 00 when empty.
std::string EncodeServiceCentreField(const TAddress& address);

// Seven octets of time stamp for now, in the local time zone.
std::string CurrentTimeStamp();
// "yy/MM/dd,hh:mm:ss+zz" of seven time stamp octets, as text mode shows it.
std::string TextTimeStamp(std::string_view octets);

// User data as it travels: the TP-UDL value and the octets after it.
struct TUserData {
    uint8_t length = 0;   // septets for the default alphabet, octets otherwise
    std::string octets;
};
TUserData EncodeText(std::string_view text, uint8_t dcs);       // 8-bit text, no header
// The text of user data: the default alphabet as 8-bit text, other alphabets as hexadecimal
// (the text-mode convention); a user data header is skipped.
std::string DecodeText(const TUserData& ud, uint8_t dcs, bool hasHeader);

struct TSubmit {
    uint8_t firstOctet = kMtiSubmit;
    uint8_t reference = 0;
    TAddress destination;
    uint8_t pid = 0;
    uint8_t dcs = 0;
    std::string validity;   // the raw validity-period octets the first octet announces
    TUserData ud;
};
// Raises EPduError naming the field when the TPDU is short, not a submit, or has a user data
// length that does not fit what follows.
TSubmit ParseSubmit(std::string_view tpdu);
std::string BuildSubmit(const TSubmit& submit);

struct TDeliver {
    uint8_t firstOctet = kMtiDeliver | kMoreMessagesAbsent;
    TAddress originator;
    uint8_t pid = 0;
    uint8_t dcs = 0;
    std::string timeStamp;   // seven octets
    TUserData ud;
};
std::string BuildDeliver(const TDeliver& deliver);
TDeliver ParseDeliver(std::string_view tpdu);

struct TStatusReport {
    uint8_t firstOctet = kMtiStatusReportOrCommand | kMoreMessagesAbsent;
    uint8_t reference = 0;
    TAddress recipient;
    std::string serviceCentreTime;   // seven octets
    std::string dischargeTime;       // seven octets
    uint8_t status = 0;
};
std::string BuildStatusReport(const TStatusReport& report);
TStatusReport ParseStatusReport(std::string_view tpdu);

// Accepts an SMS-COMMAND far enough to answer it: returns its first octet and message reference.
struct TCommand {
    uint8_t firstOctet = kMtiStatusReportOrCommand;
    uint8_t reference = 0;
};
TCommand ParseCommand(std::string_view tpdu);

// One 88-octet cell broadcast page with a default-alphabet text (at most 93 characters).
std::string BuildCellBroadcastPage(uint16_t serialNumber, uint16_t messageId, uint8_t dcs,
                                   int page, int pages, std::string_view text);

// Strict hexadecimal: an even number of digits, either case; false on anything else.
bool ParseHex(std::string_view text, std::string& octets);
std::string ToHex(std::string_view octets);

}  // namespace sim
