#include "codec/sms.h"

#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "link/hex_text.h"

namespace {

using Maker = std::unique_ptr<TSMS2> (*)();

template <class Kind>
std::unique_ptr<TSMS2> Make()
{
    return std::make_unique<Kind>();
}

// By message type; type 3 is reserved and makes no message.
constexpr Maker kMobileTerminated[] = {Make<TSMSDeliver>, Make<TSMSSubmitReport>, Make<TSMSStatusReport>};
constexpr Maker kMobileOriginated[] = {Make<TSMSDeliverReport>, Make<TSMSSubmit>, Make<TSMSCommand>};
constexpr size_t kKnownTypes = std::size(kMobileTerminated);
static_assert(std::size(kMobileOriginated) == kKnownTypes);

}  // namespace

std::unique_ptr<TSMS2> TSMS2::CreateSMS(TSMSOwner* owner, std::string_view text, bool mtDirection)
{
    if (text.empty())
        return nullptr;
    const std::string octets = HexToBytes(text);
    const bool hasSCAField = owner == nullptr || owner->PDUHasSCA();
    const size_t firstOctet = hasSCAField ? static_cast<uint8_t>(octets[0]) + size_t{1} : 0;
    if (firstOctet >= octets.size())
        return nullptr;
    const uint8_t mti = static_cast<uint8_t>(octets[firstOctet]) & kMTIMask;
    if (mti >= kKnownTypes)
        return nullptr;
    std::unique_ptr<TSMS2> sms = (mtDirection ? kMobileTerminated : kMobileOriginated)[mti]();
    sms->SetGSM(owner);
    if (owner != nullptr)
        sms->SetSCA(owner->SCA());
    sms->DecodeTPDU(octets);
    return sms;
}
