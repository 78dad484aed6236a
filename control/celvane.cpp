#include "control/celvane.h"

#include <charconv>
#include <cstdlib>

#include "codec/sms.h"
#include "control/automation_values.h"
#include "control/celvane_type_library.h"
#include "control/engine_copy.h"
#include "control/gsm_logger.h"
#include "control/message_objects.h"
#include "control/ole_stream.h"
#include "control/property_stream.h"
#include "control/string_list_objects.h"
#include "link/comm.h"
#include "link/hex_text.h"
#include "modem/gsm.h"
#include "platform/com/ole_error.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr DispatchBinding kICelvaneBindings[] = {
    BindMethod<&ICelvane::Busy>("Busy"),
    BindMethod<&ICelvane::Unbusy>("Unbusy"),
    BindMethod<&ICelvane::SetDefaults>("SetDefaults"),
    BindGet<&ICelvane::get_Active>("Active"),
    BindPut<&ICelvane::put_Active>("Active"),
    BindFunction<&ICelvane::SendATCommand>("SendATCommand"),
    BindMethod<&ICelvane::SendSMS>("SendSMS"),
    BindFunction<&ICelvane::ReadSMS>("ReadSMS"),
    BindMethod<&ICelvane::DeleteSMS>("DeleteSMS"),
    BindFunction<&ICelvane::GetSMSList>("GetSMSList"),
    BindMethod<&ICelvane::SwitchOff>("SwitchOff"),
    BindGet<&ICelvane::get_LastError>("LastError"),
    BindGet<&ICelvane::get_IsBusy>("IsBusy"),
    BindGet<&ICelvane::get_LastErrorMsg>("LastErrorMsg"),
    BindGet<&ICelvane::get_ErrorCodes>("ErrorCodes"),
    BindPut<&ICelvane::put_ErrorCodes>("ErrorCodes"),
    BindGet<&ICelvane::get_NetworkRegistration>("NetworkRegistration"),
    BindGet<&ICelvane::get_Mem1>("Mem1"),
    BindPut<&ICelvane::put_Mem1>("Mem1"),
    BindGet<&ICelvane::get_ManufacturerId>("ManufacturerId"),
    BindGet<&ICelvane::get_ModelId>("ModelId"),
    BindGet<&ICelvane::get_RevisionId>("RevisionId"),
    BindGet<&ICelvane::get_SerialNumberId>("SerialNumberId"),
    BindGet<&ICelvane::get_Equipment>("Equipment"),
    BindPut<&ICelvane::put_Equipment>("Equipment"),
    BindGet<&ICelvane::get_SMSFormat>("SMSFormat"),
    BindPut<&ICelvane::put_SMSFormat>("SMSFormat"),
    BindGet<&ICelvane::get_UnsolicitedIndication>("UnsolicitedIndication"),
    BindPut<&ICelvane::put_UnsolicitedIndication>("UnsolicitedIndication"),
    BindGet<&ICelvane::get_PIN>("PIN"),
    BindPut<&ICelvane::put_PIN>("PIN"),
    BindGet<&ICelvane::get_SCA>("SCA"),
    BindPut<&ICelvane::put_SCA>("SCA"),
    BindGet<&ICelvane::get_CommandEcho>("CommandEcho"),
    BindPut<&ICelvane::put_CommandEcho>("CommandEcho"),
    BindGet<&ICelvane::get_ExtendedErrorMsg>("ExtendedErrorMsg"),
    BindPut<&ICelvane::put_ExtendedErrorMsg>("ExtendedErrorMsg"),
    BindGet<&ICelvane::get_RepeatCount>("RepeatCount"),
    BindPut<&ICelvane::put_RepeatCount>("RepeatCount"),
    BindGet<&ICelvane::get_RecTimeout>("RecTimeout"),
    BindPut<&ICelvane::put_RecTimeout>("RecTimeout"),
    BindGet<&ICelvane::get_RepeatTimeout>("RepeatTimeout"),
    BindPut<&ICelvane::put_RepeatTimeout>("RepeatTimeout"),
    BindGet<&ICelvane::get_DeviceName>("DeviceName"),
    BindPut<&ICelvane::put_DeviceName>("DeviceName"),
    BindGet<&ICelvane::get_Parity>("Parity"),
    BindPut<&ICelvane::put_Parity>("Parity"),
    BindGet<&ICelvane::get_StopBits>("StopBits"),
    BindPut<&ICelvane::put_StopBits>("StopBits"),
    BindGet<&ICelvane::get_BaudRate>("BaudRate"),
    BindPut<&ICelvane::put_BaudRate>("BaudRate"),
    BindGet<&ICelvane::get_DataBits>("DataBits"),
    BindPut<&ICelvane::put_DataBits>("DataBits"),
    BindMethod<&ICelvane::SendChar>("SendChar"),
    BindGet<&ICelvane::get_SupportedSMSFormats>("SupportedSMSFormats"),
    BindGet<&ICelvane::get_CheckInterval>("CheckInterval"),
    BindPut<&ICelvane::put_CheckInterval>("CheckInterval"),
};

constexpr uint32_t kInitialCheckIntervalMs = 600000;
constexpr uint32_t kMsPerSecond = 1000;

// Models whose unfiltered list misses messages: the poll asks for every status instead.
constexpr TGSMEquipment kListAllModels[] = {eqM20, eqNokia9110, eqWaveCom};
constexpr int kStatAll = 4;
constexpr int kStatDefault = -1;
constexpr int kPolledIndex = -1;

// A line setting from the interface: an ordinal of its enumeration, or a clear refusal.
template <class E>
E Ordinal(int32_t value, int32_t count, const char* type)
{
    if (value < 0 || value >= count)
        throw Exception(Format("%d is not a valid %s value", value, type));
    return static_cast<E>(value);
}

bool ParseDecimal(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

} // namespace

const DispatchTable& CelvaneTable()
{
    static const DispatchTable table(kICelvaneDescription, {kICelvaneBindings});
    return table;
}

TCelvane::TCelvane()
{
    checkTimer_ = std::make_unique<TTimer>();
    checkTimer_->SetEnabled(false);
    checkTimer_->SetInterval(kInitialCheckIntervalMs);
    checkTimer_->OnTimer = [this] { Poll(); };

    engine_ = std::make_unique<TGSM>();
    comm_ = new TComm(engine_.get());
    engine_->SetCOMDevice(comm_);
    engine_->OnBusyChanged = [this](TObject*, bool busy) { Fire(celvane::kOnBusyChanged, {Variant::Bool(busy)}); };
    engine_->OnRxChar = [this](TObject*, char c) {
        Fire(celvane::kOnRxChar, {Variant::UI1(static_cast<uint8_t>(c))});
    };
    engine_->OnUnsolicitedLine = [this](TObject*, const std::string& line) {
        Fire(celvane::kOnUnsolicitedLine, {Variant::Narrow(line)});
    };
    engine_->OnUnsolicitedSMS = [this](TObject*, int index, TSMS* message) { FireSMS(index, message); };
    engine_->OnNetworkRegistration = [this](TObject*, int status) {
        Fire(celvane::kOnNetworkRegistration, {Variant::I4(status)});
    };

    logger_ = new TGSMLogger(engine_.get());
    comm_->SetLogger(logger_);
    logger_->OnLogEntry = [this](TObject*, uint8_t channel, const std::u16string& text) {
        Fire(celvane::kOnLog, {Variant::UI1(channel), Variant::Str(text)});
    };
    logger_->Open();
}

TCelvane::~TCelvane()
{
    checkTimer_.reset();
    // The engine goes before the serial device it restores; closing the device logs nothing
    // more to the host.
    comm_->SetLogger(nullptr);
    engine_.reset();
}

template <class Body>
HRESULT TCelvane::Guard(Body&& body)
{
    return SafeCall(ICelvane::kIID, kCelvaneProgId, std::forward<Body>(body));
}

template <class Apply>
HRESULT TCelvane::PortSetting(Apply&& apply)
{
    return Guard([&] {
        // Also ends raw terminal mode.
        if (!engine_->Active())
            comm_->Close();
        apply();
    });
}

void TCelvane::Fire(DISPID id, std::initializer_list<Variant> arguments)
{
    // The host's failures are not the engine's: whatever a sink does is discarded here.
    try {
        std::vector<Variant> values(arguments);
        std::vector<VARIANT> raw(values.begin(), values.end());
        Events().Fire(id, raw);
    } catch (...) {
    }
}

void TCelvane::FireSMS(int index, const TSMS* message)
{
    try {
        ComPtr<ISMS> object = GSM2::WrapSMS(message);
        Fire(celvane::kOnUnsolicitedSMS, {Variant::I4(index), Variant::Dispatch(object.Get())});
    } catch (...) {
    }
}

void TCelvane::RawReceive(int count)
{
    if (count <= 0)
        return;
    // One guard for the batch: a failure drops the rest of it.
    try {
        std::string bytes;
        comm_->ReadString(count, bytes);
        for (char c : bytes) {
            Variant argument = Variant::UI1(static_cast<uint8_t>(c));
            Events().Fire(celvane::kOnRxChar, std::span<VARIANT>(static_cast<VARIANT*>(&argument), 1));
        }
    } catch (...) {
    }
}

void TCelvane::Poll()
{
    if (!engine_->Active())
        return;
    checkTimer_->SetEnabled(false);
    std::unique_ptr<TStringList> list;
    try {
        const TGSMEquipment model = engine_->Equipment();
        const bool listAll = std::find(std::begin(kListAllModels), std::end(kListAllModels), model) !=
                             std::end(kListAllModels);
        list = engine_->GetSMSList(listAll ? kStatAll : kStatDefault);
    } catch (...) {
        checkTimer_->SetEnabled(true);
        throw;
    }
    for (int i = list->Count() - 1; i >= 0; --i) {
        // One entry's failure (a name that is no index, the device refusing) is discarded.
        try {
            int index = 0;
            if (!ParseDecimal(list->Names(i), index))
                continue;
            if (auto* message = dynamic_cast<TSMS*>(list->GetObject(i)))
                FireSMS(kPolledIndex, message);
            engine_->DeleteSMS(index);
        } catch (...) {
        }
    }
    checkTimer_->SetEnabled(true);
}

HRESULT TCelvane::Busy()
{
    return Guard([&] { engine_->Busy(); });
}
HRESULT TCelvane::Unbusy()
{
    return Guard([&] { engine_->Unbusy(); });
}
HRESULT TCelvane::SetDefaults()
{
    return Guard([&] { engine_->SetDefaults(); });
}
HRESULT TCelvane::get_Active(VARIANT_BOOL* value)
{
    return GiveBool(engine_->Active(), value);
}
HRESULT TCelvane::put_Active(VARIANT_BOOL value)
{
    return Guard([&] {
        const bool on = IsTrue(value);
        try {
            if (on)
                comm_->Open();
            engine_->SetActive(on);
            if (!on)
                comm_->Close();
        } catch (...) {
            checkTimer_->SetEnabled(engine_->Active());
            throw;
        }
        checkTimer_->SetEnabled(engine_->Active());
    });
}

HRESULT TCelvane::SendATCommand(BSTR Cmd, uint8_t WaitFor, IStrings** ResultS, int32_t RepCount, int32_t* result)
{
    if (!result)
        return E_POINTER;
    return Guard([&] {
        if (!ResultS || !*ResultS)
            throw Exception("SendATCommand needs a string list in ResultS");
        auto reply = std::make_unique<TStringList>();
        CopyStrings(*ResultS, *reply);
        TStringList& lines = *reply;
        *result = engine_->SendATCommand(NarrowBstr(Cmd), WaitFor, RepCount, &lines);
        ComPtr<IStrings> handedBack;
        OleCheck(CreateOwnedStrings(std::move(reply), handedBack.Out()));
        (*ResultS)->Release();
        *ResultS = handedBack.Detach();
    });
}

HRESULT TCelvane::SendSMS(ISMS2* SMS)
{
    return Guard([&] {
        if (!SMS)
            throw Exception("SendSMS needs a message object");
        Bstr pdu;
        OleCheck(SMS->get_PDU(pdu.Out()));
        // The object encoded its PDU for the control in its GSM, or with a service centre field
        // when it has none: read it back the same way, then hand it to this engine's device.
        ComPtr<ICelvane> encodedFor;
        OleCheck(SMS->get_GSM(encodedFor.Out()));
        std::unique_ptr<TGSM> encoder = MakeEngineCopy(encodedFor.Get());
        std::unique_ptr<TSMS2> message = TSMS2::CreateSMS(encoder.get(), pdu.Narrow(), false);
        if (!message)
            throw Exception("The message object holds no message to send");
        message->SetGSM(engine_.get());
        engine_->SendSMS(*message);
    });
}

HRESULT TCelvane::ReadSMS(int32_t Index, int32_t* Stat, ISMS** result)
{
    // Refused before the read: a message read and then not handed out would be lost.
    if (!Stat || !result)
        return E_POINTER;
    return Guard([&] {
        int stat = 0;
        std::unique_ptr<TSMS2> message = engine_->ReadSMS(Index, stat);
        *Stat = stat;
        *result = GSM2::WrapSMS(message.get()).Detach();
    });
}

HRESULT TCelvane::DeleteSMS(int32_t Index)
{
    return Guard([&] { engine_->DeleteSMS(Index); });
}

HRESULT TCelvane::GetSMSList(int32_t Stat, IStrings2** result)
{
    return Guard([&] { OleCheck(CreateSMSListAdapter(engine_->GetSMSList(Stat), result)); });
}

HRESULT TCelvane::SwitchOff()
{
    return Guard([&] { engine_->SwitchOff(); });
}
HRESULT TCelvane::get_LastError(int32_t* value)
{
    return Give<int32_t>(engine_->LastError(), value);
}
HRESULT TCelvane::get_IsBusy(VARIANT_BOOL* value)
{
    return GiveBool(engine_->IsBusy(), value);
}
HRESULT TCelvane::get_LastErrorMsg(BSTR* value)
{
    return GiveString(engine_->LastErrorMsg(), value);
}

HRESULT TCelvane::get_ErrorCodes(IStrings** value)
{
    return Guard([&] { OleCheck(CreateStringsView(engine_->ErrorCodes(), Identity(), value)); });
}

HRESULT TCelvane::put_ErrorCodes(IStrings* value)
{
    return Guard([&] {
        if (!value)
            throw Exception("ErrorCodes needs a string list");
        // Read whole first: the list given may be a view of the engine's own.
        TStringList items;
        CopyStrings(value, items);
        // A result code that is no integer would turn every later reply into a failure:
        // refused here, with the engine's table left as it was.
        for (int i = 0; i < items.Count(); ++i) {
            const std::string name = items.Names(i);
            const std::string code = items.ValueFromIndex(i);
            int ignored = 0;
            if (!code.empty() && !UpperCaseAscii(name).ends_with(".PARAMS") && !TryStrToInt(code, ignored))
                throw Exception(Format("ErrorCodes: '%s' is not a valid integer value for %s", code.c_str(),
                                       name.c_str()));
        }
        engine_->ErrorCodes().Assign(items);
    });
}

HRESULT TCelvane::get_NetworkRegistration(int32_t* value)
{
    return Give<int32_t>(engine_->NetworkRegistration(), value);
}
HRESULT TCelvane::get_Mem1(BSTR* value)
{
    return GiveString(engine_->Mem1(), value);
}
HRESULT TCelvane::put_Mem1(BSTR value)
{
    return Guard([&] { engine_->SetMem1(NarrowBstr(value)); });
}
HRESULT TCelvane::get_ManufacturerId(BSTR* value)
{
    return Guard([&] { *value = Bstr::FromNarrow(engine_->ManufacturerId()).Detach(); });
}
HRESULT TCelvane::get_ModelId(BSTR* value)
{
    return Guard([&] { *value = Bstr::FromNarrow(engine_->ModelId()).Detach(); });
}
HRESULT TCelvane::get_RevisionId(BSTR* value)
{
    return Guard([&] { *value = Bstr::FromNarrow(engine_->RevisionId()).Detach(); });
}
HRESULT TCelvane::get_SerialNumberId(BSTR* value)
{
    return Guard([&] { *value = Bstr::FromNarrow(engine_->SerialNumberId()).Detach(); });
}
HRESULT TCelvane::get_Equipment(int32_t* value)
{
    return Give<int32_t>(engine_->Equipment(), value);
}
HRESULT TCelvane::put_Equipment(int32_t value)
{
    return Guard([&] { engine_->SetEquipment(static_cast<TGSMEquipment>(value)); });
}
HRESULT TCelvane::get_SMSFormat(int32_t* value)
{
    return Give<int32_t>(engine_->SMSFormat(), value);
}
HRESULT TCelvane::put_SMSFormat(int32_t value)
{
    return Guard([&] { engine_->SetSMSFormat(Ordinal<uint8_t>(value, smsfText + 1, "TSMSFormat")); });
}
HRESULT TCelvane::get_UnsolicitedIndication(int32_t* value)
{
    return Give<int32_t>(engine_->UnsolicitedIndication(), value);
}
HRESULT TCelvane::put_UnsolicitedIndication(int32_t value)
{
    return Guard([&] {
        engine_->SetUnsolicitedIndication(static_cast<TGSMUnsolicitedIndications>(value & celvane::kIndicationMask));
    });
}
HRESULT TCelvane::get_PIN(BSTR* value)
{
    return GiveString(engine_->PIN(), value);
}
HRESULT TCelvane::put_PIN(BSTR value)
{
    return Guard([&] { engine_->SetPIN(NarrowBstr(value)); });
}
HRESULT TCelvane::get_SCA(BSTR* value)
{
    return GiveString(engine_->SCA(), value);
}
HRESULT TCelvane::put_SCA(BSTR value)
{
    return Guard([&] { engine_->SetSCA(NarrowBstr(value)); });
}
HRESULT TCelvane::get_CommandEcho(VARIANT_BOOL* value)
{
    return GiveBool(engine_->CommandEcho(), value);
}
HRESULT TCelvane::put_CommandEcho(VARIANT_BOOL value)
{
    return Guard([&] { engine_->SetCommandEcho(IsTrue(value)); });
}
HRESULT TCelvane::get_ExtendedErrorMsg(VARIANT_BOOL* value)
{
    return GiveBool(engine_->ExtendedErrorMsg(), value);
}
HRESULT TCelvane::put_ExtendedErrorMsg(VARIANT_BOOL value)
{
    return Store([&] { engine_->SetExtendedErrorMsg(IsTrue(value)); });
}
HRESULT TCelvane::get_RepeatCount(int32_t* value)
{
    return Give<int32_t>(engine_->RepeatCount(), value);
}
HRESULT TCelvane::put_RepeatCount(int32_t value)
{
    return Store([&] { engine_->SetRepeatCount(value); });
}
HRESULT TCelvane::get_RecTimeout(int32_t* value)
{
    return Give<int32_t>(engine_->RecTimeout(), value);
}
HRESULT TCelvane::put_RecTimeout(int32_t value)
{
    return Store([&] { engine_->SetRecTimeout(value); });
}
HRESULT TCelvane::get_RepeatTimeout(int32_t* value)
{
    return Give<int32_t>(engine_->RepeatTimeout(), value);
}
HRESULT TCelvane::put_RepeatTimeout(int32_t value)
{
    return Store([&] { engine_->SetRepeatTimeout(value); });
}
HRESULT TCelvane::get_DeviceName(BSTR* value)
{
    return GiveString(comm_->DeviceName(), value);
}
HRESULT TCelvane::put_DeviceName(BSTR value)
{
    return PortSetting([&] { comm_->SetDeviceName(NarrowBstr(value)); });
}
HRESULT TCelvane::get_Parity(int32_t* value)
{
    return Give<int32_t>(comm_->Parity(), value);
}
HRESULT TCelvane::put_Parity(int32_t value)
{
    return PortSetting([&] { comm_->SetParity(Ordinal<TParity>(value, paSpace + 1, "TParity")); });
}
HRESULT TCelvane::get_StopBits(int32_t* value)
{
    return Give<int32_t>(comm_->Stopbits(), value);
}
HRESULT TCelvane::put_StopBits(int32_t value)
{
    return PortSetting([&] { comm_->SetStopbits(Ordinal<TStopbits>(value, sb20 + 1, "TStopBits")); });
}
HRESULT TCelvane::get_BaudRate(int32_t* value)
{
    return Give<int32_t>(comm_->Baudrate(), value);
}
HRESULT TCelvane::put_BaudRate(int32_t value)
{
    return PortSetting([&] { comm_->SetBaudrate(Ordinal<TBaudrate>(value, br256000 + 1, "TBaudRate")); });
}
HRESULT TCelvane::get_DataBits(int32_t* value)
{
    return Give<int32_t>(comm_->Databits(), value);
}
HRESULT TCelvane::put_DataBits(int32_t value)
{
    return PortSetting([&] { comm_->SetDatabits(Ordinal<TDatabits>(value, da8 + 1, "TDataBits")); });
}

HRESULT TCelvane::SendChar(BSTR S)
{
    return Guard([&] {
        if (!engine_->Active()) {
            if (!rawHandlerSet_) {
                // The event thread reads the handler without a lock: change it only while closed.
                comm_->Close();
                comm_->OnRxChar = [this](TObject*, int count) { RawReceive(count); };
                comm_->SetDontSynchronize(true);
                rawHandlerSet_ = true;
            }
            comm_->Open();
        }
        comm_->WriteString(NarrowBstr(S));
    });
}

HRESULT TCelvane::get_SupportedSMSFormats(int32_t* value)
{
    return Give<int32_t>(engine_->SupportedSMSFormats(), value);
}
HRESULT TCelvane::get_CheckInterval(int32_t* value)
{
    return Give<int32_t>(checkTimer_->Interval() / kMsPerSecond, value);
}
HRESULT TCelvane::put_CheckInterval(int32_t value)
{
    return Guard([&] {
        if (value < 0 || value > INT32_MAX / static_cast<int32_t>(kMsPerSecond))
            throw Exception(Format("CheckInterval (%d) is out of range", value));
        checkTimer_->SetInterval(static_cast<uint32_t>(value) * kMsPerSecond);
    });
}

HRESULT TCelvane::GetClassID(CLSID* clsid)
{
    return Give(celvane::CLSID_Celvane, clsid);
}

HRESULT TCelvane::IsDirty()
{
    // Properties change through the engine and the device as well: always worth a save.
    return S_OK;
}

HRESULT TCelvane::Load(IStream* stream)
{
    return SafeCall(IPersistStreamInit::kIID, kCelvaneProgId, [&] {
        if (!stream)
            throw EOleSysError(E_POINTER, "No stream to load from");
        TOleStream in(stream);
        frame_.ReadBlock(in);
        LoadProperties(*this, in);
    });
}

HRESULT TCelvane::Save(IStream* stream, int32_t)
{
    return SafeCall(IPersistStreamInit::kIID, kCelvaneProgId, [&] {
        if (!stream)
            throw EOleSysError(E_POINTER, "No stream to save to");
        TOleStream out(stream);
        frame_.WriteBlock(out);
        SaveProperties(*this, out);
    });
}

HRESULT TCelvane::GetSizeMax(uint64_t*)
{
    return E_NOTIMPL;
}

HRESULT TCelvane::InitNew()
{
    return S_OK;
}

HRESULT TCelvane::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->pElems = static_cast<GUID*>(std::malloc(sizeof(GUID)));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_UNEXPECTED;
    }
    pages->cElems = 1;
    pages->pElems[0] = celvane::CLSID_UnsolicitedIndicationPage;
    return S_OK;
}

HRESULT CreateCelvane(const IID& iid, void** object)
{
    return CreateComObject<TCelvane>(iid, object);
}
