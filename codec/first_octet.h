#pragma once
#include <cstdint>

// Bits of a TPDU's first octet. Kinds share positions under different names.
constexpr uint8_t kMTIMask = 0x03;
constexpr uint8_t kMMSBit = 0x04;  // SMS-DELIVER, SMS-STATUS-REPORT; 0 means more messages wait
constexpr uint8_t kRDBit = 0x04;   // SMS-SUBMIT
constexpr uint8_t kVPFMask = 0x18;
constexpr int kVPFShift = 3;
constexpr uint8_t kSRIBit = 0x20;  // SMS-DELIVER
constexpr uint8_t kSRRBit = 0x20;  // SMS-SUBMIT, SMS-COMMAND
constexpr uint8_t kSRQBit = 0x20;  // SMS-STATUS-REPORT
constexpr uint8_t kUDHIBit = 0x40;
constexpr uint8_t kRPBit = 0x80;

// Validity period formats.
constexpr uint8_t kVPFNone = 0;
constexpr uint8_t kVPFEnhanced = 1;
constexpr uint8_t kVPFRelative = 2;
constexpr uint8_t kVPFAbsolute = 3;
