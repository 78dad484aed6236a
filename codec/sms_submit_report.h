#pragma once
#include "codec/sms_deliver_report.h"
#include "codec/time_stamp.h"

// SMS-SUBMIT-REPORT in its RP-ACK layout: the deliver report's fields plus the service centre
// time stamp after PI.
class TSMSSubmitReport : public TSMSDeliverReport {
public:
    TSMSSubmitReport() : TSMSDeliverReport(1) {}

    TDateTime SCTS() const { return scts_; }
    void SetSCTS(TDateTime value) { scts_ = value; }
    TTimeZone SCTSTZ() const { return sctstz_; }
    void SetSCTSTZ(TTimeZone value) { sctstz_ = value; }

protected:
    std::string EncodeTPDU() const override;
    void DecodeTPDU(std::string_view octets) override;

private:
    TDateTime scts_ = 0;
    TTimeZone sctstz_ = 0;
};
