#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/sms.h"

// One 88-octet page of a cell broadcast message. Pages are not joined: a client combines them
// by MessageId, serial number and page numbers.
class TCellBroadcast : public TSMS {
public:
    // Parts of the serial number.
    uint8_t GeographicalScope() const;
    void SetGeographicalScope(uint8_t value);
    uint16_t MessageCode() const;
    void SetMessageCode(uint16_t value);
    uint8_t UpdateNumber() const;
    void SetUpdateNumber(uint8_t value);

    uint16_t MessageId() const { return messageId_; }
    void SetMessageId(uint16_t value) { messageId_ = value; }
    uint8_t DCS() const { return dcs_; }
    void SetDCS(uint8_t value) { dcs_ = value; }

    // Parts of the page parameter.
    uint8_t CurrentPageNumber() const;
    void SetCurrentPageNumber(uint8_t value);
    uint8_t TotalPageNumber() const;
    void SetTotalPageNumber(uint8_t value);

    // The page content without its padding carriage returns.
    const std::string& UD() const { return ud_; }
    void SetUD(std::string value) { ud_ = std::move(value); }
    // UD as plain UCS2, without a header rule.
    std::u16string WideUD() const;
    void SetWideUD(std::u16string_view text);

protected:
    // Over-long content is cut to the page; never fails.
    std::string EncodeTPDU() const override;
    // A page shorter than 88 octets gives a shorter UD; one without its six header octets is
    // rejected.
    void DecodeTPDU(std::string_view octets) override;

private:
    uint16_t serialNumber_ = 0;
    uint16_t messageId_ = 0;
    uint8_t dcs_ = 0;
    uint8_t pageParameter_ = 0;
    std::string ud_;
};
