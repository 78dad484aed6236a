#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// A message's user data field (UD) holds, whatever way it travels, the header (when UDHI is
// set: its length octet UDHL, then UDHL raw octets) followed by the text, which is septet
// codes under the default alphabet and octets otherwise.

constexpr size_t kMaxUserDataSeptets = 160;
constexpr size_t kMaxUserDataOctets = 140;

// The UDL octet and the user data octets. Longer content is cut to 160 septets or 140 octets.
// With udhi set, an empty field, one shorter than its header or a header length of 140 or
// more raises EGSMError "Bad UDH".
std::string EncodeUserData(std::string_view ud, uint8_t dcs, bool udhi);

// From the UDL octet to the end of the TPDU. Never fails: missing octets give a shorter field.
std::string DecodeUserData(std::string_view input, uint8_t dcs, bool udhi);

// The text after the header; empty when the header fills the field or claims more than it has.
std::string_view UserDataText(std::string_view ud);
