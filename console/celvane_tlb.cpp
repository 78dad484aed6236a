#include "console/celvane_tlb.h"

#include <condition_variable>
#include <mutex>

#include "console/dispatch_call.h"
#include "platform/com/co_create.h"
#include "platform/com/com_object.h"
#include "platform/com/connection_point.h"
#include "platform/com/ole_error.h"

namespace {

struct ICelvaneEvents : IDispatch {
    static constexpr IID kIID = DIID_ICelvaneEvents;
    using Base = IDispatch;

protected:
    ~ICelvaneEvents() = default;
};

// Events still being delivered on each thread, so that a wrapper closing its sink from inside
// one of its own handlers does not wait for itself.
thread_local int eventsInFlightHere = 0;

}  // namespace

// The sink the control calls. It outlives the wrapper while the control still holds it, and
// events can arrive on the serial port's thread while the wrapper goes away: Detach closes the
// gate and waits for the deliveries already under way.
class TCelvaneEventSink final : public ComObject<ICelvaneEvents> {
public:
    explicit TCelvaneEventSink(TCelvane& owner) : owner_(&owner) {}

    void Detach()
    {
        std::unique_lock guard(lock_);
        owner_ = nullptr;
        finished_.wait(guard, [&] { return inFlight_ <= eventsInFlightHere; });
    }

    HRESULT GetTypeInfoCount(uint32_t* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT GetIDsOfNames(const IID&, const OLECHAR**, uint32_t, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                   uint32_t*) override
    {
        if (!params)
            return E_POINTER;
        TCelvane* owner;
        {
            std::lock_guard guard(lock_);
            owner = owner_;
            if (!owner)
                return S_OK;
            ++inFlight_;
        }
        ++eventsInFlightHere;
        HRESULT result = S_OK;
        try {
            owner->Fire(id, *params);
        } catch (const EOleSysError& e) {
            result = e.ErrorCode();
        } catch (...) {
            // The control discards what its host's handlers raise; this tells it something did.
            result = E_UNEXPECTED;
        }
        --eventsInFlightHere;
        {
            std::lock_guard guard(lock_);
            --inFlight_;
        }
        finished_.notify_all();
        return result;
    }

private:
    std::mutex lock_;
    std::condition_variable finished_;
    TCelvane* owner_;   // guarded by lock_
    int inFlight_ = 0;  // guarded by lock_
};

namespace {

// Argument position of a positional event argument, converted to vt.
Variant EventArgument(const DISPPARAMS& params, uint32_t position, VARTYPE vt)
{
    if (position >= params.cArgs)
        throw EOleSysError(DISP_E_BADPARAMCOUNT, "Missing event argument");
    Variant value;
    OleCheck(VariantChangeType(&value, &params.rgvarg[params.cArgs - 1 - position], vt));
    return value;
}

}  // namespace

TCelvane::TCelvane()
{
    control_ = CreateComInstance<ICelvane>(celvane::CLASS_Celvane);
    sink_ = MakeComObject<TCelvaneEventSink>(*this);
    ComPtr<IConnectionPointContainer> container;
    OleCheck(control_.As(container));
    ComPtr<IConnectionPoint> point;
    OleCheck(container->FindConnectionPoint(DIID_ICelvaneEvents, point.Out()));
    OleCheck(point->Advise(sink_->Identity(), &cookie_));
}

TCelvane::~TCelvane()
{
    sink_->Detach();
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(control_.As(container)) && SUCCEEDED(container->FindConnectionPoint(DIID_ICelvaneEvents, point.Out())))
        point->Unadvise(cookie_);
}

void TCelvane::Fire(DISPID id, DISPPARAMS& params)
{
    switch (id) {
    case celvane::kOnRxChar:
        if (OnRxChar)
            OnRxChar(*this, EventArgument(params, 0, VT_UI1).bVal);
        break;
    case celvane::kOnUnsolicitedLine:
        if (OnUnsolicitedLine)
            OnUnsolicitedLine(*this, EventArgument(params, 0, VT_BSTR).ToNarrow());
        break;
    case celvane::kOnUnsolicitedSMS:
        if (OnUnsolicitedSMS) {
            const int32_t idx = EventArgument(params, 0, VT_I4).lVal;
            ComPtr<ISMS> sms;
            Variant object = EventArgument(params, 1, VT_DISPATCH);
            if (object.pdispVal)
                object.pdispVal->QueryInterface(IID_PPV_ARGS(sms.Out()));
            OnUnsolicitedSMS(*this, idx, sms.Get());
        }
        break;
    case celvane::kOnNetworkRegistration:
        if (OnNetworkRegistration)
            OnNetworkRegistration(*this, EventArgument(params, 0, VT_I4).lVal);
        break;
    case celvane::kOnBusyChanged:
        if (OnBusyChanged)
            OnBusyChanged(*this, EventArgument(params, 0, VT_BOOL).boolVal != VARIANT_FALSE);
        break;
    case celvane::kOnLog:
        if (OnLog)
            OnLog(*this, EventArgument(params, 0, VT_UI1).bVal, EventArgument(params, 1, VT_BSTR).ToNarrow());
        break;
    default:
        break;
    }
}

Variant TCelvane::GetProperty(DISPID id) const
{
    return DispatchGet(control_.Get(), id);
}

void TCelvane::SetProperty(DISPID id, const Variant& value)
{
    DispatchPut(control_.Get(), id, value);
}

bool TCelvane::Active() const { return GetProperty(celvane::kActive).ToBool(); }
void TCelvane::SetActive(bool value) { SetProperty(celvane::kActive, Variant::Bool(value)); }
int32_t TCelvane::Equipment() const { return GetProperty(celvane::kEquipment).ToInt(); }
void TCelvane::SetEquipment(int32_t value) { SetProperty(celvane::kEquipment, Variant::I4(value)); }
int32_t TCelvane::SMSFormat() const { return GetProperty(celvane::kSMSFormat).ToInt(); }
void TCelvane::SetSMSFormat(int32_t value) { SetProperty(celvane::kSMSFormat, Variant::I4(value)); }
int32_t TCelvane::UnsolicitedIndication() const { return GetProperty(celvane::kUnsolicitedIndication).ToInt(); }
void TCelvane::SetUnsolicitedIndication(int32_t value)
{
    SetProperty(celvane::kUnsolicitedIndication, Variant::I4(value));
}
std::string TCelvane::PIN() const { return GetProperty(celvane::kPIN).ToNarrow(); }
void TCelvane::SetPIN(const std::string& value) { SetProperty(celvane::kPIN, Variant::Narrow(value)); }
std::string TCelvane::SCA() const { return GetProperty(celvane::kSCA).ToNarrow(); }
void TCelvane::SetSCA(const std::string& value) { SetProperty(celvane::kSCA, Variant::Narrow(value)); }
int32_t TCelvane::RecTimeout() const { return GetProperty(celvane::kRecTimeout).ToInt(); }
void TCelvane::SetRecTimeout(int32_t value) { SetProperty(celvane::kRecTimeout, Variant::I4(value)); }
std::string TCelvane::DeviceName() const { return GetProperty(celvane::kDeviceName).ToNarrow(); }
void TCelvane::SetDeviceName(const std::string& value) { SetProperty(celvane::kDeviceName, Variant::Narrow(value)); }
int32_t TCelvane::BaudRate() const { return GetProperty(celvane::kBaudRate).ToInt(); }
void TCelvane::SetBaudRate(int32_t value) { SetProperty(celvane::kBaudRate, Variant::I4(value)); }
std::string TCelvane::ManufacturerId() const { return GetProperty(celvane::kManufacturerId).ToNarrow(); }
std::string TCelvane::ModelId() const { return GetProperty(celvane::kModelId).ToNarrow(); }
std::string TCelvane::RevisionId() const { return GetProperty(celvane::kRevisionId).ToNarrow(); }
std::string TCelvane::SerialNumberId() const { return GetProperty(celvane::kSerialNumberId).ToNarrow(); }

void TCelvane::SetDefaults()
{
    DispatchCall(control_.Get(), celvane::kSetDefaults);
}

int32_t TCelvane::SendATCommand(const std::string& cmd, uint8_t waitFor, ComPtr<IStrings>& resultS, int32_t repCount)
{
    Variant lines = Variant::Dispatch(resultS.Get());
    const int32_t result = DispatchCall(control_.Get(), celvane::kSendATCommand,
                                        {Variant::Narrow(cmd), Variant::UI1(waitFor), OutArgument(lines),
                                         Variant::I4(repCount)})
                               .ToInt();
    resultS.Reset();
    if (lines.vt == VT_DISPATCH && lines.pdispVal)
        lines.pdispVal->QueryInterface(IID_PPV_ARGS(resultS.Out()));
    return result;
}

void TCelvane::SendSMS(ISMS2* sms)
{
    DispatchCall(control_.Get(), celvane::kSendSMS, {Variant::Dispatch(sms)});
}

ComPtr<ISMS> TCelvane::ReadSMS(int32_t index, int32_t& stat)
{
    Variant status = Variant::I4(0);
    Variant message = DispatchCall(control_.Get(), celvane::kReadSMS, {Variant::I4(index), OutArgument(status)});
    stat = status.ToInt();
    ComPtr<ISMS> sms;
    if (message.vt == VT_DISPATCH && message.pdispVal)
        message.pdispVal->QueryInterface(IID_PPV_ARGS(sms.Out()));
    return sms;
}

void TCelvane::DeleteSMS(int32_t index)
{
    DispatchCall(control_.Get(), celvane::kDeleteSMS, {Variant::I4(index)});
}

ComPtr<IStrings2> TCelvane::GetSMSList(int32_t stat)
{
    Variant list = DispatchCall(control_.Get(), celvane::kGetSMSList, {Variant::I4(stat)});
    ComPtr<IStrings2> strings;
    if (list.vt == VT_DISPATCH && list.pdispVal)
        OleCheck(list.pdispVal->QueryInterface(IID_PPV_ARGS(strings.Out())));
    return strings;
}

void TCelvane::SwitchOff()
{
    DispatchCall(control_.Get(), celvane::kSwitchOff);
}

void TCelvane::SendChar(const std::string& s)
{
    DispatchCall(control_.Get(), celvane::kSendChar, {Variant::Narrow(s)});
}

ComPtr<IGlobal> CoGlobal::Create()
{
    return CreateComInstance<IGlobal>(celvane::CLASS_Global);
}

ComPtr<ISMSSubmit> CoSMSSubmit::Create()
{
    return CreateComInstance<ISMSSubmit>(celvane::CLASS_SMSSubmit);
}
