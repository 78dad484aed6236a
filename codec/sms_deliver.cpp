#include "codec/sms_deliver.h"

#include "codec/address.h"
#include "codec/octet_reader.h"

std::string TSMSDeliver::EncodeTPDU() const
{
    std::string octets;
    EncodeSCAField(octets);
    octets.push_back(static_cast<char>(PDUType()));
    octets += EncodeAddress(oa_);
    octets.push_back(static_cast<char>(pid_));
    octets.push_back(static_cast<char>(DCS()));
    AppendZonedTimeStamp(octets, scts_, sctstz_);
    EncodeUD(octets);
    return octets;
}

void TSMSDeliver::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeSCAField(reader);
    SetPDUType(reader.Octet("PDUType"));
    oa_ = DecodeAddress(reader, "OA");
    pid_ = reader.Octet("PID");
    SetDCS(reader.Octet("DCS"));
    const TZonedTime scts = ReadZonedTimeStamp(reader, "SCTS");
    scts_ = scts.value;
    sctstz_ = scts.zone;
    DecodeUD(reader);
}
