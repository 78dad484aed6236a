#pragma once
#include "codec/sms.h"
#include "codec/time_stamp.h"

// SMS-SUBMIT: a message the mobile sends.
class TSMSSubmit : public TSMS2 {
public:
    TSMSSubmit() : TSMS2(1) {}

    uint8_t PID() const { return pid_; }
    void SetPID(uint8_t value) { pid_ = value; }
    const std::string& DA() const { return da_; }
    void SetDA(std::string value) { da_ = std::move(value); }
    uint8_t MR() const { return mr_; }
    void SetMR(uint8_t value) { mr_ = value; }
    // A span in days for the relative format, an instant for the absolute one.
    TDateTime VP() const { return vp_; }
    void SetVP(TDateTime value) { vp_ = value; }
    TTimeZone VPTZ() const { return vptz_; }
    void SetVPTZ(TTimeZone value) { vptz_ = value; }

    using TSMS2::RD;
    using TSMS2::SetRD;
    using TSMS2::VPF;
    using TSMS2::SetVPF;
    using TSMS2::SRR;
    using TSMS2::SetSRR;
    using TSMS2::UDHI;
    using TSMS2::SetUDHI;
    using TSMS2::RP;
    using TSMS2::SetRP;

protected:
    std::string EncodeTPDU() const override;
    void DecodeTPDU(std::string_view octets) override;

private:
    uint8_t pid_ = 0;
    std::string da_;
    uint8_t mr_ = 0;
    TDateTime vp_ = 0;
    TTimeZone vptz_ = 0;
};
