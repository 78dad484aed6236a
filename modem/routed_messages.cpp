// Messages, status reports and cell broadcast pages the device routes to us instead of storing
// them: a header line, then (mostly) a body line holding the message.

#include "codec/address.h"
#include "codec/cell_broadcast.h"
#include "codec/sms_deliver.h"
#include "codec/sms_status_report.h"
#include "modem/gsm.h"
#include "modem/text_params.h"

namespace {

// The whole rest of the line up to its CR is the body.
constexpr int kBodyToCR = 512;

}  // namespace

void TGSM::HandleRoutedHeader(const std::string& line)
{
    const bool text = smsFormat_ == smsfText;
    TTextParams params(line, 6);
    pendingSMS_.reset();
    // Each new message belongs to this engine, so its body is read with the model's rule for
    // the service centre field, as stored messages are: a model that sends PDUs without that
    // field would otherwise lose every routed message to a decoding failure.
    if (line.starts_with("+CMT:")) {
        auto deliver = std::make_unique<TSMSDeliver>();
        deliver->SetGSM(this);
        TSMSDeliver& sms = *deliver;
        pendingSMS_ = std::move(deliver);
        if (!text) {
            params.Skip(2);
            bodyLength_ = kBodyToCR;
            return;
        }
        // +CMT: oa,[alpha],scts[,tooa,fo,pid,dcs,sca,tosca,length]
        sms.SetOA(params.Unquoted());
        params.Skip();
        const TZonedTime scts = params.TimeStamp();
        sms.SetSCTS(scts.value);
        sms.SetSCTSTZ(scts.zone);
        bodyLength_ = 0;
        if (params.More()) {
            std::string oa = sms.OA();
            ApplyTypeOfAddress(oa, params.Text());
            sms.SetOA(oa);
            sms.SetPDUType(params.Octet());
            sms.SetPID(params.Octet());
            sms.SetDCS(params.Octet());
            params.Skip(2);
            bodyLength_ = params.Integer();
        }
    } else if (line.starts_with("+CDS:")) {
        auto report = std::make_unique<TSMSStatusReport>();
        report->SetGSM(this);
        TSMSStatusReport& sms = *report;
        pendingSMS_ = std::move(report);
        if (!text) {
            params.Skip();
            bodyLength_ = kBodyToCR;
            return;
        }
        // +CDS: fo,mr,[ra],[tora],scts,dt,st: the whole report is in the header. When this
        // raises, the dispatcher frees the report.
        sms.SetPDUType(params.Octet());
        sms.SetMR(params.Octet());
        sms.SetOA(params.Unquoted());
        params.Skip();
        const TZonedTime scts = params.TimeStamp();
        sms.SetSCTS(scts.value);
        sms.SetSCTSTZ(scts.zone);
        const TZonedTime dt = params.TimeStamp();
        sms.SetDT(dt.value);
        sms.SetDTSTZ(dt.zone);
        sms.SetStatus(params.Octet());
        DoUnsolicitedSMS(-1, &sms);
        AcknowledgeMessage();
        pendingSMS_.reset();
    } else {
        auto page = std::make_unique<TCellBroadcast>();
        page->SetGSM(this);
        TCellBroadcast& cb = *page;
        pendingSMS_ = std::move(page);
        if (!text) {
            params.Skip();
            bodyLength_ = kBodyToCR;
            return;
        }
        // +CBM: sn,mid,dcs,page,pages; the page text is the next line. The message code keeps
        // the low 10 bits of the serial number.
        cb.SetMessageCode(static_cast<uint16_t>(params.Integer()));
        cb.SetMessageId(static_cast<uint16_t>(params.Integer()));
        cb.SetDCS(params.Octet());
        cb.SetCurrentPageNumber(params.Octet());
        cb.SetTotalPageNumber(params.Octet());
        bodyLength_ = 0;
    }
}

void TGSM::HandleRoutedBody(const std::string& line)
{
    // The message is freed whatever happens: decoding, the host's event or the acknowledgement
    // may raise.
    const std::unique_ptr<TSMS> message = std::move(pendingSMS_);
    const bool text = smsFormat_ == smsfText;
    if (auto* cb = dynamic_cast<TCellBroadcast*>(message.get())) {
        if (text)
            cb->SetUD(line);
        else
            cb->SetPDU(line);
        DoUnsolicitedSMS(-1, cb);
        return;
    }
    if (auto* report = dynamic_cast<TSMSStatusReport*>(message.get())) {
        report->SetPDU(line);
    } else {
        auto& deliver = dynamic_cast<TSMSDeliver&>(*message);
        if (text)
            deliver.SetUD(line);
        else
            deliver.SetPDU(line);
    }
    DoUnsolicitedSMS(-1, message.get());
    AcknowledgeMessage();
}

void TGSM::AcknowledgeMessage()
{
    if (csmsService_ > 0)
        CheckResult(SendATCommand("AT+CNMA", atrATResponse));
}
