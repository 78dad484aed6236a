#pragma once
#include "codec/sms.h"

// SMS-COMMAND: a request to the service centre about an earlier submit. The command data is
// UD, coded by the object's DCS, which itself does not travel.
class TSMSCommand : public TSMS2 {
public:
    TSMSCommand() : TSMS2(2) {}

    uint8_t MR() const { return mr_; }
    void SetMR(uint8_t value) { mr_ = value; }
    uint8_t PID() const { return pid_; }
    void SetPID(uint8_t value) { pid_ = value; }
    // Command type, raw.
    uint8_t CT() const { return ct_; }
    void SetCT(uint8_t value) { ct_ = value; }
    // The message number the command refers to.
    uint8_t MN() const { return mn_; }
    void SetMN(uint8_t value) { mn_ = value; }
    const std::string& DA() const { return da_; }
    void SetDA(std::string value) { da_ = std::move(value); }

    using TSMS2::SRR;
    using TSMS2::SetSRR;

protected:
    std::string EncodeTPDU() const override;
    void DecodeTPDU(std::string_view octets) override;

private:
    uint8_t mr_ = 0;
    uint8_t pid_ = 0;
    uint8_t ct_ = 0;
    uint8_t mn_ = 0;
    std::string da_;
};
