#include "codec/sms_submit_report.h"

#include "codec/octet_reader.h"

std::string TSMSSubmitReport::EncodeTPDU() const
{
    std::string octets;
    EncodeHead(octets);
    AppendZonedTimeStamp(octets, scts_, sctstz_);
    EncodeOptional(octets);
    return octets;
}

void TSMSSubmitReport::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeHead(reader);
    const TZonedTime scts = ReadZonedTimeStamp(reader, "SCTS");
    scts_ = scts.value;
    sctstz_ = scts.zone;
    DecodeOptional(reader);
}
