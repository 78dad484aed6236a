// Sending, reading, listing and deleting messages, in PDU mode through the codec and in text
// mode from the commands' own parameters.

#include <iterator>

#include "codec/address.h"
#include "codec/first_octet.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_submit.h"
#include "codec/text_time_stamp.h"
#include "codec/validity_period.h"
#include "modem/at_response.h"
#include "modem/gsm.h"
#include "modem/gsm_scopes.h"
#include "modem/text_params.h"
#include "modem/model_rules.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"
#include "platform/sys/tick_count.h"

namespace {

constexpr char kLF = 10;
constexpr char kCtrlZ = 26;
constexpr char kEsc = 27;

// Text-mode status names; the index is the status number of PDU mode.
constexpr const char* kMessageStatus[] = {"REC UNREAD", "REC READ", "STO UNSENT", "STO SENT", "ALL"};

int StatusIndex(const std::string& text)
{
    for (size_t i = 0; i < std::size(kMessageStatus); ++i)
        if (text == kMessageStatus[i])
            return static_cast<int>(i);
    return -1;
}

// Address type numbers of text mode.
constexpr int kTypeNumberUnknown = 129;
constexpr int kTypeNumberInternational = 145;
constexpr int kTypeNumberNational = 161;


// In text mode the destination is a quoted argument of the command line and the text follows
// the prompt up to Ctrl-Z: anything that would end either early would let the rest run as
// commands of its own.
void CheckTextModeMessage(const std::string& address, const std::string& text)
{
    for (const char c : address)
        if (c == '"' || c == '>' || static_cast<unsigned char>(c) < 32)
            throw EGSMError(Format("Destination address must not contain a double quote, \">\" or control "
                                   "characters: %s",
                                   address.c_str()));
    if (text.find_first_of(std::string{kCtrlZ, kEsc}) != std::string::npos)
        throw EGSMError("Message text must not contain Ctrl-Z or ESC");
}

// The model's pause after a read, kept however the read ends.
class ReadPause {
public:
    explicit ReadPause(uint32_t ms) : ms_(ms) {}
    ~ReadPause()
    {
        if (ms_ != 0)
            Sleep(ms_);
    }
    ReadPause(const ReadPause&) = delete;
    ReadPause& operator=(const ReadPause&) = delete;

private:
    uint32_t ms_;
};

// Text-mode body: the reply lines after the header joined by LF until the announced length is
// reached; without a length only the first line.
std::string JoinBody(const TStrings& reply, int length)
{
    std::string body = reply[1];
    for (int i = 2; i < reply.Count() && static_cast<int>(body.size()) < length; ++i) {
        body += kLF;
        body += reply[i];
    }
    return body;
}

}  // namespace

int TGSM::GetSubmitLength(const TSMS2& message)
{
    const int octets = static_cast<int>(message.PDU().size() / 2);
    switch (Rules().submitLength) {
    case SubmitLength::Fixed164:
        return 164;
    case SubmitLength::Fixed165:
        return 165;
    case SubmitLength::Octets:
        return octets;
    case SubmitLength::OctetsLessSCA:
        break;
    }
    return octets - 1;  // without the empty service centre octet
}

int TGSM::SendSMS(const TSMS2& message)
{
    const auto* command = dynamic_cast<const TSMSCommand*>(&message);
    const auto* submit = dynamic_cast<const TSMSSubmit*>(&message);
    if (!command && !submit)
        throw EGSMError("SMS type not supported");
    const std::string name = command ? "AT+CMGC" : "AT+CMGS";
    const ModelRules& rules = Rules();
    TStringList reply;

    if (smsFormat_ == smsfText) {
        std::string address = command ? command->DA() : submit->DA();
        CheckTextModeMessage(address, message.UD());
        int type = kTypeNumberUnknown;
        if (address.starts_with('+')) {
            type = kTypeNumberInternational;
        } else if (address.starts_with('#')) {
            type = kTypeNumberNational;
            address.erase(0, 1);
        }
        std::string params;
        if (command) {
            params = Format("%d,%d,%d,%d,\"%s\",%d", command->PDUType(), command->CT(), command->PID(), command->MN(),
                            address.c_str(), type);
        } else {
            const uint8_t vpf = (submit->PDUType() & kVPFMask) >> kVPFShift;
            std::string vpText;
            if (vpf == kVPFRelative)
                vpText = std::to_string(DTToValPer(submit->VP()));
            else if (vpf == kVPFAbsolute)
                vpText = "\"" + FormatTextTimeStamp(submit->VP(), submit->VPTZ()) + "\"";
            uint8_t firstOctet = submit->PDUType();
            // These devices refuse a first octet without a validity period format.
            if (vpf == kVPFNone && rules.textForceRelativeVP)
                firstOctet = static_cast<uint8_t>((firstOctet & ~kVPFMask) | (kVPFRelative << kVPFShift));
            CheckResult(SendATCommand(
                Format("AT+CSMP=%d,%s,%d,%d", firstOctet, vpText.c_str(), submit->PID(), submit->DCS()), atrCode));
            params = Format("\"%s\",%d", address.c_str(), type);
        }
        RecTimeoutScope timeout(*this, rules.textSendTimeoutMs);
        CheckResult(SendATCommand(name + "=" + params + ">" + message.UD(), rules.sendFlags, 0, &reply));
    } else {
        CheckResult(
            SendATCommand(Format("%s=%d>%s", name.c_str(), GetSubmitLength(message), message.PDU().c_str()),
                          rules.sendFlags, 0, &reply));
    }

    int reference = -1;
    if (reply.Count() > 0 && !TryStrToInt(reply[0], reference))
        reference = -1;
    if (rules.pauseAfterSendMs != 0)
        Sleep(rules.pauseAfterSendMs);
    return reference;
}

std::unique_ptr<TSMS2> TGSM::ReadSMS(int index, int& stat)
{
    CheckActive();
    ReadPause pause(Rules().pauseAfterReadMs);
    TStringList reply;
    CheckResult(SendATCommand(Format("AT+CMGR=%d", index), atrCode | atrParams, 1, &reply));
    if (reply.Count() < 2 || !IsATResponse(reply[0]))
        return nullptr;
    TTextParams params(StripATResponse(reply[0]));

    if (smsFormat_ != smsfText) {
        // +CMGR: stat,[alpha],length, then the PDU line.
        stat = params.Integer();
        return TSMS2::CreateSMS(this, reply[1], stat == 0 || stat == 1);
    }

    const std::string status = params.Unquoted();
    stat = StatusIndex(status);
    const std::string quotedAddress = params.Text();
    if (quotedAddress.find('"') == std::string::npos)
        return nullptr;
    const std::string address = TrimQuotes(quotedAddress);
    int length = 0;
    std::unique_ptr<TSMS2> result;
    if (status.starts_with("REC ")) {
        // +CMGR: stat,oa,[alpha],scts[,tooa,fo,pid,dcs,sca,tosca,length]
        auto deliver = std::make_unique<TSMSDeliver>();
        deliver->SetOA(address);
        params.Skip();
        const std::string scts = params.Unquoted();
        if (!scts.empty()) {
            const TZonedTime stamp = ParseTextTimeStamp(scts);
            deliver->SetSCTS(stamp.value);
            deliver->SetSCTSTZ(stamp.zone);
        }
        if (params.More()) {
            std::string oa = deliver->OA();
            ApplyTypeOfAddress(oa, params.Text());
            deliver->SetOA(oa);
            deliver->SetPDUType(params.Octet());
            deliver->SetPID(params.Octet());
            deliver->SetDCS(params.Octet());
            params.Skip(2);
            length = params.Integer();
        }
        result = std::move(deliver);
    } else if (status.starts_with("STO ")) {
        // +CMGR: stat,da,[alpha][,toda,fo,pid,dcs,[vp],sca,tosca,length]
        auto submit = std::make_unique<TSMSSubmit>();
        submit->SetDA(address);
        params.Skip();
        if (params.More()) {
            std::string da = submit->DA();
            ApplyTypeOfAddress(da, params.Text());
            submit->SetDA(da);
            submit->SetPDUType(params.Octet());
            submit->SetPID(params.Octet());
            submit->SetDCS(params.Octet());
            // The vp field is read by position whatever its form: a relative octet (1 to 3
            // digits) or an absolute time stamp (20 characters) is decoded, anything else
            // (empty, or the enhanced format) sets nothing.
            const std::string vp = params.Unquoted();
            if (vp.size() >= 1 && vp.size() <= 3) {
                submit->SetVP(ValPerToDT(static_cast<uint8_t>(StrToInt(vp))));
            } else if (vp.size() == 20) {
                const TZonedTime stamp = ParseTextTimeStamp(vp);
                submit->SetVP(stamp.value);
                submit->SetVPTZ(stamp.zone);
            }
            params.Skip(2);
            length = params.Integer();
        }
        result = std::move(submit);
    } else {
        return nullptr;
    }
    result->SetUD(JoinBody(reply, length));
    return result;
}

void TGSM::DeleteSMS(int index)
{
    CheckActive();
    CheckResult(SendATCommand(Format("AT+CMGD=%d", index), atrCode, 1));
}

std::unique_ptr<TStringList> TGSM::GetSMSList(int stat)
{
    CheckActive();
    const ModelRules& rules = Rules();
    if (stat < 0 && rules.listAllAsUnread)
        stat = 0;
    const bool text = smsFormat_ == smsfText;
    std::string suffix;
    if (stat >= 0) {
        if (text && stat >= static_cast<int>(std::size(kMessageStatus)))
            throw EGSMError(Format("Message status (%d) is not valid in text mode", stat));
        suffix = text ? Format("=\"%s\"", kMessageStatus[stat]) : Format("=%d", stat);
    }

    TStringList lines;
    const std::string command = "AT+CMGL" + suffix;
    if (rules.list == ListCommand::OneAttempt)
        SendATCommand(command, atrCode | atrParams | atrErrorCode, 1, &lines);  // ERROR lists nothing
    else
        CheckResult(SendATCommand(command, atrCode | atrParams, 0, &lines));

    auto result = std::make_unique<TStringList>(true);
    while (lines.Count() > 0) {
        if (!IsATResponse(lines[0]) || lines.Count() < 2) {
            // A further line of a multi-line text, or a header without its body line.
            lines.Delete(0);
            continue;
        }
        TTextParams params(StripATResponse(lines[0]));
        const int number = params.Integer();
        if (text) {
            const int status = StatusIndex(params.Unquoted());
            if (status >= 0)
                result->Add(Format("%d=%d", number, status));
        } else {
            const int status = params.Integer();
            std::unique_ptr<TSMS2> message;
            try {
                message = TSMS2::CreateSMS(this, lines[1], status == 0 || status == 1);
            } catch (const Exception&) {
                // A message that does not decode keeps its entry, without object.
            }
            result->AddObject(Format("%d=%d", number, status), message.release());
        }
        lines.Delete(0);
        lines.Delete(0);
    }

    if (text)
        for (int i = 0; i < result->Count(); ++i) {
            int ignored;
            result->PutObject(i, ReadSMS(StrToInt(result->Names(i)), ignored).release());
        }
    return result;
}
