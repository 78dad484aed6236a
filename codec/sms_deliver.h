#pragma once
#include "codec/sms.h"
#include "codec/time_stamp.h"

// SMS-DELIVER: a message that reached the mobile.
class TSMSDeliver : public TSMS2 {
public:
    TSMSDeliver() : TSMS2(0) {}

    uint8_t PID() const { return pid_; }
    void SetPID(uint8_t value) { pid_ = value; }
    const std::string& OA() const { return oa_; }
    void SetOA(std::string value) { oa_ = std::move(value); }
    TDateTime SCTS() const { return scts_; }
    void SetSCTS(TDateTime value) { scts_ = value; }
    TTimeZone SCTSTZ() const { return sctstz_; }
    void SetSCTSTZ(TTimeZone value) { sctstz_ = value; }

    using TSMS2::MMS;
    using TSMS2::SetMMS;
    using TSMS2::SRI;
    using TSMS2::SetSRI;
    using TSMS2::UDHI;
    using TSMS2::SetUDHI;
    using TSMS2::RP;
    using TSMS2::SetRP;

protected:
    std::string EncodeTPDU() const override;
    void DecodeTPDU(std::string_view octets) override;

private:
    uint8_t pid_ = 0;
    std::string oa_;
    TDateTime scts_ = 0;
    TTimeZone sctstz_ = 0;
};
