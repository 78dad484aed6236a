#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "codec/first_octet.h"
#include "codec/sms_owner.h"
#include "platform/sys/object.h"

// Root of every message, cell broadcast pages included. A message holds plain values: PDU
// encodes its fields on demand, and writing PDU decodes into them field by field, so a failure
// part-way leaves the fields before it replaced and those after it as they were.
class TSMS : public TObject {
public:
    // The engine the message belongs to, or none; never owned by the message.
    TSMSOwner* GSM() const { return gsm_; }
    void SetGSM(TSMSOwner* owner) { gsm_ = owner; }

    // Upper-case hexadecimal text of the encoded message.
    std::string PDU() const;
    // Text that is not hexadecimal raises EConvertError before any field changes.
    void SetPDU(std::string_view text);

protected:
    virtual std::string EncodeTPDU() const = 0;
    virtual void DecodeTPDU(std::string_view octets) = 0;

private:
    TSMSOwner* gsm_ = nullptr;
};

class OctetReader;

// Every short message kind: a first octet, a service centre, user data.
class TSMS2 : public TSMS {
public:
    const std::string& SCA() const { return sca_; }
    void SetSCA(std::string sca) { sca_ = std::move(sca); }
    uint8_t PDUType() const { return pduType_; }
    void SetPDUType(uint8_t value) { pduType_ = value; }
    uint8_t MTI() const { return pduType_ & kMTIMask; }
    void SetMTI(uint8_t value) { SetField(kMTIMask, 0, value); }
    uint8_t DCS() const { return dcs_; }
    void SetDCS(uint8_t value) { dcs_ = value; }
    const std::string& UD() const { return ud_; }
    void SetUD(std::string value) { ud_ = std::move(value); }

    // UD as UCS2 text. With UDHI set the text after the header is read, as UCS2 pairs like the
    // rest; writing replaces the whole field, header included.
    std::u16string WideUD() const;
    void SetWideUD(std::u16string_view text);

    // A new message of the kind the PDU's message type names in the given direction (true:
    // towards the mobile), or none for empty text, a PDU too short for its first octet, or the
    // reserved type 3. Decoding failures propagate.
    static std::unique_ptr<TSMS2> CreateSMS(TSMSOwner* owner, std::string_view text, bool mtDirection);

protected:
    explicit TSMS2(uint8_t pduType) : pduType_(pduType) {}

    // A PDU exchanged with the device starts with a service centre field unless the owner's
    // device model leaves it out.
    bool HasSCAField() const;
    // The prefix octet 0x00 (use the device's stored service centre) when the field is present.
    void EncodeSCAField(std::string& octets) const;
    void DecodeSCAField(OctetReader& reader);
    void EncodeUD(std::string& octets) const;
    void DecodeUD(OctetReader& reader);

    bool Flag(uint8_t bit) const { return (pduType_ & bit) != 0; }
    void SetFlag(uint8_t bit, bool on)
    {
        pduType_ = static_cast<uint8_t>(on ? (pduType_ | bit) : (pduType_ & ~bit));
    }
    void SetField(uint8_t mask, int shift, uint8_t value)
    {
        pduType_ = static_cast<uint8_t>((pduType_ & ~mask) | ((value << shift) & mask));
    }

    // Flag properties by name; each kind publishes the ones it defines.
    bool MMS() const { return Flag(kMMSBit); }
    void SetMMS(bool on) { SetFlag(kMMSBit, on); }
    bool RD() const { return Flag(kRDBit); }
    void SetRD(bool on) { SetFlag(kRDBit, on); }
    uint8_t VPF() const { return (pduType_ & kVPFMask) >> kVPFShift; }
    void SetVPF(uint8_t value) { SetField(kVPFMask, kVPFShift, value); }
    bool SRI() const { return Flag(kSRIBit); }
    void SetSRI(bool on) { SetFlag(kSRIBit, on); }
    bool SRR() const { return Flag(kSRRBit); }
    void SetSRR(bool on) { SetFlag(kSRRBit, on); }
    bool SRQ() const { return Flag(kSRQBit); }
    void SetSRQ(bool on) { SetFlag(kSRQBit, on); }
    bool UDHI() const { return Flag(kUDHIBit); }
    void SetUDHI(bool on) { SetFlag(kUDHIBit, on); }
    bool RP() const { return Flag(kRPBit); }
    void SetRP(bool on) { SetFlag(kRPBit, on); }

private:
    std::string sca_;
    uint8_t pduType_;
    uint8_t dcs_ = 0;
    std::string ud_;
};
