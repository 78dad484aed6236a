#include "codec/sms_command.h"

#include "codec/address.h"
#include "codec/octet_reader.h"

std::string TSMSCommand::EncodeTPDU() const
{
    std::string octets;
    EncodeSCAField(octets);
    octets.push_back(static_cast<char>(PDUType()));
    octets.push_back(static_cast<char>(mr_));
    octets.push_back(static_cast<char>(pid_));
    octets.push_back(static_cast<char>(ct_));
    octets.push_back(static_cast<char>(mn_));
    octets += EncodeAddress(da_);
    EncodeUD(octets);
    return octets;
}

void TSMSCommand::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    DecodeSCAField(reader);
    SetPDUType(reader.Octet("PDUType"));
    mr_ = reader.Octet("MR");
    pid_ = reader.Octet("PID");
    ct_ = reader.Octet("CT");
    mn_ = reader.Octet("MN");
    da_ = DecodeAddress(reader, "DA");
    DecodeUD(reader);
}
