// Arbitrary text as the PDU of every message kind and to the factory. Codec failures are
// exceptions of the system's root class; anything else, a crash or a sanitizer report is a find.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "codec/cell_broadcast.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "platform/sys/exception.h"

namespace {

struct Owner : TSMSOwner {
    explicit Owner(bool hasSCA) : hasSCA(hasSCA) {}
    bool PDUHasSCA() const override { return hasSCA; }
    std::string SCA() const override { return "+4917"; }
    bool hasSCA;
};

// Decodes, and when that works encodes the fields back and decodes the result once more.
void WriteAndRead(TSMS& sms, const std::string& text)
{
    try {
        sms.SetPDU(text);
    } catch (const Exception&) {
        return;
    }
    try {
        const std::string again = sms.PDU();
        sms.SetPDU(again);
    } catch (const Exception&) {
        // An alphanumeric address or a bad header cannot be encoded back: a clean refusal.
    }
}

template <class Kind>
void Fuzz(const std::string& text, TSMSOwner* owner)
{
    Kind sms;
    sms.SetGSM(owner);
    WriteAndRead(sms, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Owner withField(true);
    Owner withoutField(false);
    for (TSMSOwner* owner : {static_cast<TSMSOwner*>(nullptr), static_cast<TSMSOwner*>(&withoutField)}) {
        Fuzz<TSMSDeliver>(text, owner);
        Fuzz<TSMSSubmit>(text, owner);
        Fuzz<TSMSStatusReport>(text, owner);
        Fuzz<TSMSCommand>(text, owner);
        Fuzz<TSMSDeliverReport>(text, owner);
        Fuzz<TSMSSubmitReport>(text, owner);
    }
    TCellBroadcast page;
    WriteAndRead(page, text);
    for (TSMSOwner* owner : {static_cast<TSMSOwner*>(nullptr), static_cast<TSMSOwner*>(&withField),
                             static_cast<TSMSOwner*>(&withoutField)}) {
        for (const bool mt : {true, false}) {
            try {
                const std::unique_ptr<TSMS2> sms = TSMS2::CreateSMS(owner, text, mt);
                if (sms)
                    sms->PDU();
            } catch (const Exception&) {
            }
        }
    }
    return 0;
}
