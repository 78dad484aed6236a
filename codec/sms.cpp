#include "codec/sms.h"

#include "codec/address.h"
#include "codec/octet_reader.h"
#include "codec/ucs2.h"
#include "codec/user_data.h"
#include "link/hex_text.h"

namespace {

constexpr char kStoredServiceCentre = 0x00;

}  // namespace

std::string TSMS::PDU() const
{
    return BytesToHex(EncodeTPDU());
}

void TSMS::SetPDU(std::string_view text)
{
    DecodeTPDU(HexToBytes(text));
}

std::u16string TSMS2::WideUD() const
{
    if (!UDHI() || ud_.empty())
        return UCS2ToWide(ud_);
    return UCS2ToWide(UserDataText(ud_));
}

void TSMS2::SetWideUD(std::u16string_view text)
{
    ud_ = WideToUCS2(text);
}

bool TSMS2::HasSCAField() const
{
    return GSM() == nullptr || GSM()->PDUHasSCA();
}

void TSMS2::EncodeSCAField(std::string& octets) const
{
    if (HasSCAField())
        octets.push_back(kStoredServiceCentre);
}

void TSMS2::DecodeSCAField(OctetReader& reader)
{
    if (HasSCAField())
        sca_ = DecodeSCA(reader, GSM() ? GSM()->SCA() : std::string());
}

void TSMS2::EncodeUD(std::string& octets) const
{
    octets += EncodeUserData(ud_, dcs_, UDHI());
}

void TSMS2::DecodeUD(OctetReader& reader)
{
    ud_ = DecodeUserData(reader.Rest("UDL"), dcs_, UDHI());
}
