#include "tools/soak/station.h"

#include <charconv>
#include <stdexcept>

#include "platform/com/co_create.h"
#include "platform/com/error_info.h"
#include "platform/com/strings_adapter.h"
#include "platform/sys/main_thread.h"

namespace {

using namespace celvane;

constexpr uint8_t kAtrCode = 1;
constexpr int32_t kStatAll = 4;
constexpr int32_t kRepeatTimeoutMs = 50;

// The description a failed call left for this thread.
std::string ErrorDescription(HRESULT hr)
{
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Out()) == S_OK)
        info->GetDescription(description.Out());
    std::string text = description.Narrow();
    if (text.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
        text = code;
    }
    return text;
}

void Check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        throw std::runtime_error(what + ": " + ErrorDescription(hr));
}

}  // namespace

TStation::TStation(TStationSettings settings, int index, TMessageLedger& ledger)
    : settings_(std::move(settings)), index_(index), ledger_(ledger)
{
}

TStation::~TStation()
{
    if (control_) {
        control_->put_Active(VARIANT_FALSE);
        DisconnectEvents(control_.Get(), cookie_);
    }
}

void TStation::CreateSimulator()
{
    sim::TSimulatorOptions options;
    options.model = settings_.model;
    options.link = settings_.link;
    options.device.pin = settings_.pin;
    options.device.ownNumber = settings_.number;
    options.device.readyDelayMs = 50;
    sim_ = std::make_unique<sim::TSimulator>(options);
}

void TStation::Open()
{
    CreateSimulator();
    const std::string& what = settings_.name;
    Check(CoCreateInstance(CLSID_Celvane, nullptr, ICelvane::kIID, reinterpret_cast<void**>(control_.Out())),
          what + ": creating the control");
    Check(control_->put_DeviceName(Bstr::FromNarrow(settings_.link).Get()), what + ": DeviceName");
    Check(control_->put_Equipment(settings_.equipment), what + ": Equipment");
    Check(control_->put_PIN(Bstr::FromNarrow(settings_.pin).Get()), what + ": PIN");
    Check(control_->put_UnsolicitedIndication(settings_.indications), what + ": UnsolicitedIndication");
    control_->put_RecTimeout(settings_.recTimeoutMs);
    control_->put_RepeatCount(settings_.repeatCount);
    control_->put_RepeatTimeout(kRepeatTimeoutMs);
    sink_ = MakeComObject<CelvaneEventSink>(
        [this](DISPID id, const std::vector<Variant>& arguments) { OnEvent(id, arguments); });
    Check(ConnectEvents(control_.Get(), sink_.Get(), &cookie_), what + ": connecting the sink");
    Activate();
}

void TStation::Activate()
{
    Check(control_->put_Active(VARIANT_TRUE), settings_.name + ": Active");
}

void TStation::Reappear(TStation& peer)
{
    // Closing a control whose port is gone may fail; the reopen below is what must work.
    control_->put_Active(VARIANT_FALSE);
    sim_.reset();
    CreateSimulator();
    peer.Sim().Join(*sim_);
    announced_.clear();   // the new device's store starts empty
    undeleted_.clear();
    Activate();
}

void TStation::OnEvent(DISPID id, const std::vector<Variant>& arguments)
{
    // OnLog arrives on the serial event thread too; only the main thread's events count here.
    if (id != kOnUnsolicitedSMS || !IsMainThread())
        return;
    const int32_t index = arguments[0].lVal;
    if (index >= 0) {
        announced_.push_back(index);
        return;
    }
    if (arguments[1].vt == VT_DISPATCH && arguments[1].pdispVal) {
        ComPtr<ISMS> message;
        if (arguments[1].pdispVal->QueryInterface(IID_PPV_ARGS(message.Out())) == S_OK)
            Take(message.Get());
    }
}

void TStation::Take(ISMS* message)
{
    if (ComPtr<ISMSStatusReport> report = ComPtr<ISMS>(message).Query<ISMSStatusReport>()) {
        ++statusReports_;
        return;
    }
    ComPtr<ISMSDeliver> deliver = ComPtr<ISMS>(message).Query<ISMSDeliver>();
    Bstr text;
    if (!deliver || FAILED(deliver->get_UD(text.Out()))) {
        ledger_.Received(index_, "");   // counted as foreign
        return;
    }
    ledger_.Received(index_, text.Narrow());
}

bool TStation::Send(int id, const std::string& to, bool statusReport, std::string& error)
{
    ComPtr<ISMSSubmit> sms;
    HRESULT hr = CoCreateInstance(CLSID_SMSSubmit, nullptr, ISMSSubmit::kIID, reinterpret_cast<void**>(sms.Out()));
    if (SUCCEEDED(hr))
        hr = sms->put_DA(Bstr::FromNarrow(to).Get());
    if (SUCCEEDED(hr))
        hr = sms->put_UD(Bstr::FromNarrow(TMessageLedger::TextOf(id)).Get());
    if (SUCCEEDED(hr))
        hr = sms->put_SRR(statusReport ? VARIANT_TRUE : VARIANT_FALSE);
    if (SUCCEEDED(hr))
        hr = control_->SendSMS(sms.Get());
    if (FAILED(hr))
        error = ErrorDescription(hr);
    return SUCCEEDED(hr);
}

bool TStation::Probe(std::string& error)
{
    TStringList lines;
    ComPtr<IStrings> list;
    HRESULT hr = CreateStringsAdapter(lines, list.Out());
    int32_t result = 0;
    if (SUCCEEDED(hr)) {
        IStrings* reply = list.Detach();   // the control releases it and hands back its own
        hr = control_->SendATCommand(Bstr(u"AT").Get(), kAtrCode, &reply, 0, &result);
        if (reply)
            reply->Release();
    }
    if (FAILED(hr))
        error = ErrorDescription(hr);
    return SUCCEEDED(hr);
}

bool TStation::Delete(int index)
{
    if (SUCCEEDED(control_->DeleteSMS(index))) {
        undeleted_.erase(index);
        return true;
    }
    ++failedDeletes_;
    undeleted_.insert(index);
    return false;
}

void TStation::Collect()
{
    for (int index : std::set<int>(undeleted_))
        Delete(index);
    // Each announcement once per call; one that fails waits for the next call.
    for (size_t n = announced_.size(); n > 0; --n) {
        const int index = announced_.front();
        announced_.pop_front();
        int32_t stat = -1;
        ComPtr<ISMS> message;
        if (FAILED(control_->ReadSMS(index, &stat, message.Out())) || !message) {
            ++failedReads_;
            announced_.push_back(index);
            continue;
        }
        Take(message.Get());
        Delete(index);
    }
}

void TStation::Sweep()
{
    ComPtr<IStrings2> list;
    if (FAILED(control_->GetSMSList(kStatAll, list.Out())) || !list)
        return;
    int32_t count = 0;
    list->Count(&count);
    for (int32_t i = 0; i < count; ++i) {
        Bstr entry;
        list->get_Item(i, entry.Out());
        const std::string name = entry.Narrow();
        int index = 0;
        if (std::from_chars(name.data(), name.data() + name.size(), index).ec != std::errc())
            continue;
        bool taken = undeleted_.count(index) > 0;
        Variant object;
        if (!taken && SUCCEEDED(list->get_Objects(i, &object)) && object.vt == VT_DISPATCH && object.pdispVal) {
            ComPtr<ISMS> message;
            if (object.pdispVal->QueryInterface(IID_PPV_ARGS(message.Out())) == S_OK) {
                Take(message.Get());
                taken = true;
            }
        }
        // A message the list could not decode stays stored for a read of its own.
        if (taken) {
            std::erase(announced_, index);
            Delete(index);
        }
    }
}
