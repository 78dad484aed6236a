#include "codec/sms_status_report.h"

#include "codec/address.h"
#include "codec/octet_reader.h"

std::string TSMSStatusReport::EncodeTPDU() const
{
    std::string octets;
    EncodeSCAField(octets);
    octets.push_back(static_cast<char>(PDUType()));
    octets.push_back(static_cast<char>(mr_));
    octets += EncodeAddress(oa_);
    AppendZonedTimeStamp(octets, scts_, sctstz_);
    AppendZonedTimeStamp(octets, dt_, dtstz_);
    octets.push_back(static_cast<char>(status_));
    return octets;
}

void TSMSStatusReport::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeSCAField(reader);
    SetPDUType(reader.Octet("PDUType"));
    mr_ = reader.Octet("MR");
    oa_ = DecodeAddress(reader, "OA");
    const TZonedTime scts = ReadZonedTimeStamp(reader, "SCTS");
    scts_ = scts.value;
    sctstz_ = scts.zone;
    const TZonedTime dt = ReadZonedTimeStamp(reader, "DT");
    dt_ = dt.value;
    dtstz_ = dt.zone;
    status_ = reader.Octet("Status");
}
