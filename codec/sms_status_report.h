#pragma once
#include "codec/sms.h"
#include "codec/time_stamp.h"

// SMS-STATUS-REPORT: the service centre's report on an earlier submit (or command, with SRQ).
class TSMSStatusReport : public TSMS2 {
public:
    TSMSStatusReport() : TSMS2(2) {}

    uint8_t MR() const { return mr_; }
    void SetMR(uint8_t value) { mr_ = value; }
    // The recipient of the reported message.
    const std::string& OA() const { return oa_; }
    void SetOA(std::string value) { oa_ = std::move(value); }
    TDateTime SCTS() const { return scts_; }
    void SetSCTS(TDateTime value) { scts_ = value; }
    TTimeZone SCTSTZ() const { return sctstz_; }
    void SetSCTSTZ(TTimeZone value) { sctstz_ = value; }
    // Discharge time.
    TDateTime DT() const { return dt_; }
    void SetDT(TDateTime value) { dt_ = value; }
    TTimeZone DTSTZ() const { return dtstz_; }
    void SetDTSTZ(TTimeZone value) { dtstz_ = value; }
    // The raw TP-Status value.
    uint8_t Status() const { return status_; }
    void SetStatus(uint8_t value) { status_ = value; }

    using TSMS2::MMS;
    using TSMS2::SetMMS;
    using TSMS2::SRQ;
    using TSMS2::SetSRQ;

protected:
    std::string EncodeTPDU() const override;
    // The optional parameters after Status are neither read nor written; DCS and UD keep
    // their values.
    void DecodeTPDU(std::string_view octets) override;

private:
    uint8_t mr_ = 0;
    std::string oa_;
    TDateTime scts_ = 0;
    TTimeZone sctstz_ = 0;
    TDateTime dt_ = 0;
    TTimeZone dtstz_ = 0;
    uint8_t status_ = 0;
};
