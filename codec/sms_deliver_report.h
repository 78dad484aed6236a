#pragma once
#include "codec/sms.h"

// Parameter indicator bits of the two reports: which optional fields follow.
constexpr uint8_t kPIDPresentBit = 0x01;
constexpr uint8_t kDCSPresentBit = 0x02;
constexpr uint8_t kUDPresentBit = 0x04;

// SMS-DELIVER-REPORT in its RP-ACK layout: no failure cause octet is written or expected.
// UDHI is reached through PDUType.
class TSMSDeliverReport : public TSMS2 {
public:
    TSMSDeliverReport() : TSMSDeliverReport(0) {}

    // Bits 3-7 are kept and written back as they are.
    uint8_t PI() const { return pi_; }
    void SetPI(uint8_t value) { pi_ = value; }
    uint8_t PID() const { return pid_; }
    void SetPID(uint8_t value) { pid_ = value; }

    bool PIDPresent() const { return (pi_ & kPIDPresentBit) != 0; }
    void SetPIDPresent(bool on) { SetPIBit(kPIDPresentBit, on); }
    bool DCSPresent() const { return (pi_ & kDCSPresentBit) != 0; }
    void SetDCSPresent(bool on) { SetPIBit(kDCSPresentBit, on); }
    bool UDPresent() const { return (pi_ & kUDPresentBit) != 0; }
    void SetUDPresent(bool on) { SetPIBit(kUDPresentBit, on); }

protected:
    explicit TSMSDeliverReport(uint8_t pduType) : TSMS2(pduType) {}

    std::string EncodeTPDU() const override;
    void DecodeTPDU(std::string_view octets) override;

    // Service centre field, first octet, parameter indicator.
    void EncodeHead(std::string& octets) const;
    void DecodeHead(OctetReader& reader);
    // PID, DCS and user data, each as PI announces it; absent fields keep their values.
    void EncodeOptional(std::string& octets) const;
    void DecodeOptional(OctetReader& reader);

private:
    void SetPIBit(uint8_t bit, bool on) { pi_ = static_cast<uint8_t>(on ? (pi_ | bit) : (pi_ & ~bit)); }

    uint8_t pi_ = 0;
    uint8_t pid_ = 0;
};
