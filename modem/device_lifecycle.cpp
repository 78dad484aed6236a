// Opening and closing the engine: borrowing the serial device, the per-model open sequence,
// the negotiation of unsolicited indications and the identity queries.

#include "codec/sms.h"
#include "link/comm.h"
#include "modem/at_response.h"
#include "modem/gsm.h"
#include "modem/gsm_scopes.h"
#include "modem/model_rules.h"
#include "platform/sys/format.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/str_to_int.h"
#include "platform/sys/tick_count.h"

namespace {

constexpr uint32_t kPinPauseMs = 2500;
constexpr uint32_t kWindTimeoutMs = 60000;
constexpr uint32_t kWindSliceMs = 10;
constexpr uint32_t kOpenPauseMs = 100;

std::string FirstParam(const std::string& s)
{
    int p = 1;
    return ExtractParam(s, p);
}

// The first of the candidates the device allows, or the current value.
std::string Choose(const TByteSet& allowed, std::initializer_list<int> candidates, const std::string& current,
                   bool& available)
{
    for (const int v : candidates)
        if (allowed.test(static_cast<size_t>(v)))
            return std::to_string(v);
    available = false;
    return current;
}

}  // namespace

void TGSM::Attach()
{
    if (!comDevice_)
        throw EGSMError("No assigned COM device");
    BusyScope busy(*this);
    savedRxChar_ = comDevice_->OnRxChar;
    savedActive_ = comDevice_->Active();
    savedDontSynchronize_ = comDevice_->DontSynchronize();
    comDevice_->OnRxChar = [this](TObject*, int count) { ReceiveHandler(count); };
    // Before the open, so that no received-data event of the device ever waits for the main
    // thread while the main thread waits for a reply.
    comDevice_->SetDontSynchronize(true);
    try {
        comDevice_->Open();
    } catch (...) {
        // The device did not open: leave it exactly as it was.
        Detach(true);
        throw;
    }
    comDevice_->PurgeIn();
    comDevice_->PurgeOut();
}

void TGSM::Detach(bool restoreHandler)
{
    if (!comDevice_)
        return;
    // A device that goes back to closed is closed first: its event thread, which reads the
    // handler without a lock, is gone before the handler changes.
    if (!savedActive_)
        comDevice_->SetActive(false);
    // While the engine is being freed its handler must not stay on a device that outlives it.
    if (restoreHandler || HasState(TComponentState::csDestroying)) {
        comDevice_->SetDontSynchronize(savedDontSynchronize_);
        comDevice_->OnRxChar = savedRxChar_;
    }
    comDevice_->SetActive(savedActive_);
}

void TGSM::DoOpen()
{
    if (HasState(TComponentState::csDesigning))
        return;
    Attach();
    BusyScope busy(*this);
    {
        std::lock_guard lock(rxLock_);
        rxLog_.clear();
    }
    rxPos_ = 0;
    bodyLength_ = 0;
    bodyStart_ = 0;
    lineIncomplete_ = false;
    {
        std::lock_guard lock(replyLock_);
        waitFlags_ = 0;
    }
    identityCache_.Clear();
    RunOpenSequence();
}

void TGSM::RunOpenSequence()
{
    const ModelRules& rules = Rules();
    CheckResult(SendATCommand(Format("ATE%d", commandEcho_ ? 1 : 0), atrCode));

    TStringList reply;
    if (rules.pin != PinStep::NoPinStep) {
        if (rules.pin == PinStep::WindThenQuery) {
            CheckResult(SendATCommand("AT+WIND=12", atrCode));
            CheckResult(SendATCommand("AT+CPIN?", atrParams | atrATResponse, 0, &reply));
        } else {
            CheckResult(SendATCommand("AT+CPIN?", atrCode | atrParams | atrATResponse, 0, &reply));
        }
        if (reply.Count() == 0)
            reply.Add("no response");
        if (reply[0] != "READY") {
            if (reply[0] != "SIM PIN")
                throw EGSMError(Format("PIN is not expected (%s)", reply[0].c_str()));
            EnterPin(rules);
        }
        reply.Clear();
    }

    if (rules.registration == Registration::Csq) {
        CheckResult(SendATCommand("AT+CSQ", atrCode | atrParams | atrATResponse, 1));
    } else if (rules.registration == Registration::Creg) {
        CheckResult(SendATCommand("AT+CREG?", atrCode | atrParams | atrATResponse));
        CheckResult(SendATCommand("AT+CREG=1", atrCode));
    }

    CheckResult(SendATCommand("AT+CPMS?", atrCode | atrParams | atrATResponse, 0, &reply));
    mem1_ = FirstParam(reply[0]);
    reply.Clear();
    CheckResult(SendATCommand("AT+CSMS?", atrParams | atrATResponse, 0, &reply));
    csmsService_ = StrToInt(FirstParam(reply[0]));
    reply.Clear();

    if (!sca_.empty())
        CheckResult(SendATCommand(Format("AT+CSCA=\"%s\"", sca_.c_str()), atrCode));
    CheckResult(SendATCommand(Format("AT+CMGF=%d", smsFormat_), atrCode));
    if (rules.service != ServiceLevel::AsReported) {
        const int level = static_cast<int>(rules.service);
        CheckResult(SendATCommand(Format("AT+CSMS=%d", level), atrCode));
        csmsService_ = level;
    }
    if (rules.extra == OpenExtra::MemoryME)
        SetMem1("\"ME\"");  // not yet Active: only recorded
    if (smsFormat_ == smsfText)
        CheckResult(SendATCommand("AT+CSDH=1", atrCode));
    if (extendedErrorMsg_ && rules.extra == OpenExtra::CmeeWhenExtended)
        CheckResult(SendATCommand("AT+CMEE=1", atrCode));
    Sleep(kOpenPauseMs);
    unsolicitedIndication_ &= static_cast<TGSMUnsolicitedIndications>(~SetupIndications(unsolicitedIndication_));
}

void TGSM::EnterPin(const ModelRules& rules)
{
    if (pin_.empty())
        throw EGSMError("PIN required");
    wind4Seen_ = false;
    {
        RecTimeoutScope timeout(*this, rules.pinTimeoutMs);
        CheckResult(SendATCommand(Format("AT+CPIN=\"%s\"", pin_.c_str()), atrCode, 1));
    }
    if (rules.afterPin == AfterPin::Pause)
        Sleep(kPinPauseMs);
    else if (rules.afterPin == AfterPin::WaitForWind)
        WaitForWind4();
}

// The device announces with +WIND: 4 that it is ready after the PIN. The indication is
// dispatched on the main thread; besides the event it sets, the dispatcher records it, since
// on another thread it may be dispatched before the reset below.
void TGSM::WaitForWind4()
{
    replyEvent_.ResetEvent();
    bool ready = wind4Seen_;
    if (!ready && OnMainThread()) {
        const uint32_t start = GetTickCount();
        while (!ready && GetTickCount() - start < kWindTimeoutMs) {
            ProcessReceived();
            ready = wind4Seen_ || replyEvent_.WaitFor(kWindSliceMs) == TWaitResult::wrSignaled;
        }
    } else if (!ready) {
        ready = replyEvent_.WaitFor(kWindTimeoutMs) == TWaitResult::wrSignaled || wind4Seen_;
    }
    if (!ready)
        throw EGSMError("Wavecom initialization error (no +WIND: 4)");
}

void TGSM::DoClose()
{
    if (HasState(TComponentState::csDesigning))
        return;
    pendingSMS_.reset();
    bodyLength_ = 0;
    Detach(false);
    if (networkRegistration_ != 0) {
        // A host being torn down with the engine is not called back any more.
        if (HasState(TComponentState::csDestroying))
            networkRegistration_ = 0;
        else
            DoNetworkRegistration(0);
    }
}

TGSMUnsolicitedIndications TGSM::SetupIndications(TGSMUnsolicitedIndications wanted)
{
    TStringList reply;
    CheckResult(SendATCommand("AT+CNMI=?", atrCode | atrParams | atrATResponse, 0, &reply));
    const std::string test = reply[0];
    reply.Clear();
    CheckResult(SendATCommand("AT+CNMI?", atrCode | atrParams | atrATResponse, 0, &reply));
    const std::string current = reply[0];

    const auto wants = [wanted](TGSMUnsolicitedIndication member) { return (wanted & Indication(member)) != 0; };
    const bool onlyIndication = wants(uindOnlyIndication);
    TGSMUnsolicitedIndications notAvailable = 0;
    int p1 = 1;
    int p2 = 1;
    // One +CNMI parameter: the allowed values of the test reply and the current value.
    const auto next = [&](auto choose) {
        const TByteSet allowed = ParseRangeList(test, p1);
        const std::string cur = ExtractParam(current, p2);
        return choose(allowed, cur);
    };
    const auto wantedParam = [&](TGSMUnsolicitedIndication member, std::initializer_list<int> candidates) {
        return next([&](const TByteSet& allowed, const std::string& cur) -> std::string {
            if (!wants(member))
                return "0";
            bool available = true;
            std::string value = Choose(allowed, candidates, cur, available);
            if (!available)
                notAvailable |= Indication(member);
            return value;
        });
    };
    const auto plainParam = [&](std::initializer_list<int> candidates) {
        return next([&](const TByteSet& allowed, const std::string& cur) {
            bool available = true;
            return Choose(allowed, candidates, cur, available);
        });
    };

    const std::string mode = plainParam({2, 1, 0, 3});
    const std::string mt = onlyIndication ? wantedParam(uindSMSDeliver, {1}) : wantedParam(uindSMSDeliver, {2, 3});
    const std::string bm =
        onlyIndication ? wantedParam(uindCellBroadcast, {1, 2}) : wantedParam(uindCellBroadcast, {2, 3});
    const std::string ds =
        onlyIndication ? wantedParam(uindSMSStatusReport, {2}) : wantedParam(uindSMSStatusReport, {1, 2});
    const std::string bfr = plainParam({1, 0});

    // The result is not checked: a device that refuses the whole command fails every attempt
    // and raises anyway.
    SendATCommand("AT+CNMI=" + mode + "," + mt + "," + bm + "," + ds + "," + bfr, atrCode);
    return notAvailable;
}

std::string TGSM::Identity(const std::string& command)
{
    const bool closed = !Active();
    if (closed) {
        identityCache_.Clear();
        Attach();
    }
    std::string answer;
    try {
        answer = identityCache_.Values(command);
        if (answer.empty()) {
            TStringList reply;
            CheckResult(SendATCommand(command, atrCode | atrParams, 1, &reply));
            // This phone's revision answer is four lines; the fourth is the revision.
            answer = command == "AT+CGMR" && equipment_ == eqNokia6650 && reply.Count() >= 4 ? reply[3] : reply[0];
            identityCache_.SetValue(command, answer);
        }
    } catch (...) {
        if (closed)
            Detach(true);
        throw;
    }
    if (closed)
        Detach(true);
    return answer;
}
