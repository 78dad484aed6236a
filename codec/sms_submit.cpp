#include "codec/sms_submit.h"

#include "codec/address.h"
#include "codec/octet_reader.h"
#include "codec/validity_period.h"

// The enhanced validity period format (VPF 1) travels without its seven octets, both ways:
// its contents are not modelled, and a decoder reads the octet after DCS as the UDL.

std::string TSMSSubmit::EncodeTPDU() const
{
    std::string octets;
    EncodeSCAField(octets);
    octets.push_back(static_cast<char>(PDUType()));
    octets.push_back(static_cast<char>(mr_));
    octets += EncodeAddress(da_);
    octets.push_back(static_cast<char>(pid_));
    octets.push_back(static_cast<char>(DCS()));
    if (VPF() == kVPFRelative)
        octets.push_back(static_cast<char>(DTToValPer(vp_)));
    else if (VPF() == kVPFAbsolute)
        AppendZonedTimeStamp(octets, vp_, vptz_);
    EncodeUD(octets);
    return octets;
}

void TSMSSubmit::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeSCAField(reader);
    SetPDUType(reader.Octet("PDUType"));
    mr_ = reader.Octet("MR");
    da_ = DecodeAddress(reader, "DA");
    pid_ = reader.Octet("PID");
    SetDCS(reader.Octet("DCS"));
    if (VPF() == kVPFRelative) {
        vp_ = ValPerToDT(reader.Octet("VP"));
    } else if (VPF() == kVPFAbsolute) {
        const TZonedTime vp = ReadZonedTimeStamp(reader, "VP");
        vp_ = vp.value;
        vptz_ = vp.zone;
    }
    DecodeUD(reader);
}
