#include "control/global.h"

#include "codec/default_alphabet.h"
#include "codec/gsm_equipment.h"
#include "codec/sms.h"
#include "codec/validity_period.h"
#include "control/automation_values.h"
#include "control/celvane_type_library.h"
#include "control/engine_copy.h"
#include "control/message_objects.h"
#include "control/dispatch_tables.h"
#include "link/baud_rate.h"
#include "modem/at_response.h"
#include "modem/gsm.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"

namespace {

constexpr DispatchBinding kIGlobalBindings[] = {
    BindFunction<&IGlobal::DTToValPer>("DTToValPer"),
    BindFunction<&IGlobal::ValPerToDT>("ValPerToDT"),
    BindFunction<&IGlobal::ISOToSMS>("ISOToSMS"),
    BindFunction<&IGlobal::SMSToISO>("SMSToISO"),
    BindFunction<&IGlobal::Int2BaudRate>("Int2BaudRate"),
    BindFunction<&IGlobal::BaudRate2Int>("BaudRate2Int"),
    BindFunction<&IGlobal::ISMS2_CreateSMS>("ISMS2_CreateSMS"),
    BindFunction<&IGlobal::GSMEquipmentShortName>("GSMEquipmentShortName"),
    BindFunction<&IGlobal::GSMEquipmentLongName>("GSMEquipmentLongName"),
    BindFunction<&IGlobal::Str2GMSEquipment>("Str2GMSEquipment"),
    BindFunction<&IGlobal::StripATResponse>("StripATResponse"),
    BindFunction<&IGlobal::IsATResponse>("IsATResponse"),
    BindFunction<&IGlobal::ExtractParam>("ExtractParam"),
    BindFunction<&IGlobal::TrimQuotes>("TrimQuotes"),
};

} // namespace

const DispatchTable& GlobalTable()
{
    static const DispatchTable table(kIGlobalDescription, {kIGlobalBindings});
    return table;
}

namespace {

constexpr const char* kSource = "Celvane.Global";

class TGlobal final : public ComObject<DispatchImpl<IGlobal, &GlobalTable>, SupportErrorInfo<IGlobal>> {
public:
    HRESULT DTToValPer(DATE DT, uint8_t* result) override { return Give(::DTToValPer(DT), result); }
    HRESULT ValPerToDT(uint8_t VP, DATE* result) override { return Give(::ValPerToDT(VP), result); }
    HRESULT ISOToSMS(BSTR S, BSTR* result) override { return GiveString(::ISOToSMS(NarrowBstr(S)), result); }
    HRESULT SMSToISO(BSTR S, BSTR* result) override { return GiveString(::SMSToISO(NarrowBstr(S)), result); }
    HRESULT Int2BaudRate(int32_t BR1, int32_t* BR, VARIANT_BOOL* result) override
    {
        if (!BR || !result)
            return E_POINTER;
        TBaudrate rate{};
        const bool found = ::Int2BaudRate(BR1, rate);
        if (found)
            *BR = rate;
        return GiveBool(found, result);
    }
    HRESULT BaudRate2Int(int32_t BR, int32_t* result) override
    {
        // The table's own range check would see only the low byte of a larger value.
        const bool known = BR >= 0 && BR < static_cast<int32_t>(std::size(kBaudRates));
        return Give(known ? ::BaudRate2Int(static_cast<TBaudrate>(BR)) : 0, result);
    }
    HRESULT ISMS2_CreateSMS(ICelvane* Owner, BSTR PDU, VARIANT_BOOL MTDir, ISMS2** result) override
    {
        return Guard([&] {
            *result = nullptr;
            std::unique_ptr<TGSM> owner = MakeEngineCopy(Owner);
            std::unique_ptr<TSMS2> message = TSMS2::CreateSMS(owner.get(), NarrowBstr(PDU), IsTrue(MTDir));
            if (ComPtr<ISMS> object = GSM2::WrapSMS(message.get()))
                *result = object.Query<ISMS2>().Detach();
        });
    }
    HRESULT GSMEquipmentShortName(int32_t Eq, BSTR* result) override
    {
        return GiveString(::GSMEquipmentShortName(Eq), result);
    }
    HRESULT GSMEquipmentLongName(int32_t Eq, BSTR* result) override
    {
        return GiveString(::GSMEquipmentLongName(Eq), result);
    }
    HRESULT Str2GMSEquipment(BSTR S, int32_t* result) override
    {
        return Guard([&] { *result = ::Str2GMSEquipment(NarrowBstr(S)); });
    }
    HRESULT StripATResponse(BSTR S, BSTR* result) override
    {
        return GiveString(::StripATResponse(NarrowBstr(S)), result);
    }
    HRESULT IsATResponse(BSTR S, VARIANT_BOOL* result) override
    {
        return GiveBool(::IsATResponse(NarrowBstr(S)), result);
    }
    HRESULT ExtractParam(BSTR S, int32_t* Pos, BSTR* result) override
    {
        if (!Pos)
            return E_POINTER;
        int pos = *Pos;
        std::string param = ::ExtractParam(NarrowBstr(S), pos);
        *Pos = pos;
        return GiveString(param, result);
    }
    HRESULT TrimQuotes(BSTR S, BSTR* result) override { return GiveString(::TrimQuotes(NarrowBstr(S)), result); }

private:
    template <class Body>
    static HRESULT Guard(Body&& body)
    {
        return SafeCall(IGlobal::kIID, kSource, std::forward<Body>(body));
    }
};

} // namespace

HRESULT CreateGlobal(const IID& iid, void** object)
{
    return CreateComObject<TGlobal>(iid, object);
}
