#include "codec/sms_deliver_report.h"

#include "codec/octet_reader.h"

std::string TSMSDeliverReport::EncodeTPDU() const
{
    std::string octets;
    EncodeHead(octets);
    EncodeOptional(octets);
    return octets;
}

void TSMSDeliverReport::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeHead(reader);
    DecodeOptional(reader);
}

void TSMSDeliverReport::EncodeHead(std::string& octets) const
{
    EncodeSCAField(octets);
    octets.push_back(static_cast<char>(PDUType()));
    octets.push_back(static_cast<char>(pi_));
}

void TSMSDeliverReport::DecodeHead(OctetReader& reader)
{
    DecodeSCAField(reader);
    SetPDUType(reader.Octet("PDUType"));
    pi_ = reader.Octet("PI");
}

void TSMSDeliverReport::EncodeOptional(std::string& octets) const
{
    if (PIDPresent())
        octets.push_back(static_cast<char>(pid_));
    if (DCSPresent())
        octets.push_back(static_cast<char>(DCS()));
    if (UDPresent())
        EncodeUD(octets);
}

void TSMSDeliverReport::DecodeOptional(OctetReader& reader)
{
    if (PIDPresent())
        pid_ = reader.Octet("PID");
    if (DCSPresent())
        SetDCS(reader.Octet("DCS"));
    if (UDPresent())
        DecodeUD(reader);
}
