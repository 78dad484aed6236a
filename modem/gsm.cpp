// The engine's construction, destruction and published settings.

#include "modem/gsm.h"

#include "codec/sms.h"
#include "link/comm.h"
#include "modem/gsm_async_thread.h"
#include "modem/model_rules.h"
#include "platform/sys/format.h"

namespace {

// The result-code table a new engine starts with. A line is a final result only when its
// ".Params" entry holds "RES"; RING, NO CARRIER, NO DIAL TONE and BUSY end nothing until a
// host adds one.
constexpr const char* kDefaultErrorCodes[] = {
    "OK=0",
    "RING=2",
    "NO CARRIER=3",
    "ERROR=4",
    "NO DIAL TONE=6",
    "BUSY=7",
    "+CMS ERROR:=255",
    "+CME ERROR:=254",
    "OK.Params=RES,OK",
    "ERROR.Params=RES,ERR",
    "+CMS ERROR:.Params=RES,ERR",
    "+CME ERROR:.Params=RES,ERR",
};

// Values that travel inside an AT command line: a quote would end the argument and a control
// character the command, letting the rest run as commands of its own.
void CheckCommandText(const char* what, const std::string& value)
{
    for (const char c : value)
        if (c == '"' || static_cast<unsigned char>(c) < 32)
            throw EGSMError(Format("%s must not contain a double quote or control characters", what));
}

}  // namespace

TGSM::TGSM(TComponent* owner) : TConnection(owner)
{
    for (const char* entry : kDefaultErrorCodes)
        errorCodes_.Add(entry);
    asyncThread_ = std::make_unique<TGSMAsyncThread>(*this);
}

TGSM::~TGSM()
{
    CloseForDestruction();
    asyncThread_.reset();  // stops the thread and waits for it
}

const ModelRules& TGSM::Rules() const
{
    return RulesOf(equipment_);
}

bool TGSM::PDUHasSCA() const
{
    return Rules().pduHasSCA;
}

uint8_t TGSM::SupportedSMSFormats() const
{
    return Rules().formats;
}

void TGSM::SetEquipment(TGSMEquipment value)
{
    equipment_ = value;
    if ((SupportedSMSFormats() & (1u << smsFormat_)) == 0)
        SetSMSFormat(smsFormat_ == smsfText ? smsfPDU : smsfText);
}

void TGSM::SetSMSFormat(uint8_t value)
{
    CheckInactive();
    if (value > smsfText || (SupportedSMSFormats() & (1u << value)) == 0)
        throw EGSMError(Format("SMS format (%d) is not supported", value));
    smsFormat_ = value;
}

void TGSM::SetUnsolicitedIndication(TGSMUnsolicitedIndications value)
{
    if (Active() && value != unsolicitedIndication_) {
        Busy();
        TGSMUnsolicitedIndications notAvailable;
        try {
            notAvailable = SetupIndications(value);
        } catch (...) {
            Unbusy();
            throw;
        }
        Unbusy();
        value &= static_cast<TGSMUnsolicitedIndications>(~notAvailable);
    }
    unsolicitedIndication_ = value;
}

void TGSM::SetPIN(const std::string& value)
{
    CheckInactive();
    CheckCommandText("PIN", value);
    pin_ = value;
}

void TGSM::SetSCA(const std::string& value)
{
    CheckCommandText("SCA", value);
    if (Active() && value != sca_)
        CheckResult(SendATCommand(Format("AT+CSCA=\"%s\"", value.c_str()), atrCode));
    sca_ = value;
}

void TGSM::SetCOMDevice(TComm* device)
{
    CheckInactive();
    comDevice_ = device;
}

void TGSM::SetCommandEcho(bool value)
{
    if (Active() && !HasState(TComponentState::csDesigning))
        CheckResult(SendATCommand(Format("ATE%d", value ? 1 : 0), atrCode));
    commandEcho_ = value;
}

void TGSM::SetMem1(const std::string& value)
{
    if (value == mem1_)
        return;
    // The storage name is the whole argument, quotes included; ";" would chain a command.
    for (const char c : value)
        if (c == ';' || static_cast<unsigned char>(c) < 32)
            throw EGSMError("Mem1 must not contain \";\" or control characters");
    // Stored before the command: a failing command leaves the new name recorded.
    mem1_ = value;
    if (Active())
        CheckResult(SendATCommand("AT+CPMS=" + value, atrCode));
}

void TGSM::SetDefaults()
{
    CheckInactive();
    const ModelRules& rules = Rules();
    if (!rules.speed)
        return;
    if (!comDevice_)
        throw EGSMError("No assigned COM device");
    comDevice_->SetBaudrate(*rules.speed);
}

void TGSM::SwitchOff()
{
    if (const char* command = Rules().switchOff)
        CheckResult(SendATCommand(command, atrCode));
}
