#include "control/message_objects.h"
#include "control/dispatch_tables.h"

#include <memory>
#include <type_traits>

#include "codec/cell_broadcast.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "control/automation_values.h"
#include "control/celvane_type_library.h"
#include "control/engine_copy.h"
#include "modem/gsm.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"

namespace GSM2 {
namespace {

// --- Dispatch tables: one binding per declared member, each interface its own span ----------

constexpr DispatchBinding kISMSBindings[] = {
    BindGet<&ISMS::get_PDU>("PDU"), BindPut<&ISMS::put_PDU>("PDU"),
    BindGet<&ISMS::get_GSM>("GSM"), BindPut<&ISMS::put_GSM>("GSM"),
};
constexpr DispatchBinding kISMS2Bindings[] = {
    BindGet<&ISMS2::get_PDUType>("PDUType"), BindPut<&ISMS2::put_PDUType>("PDUType"),
    BindGet<&ISMS2::get_MTI>("MTI"),         BindPut<&ISMS2::put_MTI>("MTI"),
    BindGet<&ISMS2::get_DCS>("DCS"),         BindPut<&ISMS2::put_DCS>("DCS"),
    BindGet<&ISMS2::get_SCA>("SCA"),         BindPut<&ISMS2::put_SCA>("SCA"),
    BindGet<&ISMS2::get_UD>("UD"),           BindPut<&ISMS2::put_UD>("UD"),
    BindGet<&ISMS2::get_WideUD>("WideUD"),   BindPut<&ISMS2::put_WideUD>("WideUD"),
};
constexpr DispatchBinding kISMSDeliverBindings[] = {
    BindGet<&ISMSDeliver::get_PID>("PID"),       BindPut<&ISMSDeliver::put_PID>("PID"),
    BindGet<&ISMSDeliver::get_OA>("OA"),         BindPut<&ISMSDeliver::put_OA>("OA"),
    BindGet<&ISMSDeliver::get_SCTS>("SCTS"),     BindPut<&ISMSDeliver::put_SCTS>("SCTS"),
    BindGet<&ISMSDeliver::get_SCTSTZ>("SCTSTZ"), BindPut<&ISMSDeliver::put_SCTSTZ>("SCTSTZ"),
    BindGet<&ISMSDeliver::get_SRI>("SRI"),       BindPut<&ISMSDeliver::put_SRI>("SRI"),
    BindGet<&ISMSDeliver::get_MMS>("MMS"),       BindPut<&ISMSDeliver::put_MMS>("MMS"),
    BindGet<&ISMSDeliver::get_RP>("RP"),         BindPut<&ISMSDeliver::put_RP>("RP"),
    BindGet<&ISMSDeliver::get_UDHI>("UDHI"),     BindPut<&ISMSDeliver::put_UDHI>("UDHI"),
};
constexpr DispatchBinding kISMSSubmitBindings[] = {
    BindGet<&ISMSSubmit::get_PID>("PID"),   BindPut<&ISMSSubmit::put_PID>("PID"),
    BindGet<&ISMSSubmit::get_DA>("DA"),     BindPut<&ISMSSubmit::put_DA>("DA"),
    BindGet<&ISMSSubmit::get_MR>("MR"),     BindPut<&ISMSSubmit::put_MR>("MR"),
    BindGet<&ISMSSubmit::get_VP>("VP"),     BindPut<&ISMSSubmit::put_VP>("VP"),
    BindGet<&ISMSSubmit::get_VPTZ>("VPTZ"), BindPut<&ISMSSubmit::put_VPTZ>("VPTZ"),
    BindGet<&ISMSSubmit::get_VPF>("VPF"),   BindPut<&ISMSSubmit::put_VPF>("VPF"),
    BindGet<&ISMSSubmit::get_SRR>("SRR"),   BindPut<&ISMSSubmit::put_SRR>("SRR"),
    BindGet<&ISMSSubmit::get_RD>("RD"),     BindPut<&ISMSSubmit::put_RD>("RD"),
    BindGet<&ISMSSubmit::get_RP>("RP"),     BindPut<&ISMSSubmit::put_RP>("RP"),
    BindGet<&ISMSSubmit::get_UDHI>("UDHI"), BindPut<&ISMSSubmit::put_UDHI>("UDHI"),
};
constexpr DispatchBinding kISMSStatusReportBindings[] = {
    BindGet<&ISMSStatusReport::get_SRQ>("SRQ"),       BindPut<&ISMSStatusReport::put_SRQ>("SRQ"),
    BindGet<&ISMSStatusReport::get_MMS>("MMS"),       BindPut<&ISMSStatusReport::put_MMS>("MMS"),
    BindGet<&ISMSStatusReport::get_MR>("MR"),         BindPut<&ISMSStatusReport::put_MR>("MR"),
    BindGet<&ISMSStatusReport::get_OA>("OA"),         BindPut<&ISMSStatusReport::put_OA>("OA"),
    BindGet<&ISMSStatusReport::get_SCTS>("SCTS"),     BindPut<&ISMSStatusReport::put_SCTS>("SCTS"),
    BindGet<&ISMSStatusReport::get_SCTSTZ>("SCTSTZ"), BindPut<&ISMSStatusReport::put_SCTSTZ>("SCTSTZ"),
    BindGet<&ISMSStatusReport::get_DT>("DT"),         BindPut<&ISMSStatusReport::put_DT>("DT"),
    BindGet<&ISMSStatusReport::get_DTSTZ>("DTSTZ"),   BindPut<&ISMSStatusReport::put_DTSTZ>("DTSTZ"),
    BindGet<&ISMSStatusReport::get_Status>("Status"), BindPut<&ISMSStatusReport::put_Status>("Status"),
};
constexpr DispatchBinding kISMSCommandBindings[] = {
    BindGet<&ISMSCommand::get_SRR>("SRR"), BindPut<&ISMSCommand::put_SRR>("SRR"),
    BindGet<&ISMSCommand::get_MR>("MR"),   BindPut<&ISMSCommand::put_MR>("MR"),
    BindGet<&ISMSCommand::get_PID>("PID"), BindPut<&ISMSCommand::put_PID>("PID"),
    BindGet<&ISMSCommand::get_CT>("CT"),   BindPut<&ISMSCommand::put_CT>("CT"),
    BindGet<&ISMSCommand::get_MN>("MN"),   BindPut<&ISMSCommand::put_MN>("MN"),
    BindGet<&ISMSCommand::get_DA>("DA"),   BindPut<&ISMSCommand::put_DA>("DA"),
};
constexpr DispatchBinding kISMSDeliverReportBindings[] = {
    BindGet<&ISMSDeliverReport::get_PIDPresent>("PIDPresent"),
    BindPut<&ISMSDeliverReport::put_PIDPresent>("PIDPresent"),
    BindGet<&ISMSDeliverReport::get_DCSPresent>("DCSPresent"),
    BindPut<&ISMSDeliverReport::put_DCSPresent>("DCSPresent"),
    BindGet<&ISMSDeliverReport::get_UDPresent>("UDPresent"),
    BindPut<&ISMSDeliverReport::put_UDPresent>("UDPresent"),
    BindGet<&ISMSDeliverReport::get_PID>("PID"),
    BindPut<&ISMSDeliverReport::put_PID>("PID"),
};
constexpr DispatchBinding kISMSSubmitReportBindings[] = {
    BindGet<&ISMSSubmitReport::get_SCTS>("SCTS"),     BindPut<&ISMSSubmitReport::put_SCTS>("SCTS"),
    BindGet<&ISMSSubmitReport::get_SCTSTZ>("SCTSTZ"), BindPut<&ISMSSubmitReport::put_SCTSTZ>("SCTSTZ"),
};
constexpr DispatchBinding kICellBroadcastBindings[] = {
    BindGet<&ICellBroadcast::get_MessageCode>("MessageCode"),
    BindPut<&ICellBroadcast::put_MessageCode>("MessageCode"),
    BindGet<&ICellBroadcast::get_GeographicalScope>("GeographicalScope"),
    BindPut<&ICellBroadcast::put_GeographicalScope>("GeographicalScope"),
    BindGet<&ICellBroadcast::get_UpdateNumber>("UpdateNumber"),
    BindPut<&ICellBroadcast::put_UpdateNumber>("UpdateNumber"),
    BindGet<&ICellBroadcast::get_MessageId>("MessageId"),
    BindPut<&ICellBroadcast::put_MessageId>("MessageId"),
    BindGet<&ICellBroadcast::get_DCS>("DCS"),
    BindPut<&ICellBroadcast::put_DCS>("DCS"),
    BindGet<&ICellBroadcast::get_TotalPageNumber>("TotalPageNumber"),
    BindPut<&ICellBroadcast::put_TotalPageNumber>("TotalPageNumber"),
    BindGet<&ICellBroadcast::get_CurrentPageNumber>("CurrentPageNumber"),
    BindPut<&ICellBroadcast::put_CurrentPageNumber>("CurrentPageNumber"),
    BindGet<&ICellBroadcast::get_UD>("UD"),
    BindPut<&ICellBroadcast::put_UD>("UD"),
    BindGet<&ICellBroadcast::get_WideUD>("WideUD"),
    BindPut<&ICellBroadcast::put_WideUD>("WideUD"),
};

} // namespace

const DispatchTable& DeliverTable()
{
    static const DispatchTable t(kISMSDeliverDescription, {kISMSBindings, kISMS2Bindings, kISMSDeliverBindings});
    return t;
}
const DispatchTable& SubmitTable()
{
    static const DispatchTable t(kISMSSubmitDescription, {kISMSBindings, kISMS2Bindings, kISMSSubmitBindings});
    return t;
}
const DispatchTable& StatusReportTable()
{
    static const DispatchTable t(kISMSStatusReportDescription,
                                 {kISMSBindings, kISMS2Bindings, kISMSStatusReportBindings});
    return t;
}
const DispatchTable& CommandTable()
{
    static const DispatchTable t(kISMSCommandDescription, {kISMSBindings, kISMS2Bindings, kISMSCommandBindings});
    return t;
}
const DispatchTable& DeliverReportTable()
{
    static const DispatchTable t(kISMSDeliverReportDescription,
                                 {kISMSBindings, kISMS2Bindings, kISMSDeliverReportBindings});
    return t;
}
const DispatchTable& SubmitReportTable()
{
    static const DispatchTable t(kISMSSubmitReportDescription,
                                 {kISMSBindings, kISMS2Bindings, kISMSDeliverReportBindings, kISMSSubmitReportBindings});
    return t;
}
const DispatchTable& CellBroadcastTable()
{
    static const DispatchTable t(kICellBroadcastDescription, {kISMSBindings, kICellBroadcastBindings});
    return t;
}

namespace {

// --- Implementations ------------------------------------------------------------------------

// What every message object has: its codec message, the client's control and the engine copy
// made from it, which is the codec message's owner.
template <class I, const DispatchTable& (*Table)(), class Codec>
class SMSObject : public DispatchImpl<I, Table> {
public:
    HRESULT get_PDU(BSTR* value) override
    {
        return Guard([&] { *value = Bstr::FromNarrow(message_.PDU()).Detach(); });
    }
    HRESULT put_PDU(BSTR value) override
    {
        return Guard([&] { message_.SetPDU(NarrowBstr(value)); });
    }
    HRESULT get_GSM(ICelvane** value) override { return GiveInterface(gsm_, value); }
    HRESULT put_GSM(ICelvane* value) override
    {
        return Guard([&] {
            ComPtr<ICelvane> control(value);
            std::unique_ptr<TGSM> copy = MakeEngineCopy(value);
            gsm_ = std::move(control);
            message_.SetGSM(copy.get());
            engineCopy_ = std::move(copy);
        });
    }

    // Takes the fields of an engine message: its PDU decoded the way its owner encoded it,
    // then the fields a PDU does not carry.
    void Adopt(const Codec& source)
    {
        message_.SetGSM(source.GSM());
        message_.SetPDU(source.PDU());
        message_.SetGSM(engineCopy_.get());
        if constexpr (std::is_base_of_v<::TSMS2, Codec>) {
            message_.SetSCA(source.SCA());
            message_.SetDCS(source.DCS());
            message_.SetUD(source.UD());
        }
    }

protected:
    template <class Body>
    static HRESULT Guard(Body&& body)
    {
        return SafeCall(I::kIID, kCelvaneProgId, std::forward<Body>(body));
    }

    Codec message_;

private:
    ComPtr<ICelvane> gsm_;
    std::unique_ptr<TGSM> engineCopy_;  // declared after message_: the owner outlives nothing it must
};

template <class I, const DispatchTable& (*Table)(), class Codec>
class SMS2Object : public SMSObject<I, Table, Codec> {
protected:
    using SMSObject<I, Table, Codec>::message_;

public:
    HRESULT get_PDUType(uint8_t* v) override { return Give(message_.PDUType(), v); }
    HRESULT put_PDUType(uint8_t v) override { return Store([&] { message_.SetPDUType(v); }); }
    HRESULT get_MTI(int32_t* v) override { return Give<int32_t>(message_.MTI(), v); }
    HRESULT put_MTI(int32_t v) override { return Store([&] { message_.SetMTI(static_cast<uint8_t>(v)); }); }
    HRESULT get_DCS(uint8_t* v) override { return Give(message_.DCS(), v); }
    HRESULT put_DCS(uint8_t v) override { return Store([&] { message_.SetDCS(v); }); }
    HRESULT get_SCA(BSTR* v) override { return GiveString(message_.SCA(), v); }
    HRESULT put_SCA(BSTR v) override { return Store([&] { message_.SetSCA(NarrowBstr(v)); }); }
    HRESULT get_UD(BSTR* v) override { return GiveString(message_.UD(), v); }
    HRESULT put_UD(BSTR v) override { return Store([&] { message_.SetUD(NarrowBstr(v)); }); }
    HRESULT get_WideUD(BSTR* v) override { return GiveWide(message_.WideUD(), v); }
    HRESULT put_WideUD(BSTR v) override { return Store([&] { message_.SetWideUD(BstrView(v)); }); }
};

template <class I, const DispatchTable& (*Table)(), class Codec>
class DeliverReportObject : public SMS2Object<I, Table, Codec> {
protected:
    using SMS2Object<I, Table, Codec>::message_;

public:
    HRESULT get_PIDPresent(VARIANT_BOOL* v) override { return GiveBool(message_.PIDPresent(), v); }
    HRESULT put_PIDPresent(VARIANT_BOOL v) override { return Store([&] { message_.SetPIDPresent(IsTrue(v)); }); }
    HRESULT get_DCSPresent(VARIANT_BOOL* v) override { return GiveBool(message_.DCSPresent(), v); }
    HRESULT put_DCSPresent(VARIANT_BOOL v) override { return Store([&] { message_.SetDCSPresent(IsTrue(v)); }); }
    HRESULT get_UDPresent(VARIANT_BOOL* v) override { return GiveBool(message_.UDPresent(), v); }
    HRESULT put_UDPresent(VARIANT_BOOL v) override { return Store([&] { message_.SetUDPresent(IsTrue(v)); }); }
    HRESULT get_PID(uint8_t* v) override { return Give(message_.PID(), v); }
    HRESULT put_PID(uint8_t v) override { return Store([&] { message_.SetPID(v); }); }
};

// The object classes, each with the interfaces of its chain and its error descriptions.
template <class Impl, class I>
using Object = ComObject<Impl, SupportErrorInfo<I>>;

} // namespace

class TSMSDeliver final
    : public Object<SMS2Object<ISMSDeliver, &DeliverTable, ::TSMSDeliver>, ISMSDeliver> {
public:
    HRESULT get_PID(uint8_t* v) override { return Give(message_.PID(), v); }
    HRESULT put_PID(uint8_t v) override { return Store([&] { message_.SetPID(v); }); }
    HRESULT get_OA(BSTR* v) override { return GiveString(message_.OA(), v); }
    HRESULT put_OA(BSTR v) override { return Store([&] { message_.SetOA(NarrowBstr(v)); }); }
    HRESULT get_SCTS(DATE* v) override { return Give(message_.SCTS(), v); }
    HRESULT put_SCTS(DATE v) override { return Store([&] { message_.SetSCTS(v); }); }
    HRESULT get_SCTSTZ(int8_t* v) override { return Give<int8_t>(message_.SCTSTZ(), v); }
    HRESULT put_SCTSTZ(int8_t v) override { return Store([&] { message_.SetSCTSTZ(v); }); }
    HRESULT get_SRI(VARIANT_BOOL* v) override { return GiveBool(message_.SRI(), v); }
    HRESULT put_SRI(VARIANT_BOOL v) override { return Store([&] { message_.SetSRI(IsTrue(v)); }); }
    HRESULT get_MMS(VARIANT_BOOL* v) override { return GiveBool(message_.MMS(), v); }
    HRESULT put_MMS(VARIANT_BOOL v) override { return Store([&] { message_.SetMMS(IsTrue(v)); }); }
    HRESULT get_RP(VARIANT_BOOL* v) override { return GiveBool(message_.RP(), v); }
    HRESULT put_RP(VARIANT_BOOL v) override { return Store([&] { message_.SetRP(IsTrue(v)); }); }
    HRESULT get_UDHI(VARIANT_BOOL* v) override { return GiveBool(message_.UDHI(), v); }
    HRESULT put_UDHI(VARIANT_BOOL v) override { return Store([&] { message_.SetUDHI(IsTrue(v)); }); }
};

class TSMSSubmit final : public Object<SMS2Object<ISMSSubmit, &SubmitTable, ::TSMSSubmit>, ISMSSubmit> {
public:
    HRESULT get_PID(uint8_t* v) override { return Give(message_.PID(), v); }
    HRESULT put_PID(uint8_t v) override { return Store([&] { message_.SetPID(v); }); }
    HRESULT get_DA(BSTR* v) override { return GiveString(message_.DA(), v); }
    HRESULT put_DA(BSTR v) override { return Store([&] { message_.SetDA(NarrowBstr(v)); }); }
    HRESULT get_MR(uint8_t* v) override { return Give(message_.MR(), v); }
    HRESULT put_MR(uint8_t v) override { return Store([&] { message_.SetMR(v); }); }
    HRESULT get_VP(DATE* v) override { return Give(message_.VP(), v); }
    HRESULT put_VP(DATE v) override { return Store([&] { message_.SetVP(v); }); }
    HRESULT get_VPTZ(int8_t* v) override { return Give<int8_t>(message_.VPTZ(), v); }
    HRESULT put_VPTZ(int8_t v) override { return Store([&] { message_.SetVPTZ(v); }); }
    HRESULT get_VPF(uint8_t* v) override { return Give(message_.VPF(), v); }
    HRESULT put_VPF(uint8_t v) override { return Store([&] { message_.SetVPF(v); }); }
    HRESULT get_SRR(VARIANT_BOOL* v) override { return GiveBool(message_.SRR(), v); }
    HRESULT put_SRR(VARIANT_BOOL v) override { return Store([&] { message_.SetSRR(IsTrue(v)); }); }
    HRESULT get_RD(VARIANT_BOOL* v) override { return GiveBool(message_.RD(), v); }
    HRESULT put_RD(VARIANT_BOOL v) override { return Store([&] { message_.SetRD(IsTrue(v)); }); }
    HRESULT get_RP(VARIANT_BOOL* v) override { return GiveBool(message_.RP(), v); }
    HRESULT put_RP(VARIANT_BOOL v) override { return Store([&] { message_.SetRP(IsTrue(v)); }); }
    HRESULT get_UDHI(VARIANT_BOOL* v) override { return GiveBool(message_.UDHI(), v); }
    HRESULT put_UDHI(VARIANT_BOOL v) override { return Store([&] { message_.SetUDHI(IsTrue(v)); }); }
};

class TSMSStatusReport final
    : public Object<SMS2Object<ISMSStatusReport, &StatusReportTable, ::TSMSStatusReport>, ISMSStatusReport> {
public:
    HRESULT get_SRQ(VARIANT_BOOL* v) override { return GiveBool(message_.SRQ(), v); }
    HRESULT put_SRQ(VARIANT_BOOL v) override { return Store([&] { message_.SetSRQ(IsTrue(v)); }); }
    HRESULT get_MMS(VARIANT_BOOL* v) override { return GiveBool(message_.MMS(), v); }
    HRESULT put_MMS(VARIANT_BOOL v) override { return Store([&] { message_.SetMMS(IsTrue(v)); }); }
    HRESULT get_MR(uint8_t* v) override { return Give(message_.MR(), v); }
    HRESULT put_MR(uint8_t v) override { return Store([&] { message_.SetMR(v); }); }
    HRESULT get_OA(BSTR* v) override { return GiveString(message_.OA(), v); }
    HRESULT put_OA(BSTR v) override { return Store([&] { message_.SetOA(NarrowBstr(v)); }); }
    HRESULT get_SCTS(DATE* v) override { return Give(message_.SCTS(), v); }
    HRESULT put_SCTS(DATE v) override { return Store([&] { message_.SetSCTS(v); }); }
    HRESULT get_SCTSTZ(int8_t* v) override { return Give<int8_t>(message_.SCTSTZ(), v); }
    HRESULT put_SCTSTZ(int8_t v) override { return Store([&] { message_.SetSCTSTZ(v); }); }
    HRESULT get_DT(DATE* v) override { return Give(message_.DT(), v); }
    HRESULT put_DT(DATE v) override { return Store([&] { message_.SetDT(v); }); }
    HRESULT get_DTSTZ(int8_t* v) override { return Give<int8_t>(message_.DTSTZ(), v); }
    HRESULT put_DTSTZ(int8_t v) override { return Store([&] { message_.SetDTSTZ(v); }); }
    HRESULT get_Status(uint8_t* v) override { return Give(message_.Status(), v); }
    HRESULT put_Status(uint8_t v) override { return Store([&] { message_.SetStatus(v); }); }
};

class TSMSCommand final : public Object<SMS2Object<ISMSCommand, &CommandTable, ::TSMSCommand>, ISMSCommand> {
public:
    HRESULT get_SRR(VARIANT_BOOL* v) override { return GiveBool(message_.SRR(), v); }
    HRESULT put_SRR(VARIANT_BOOL v) override { return Store([&] { message_.SetSRR(IsTrue(v)); }); }
    HRESULT get_MR(uint8_t* v) override { return Give(message_.MR(), v); }
    HRESULT put_MR(uint8_t v) override { return Store([&] { message_.SetMR(v); }); }
    HRESULT get_PID(uint8_t* v) override { return Give(message_.PID(), v); }
    HRESULT put_PID(uint8_t v) override { return Store([&] { message_.SetPID(v); }); }
    HRESULT get_CT(uint8_t* v) override { return Give(message_.CT(), v); }
    HRESULT put_CT(uint8_t v) override { return Store([&] { message_.SetCT(v); }); }
    HRESULT get_MN(uint8_t* v) override { return Give(message_.MN(), v); }
    HRESULT put_MN(uint8_t v) override { return Store([&] { message_.SetMN(v); }); }
    HRESULT get_DA(BSTR* v) override { return GiveString(message_.DA(), v); }
    HRESULT put_DA(BSTR v) override { return Store([&] { message_.SetDA(NarrowBstr(v)); }); }
};

class TSMSDeliverReport final
    : public Object<DeliverReportObject<ISMSDeliverReport, &DeliverReportTable, ::TSMSDeliverReport>,
                    ISMSDeliverReport> {};

class TSMSSubmitReport final
    : public Object<DeliverReportObject<ISMSSubmitReport, &SubmitReportTable, ::TSMSSubmitReport>, ISMSSubmitReport> {
public:
    HRESULT get_SCTS(DATE* v) override { return Give(message_.SCTS(), v); }
    HRESULT put_SCTS(DATE v) override { return Store([&] { message_.SetSCTS(v); }); }
    HRESULT get_SCTSTZ(int8_t* v) override { return Give<int8_t>(message_.SCTSTZ(), v); }
    HRESULT put_SCTSTZ(int8_t v) override { return Store([&] { message_.SetSCTSTZ(v); }); }
};

class TCellBroadcast final
    : public Object<SMSObject<ICellBroadcast, &CellBroadcastTable, ::TCellBroadcast>, ICellBroadcast> {
public:
    HRESULT get_MessageCode(uint16_t* v) override { return Give(message_.MessageCode(), v); }
    HRESULT put_MessageCode(uint16_t v) override { return Store([&] { message_.SetMessageCode(v); }); }
    HRESULT get_GeographicalScope(uint8_t* v) override { return Give(message_.GeographicalScope(), v); }
    HRESULT put_GeographicalScope(uint8_t v) override { return Store([&] { message_.SetGeographicalScope(v); }); }
    HRESULT get_UpdateNumber(uint8_t* v) override { return Give(message_.UpdateNumber(), v); }
    HRESULT put_UpdateNumber(uint8_t v) override { return Store([&] { message_.SetUpdateNumber(v); }); }
    HRESULT get_MessageId(uint16_t* v) override { return Give(message_.MessageId(), v); }
    HRESULT put_MessageId(uint16_t v) override { return Store([&] { message_.SetMessageId(v); }); }
    HRESULT get_DCS(uint8_t* v) override { return Give(message_.DCS(), v); }
    HRESULT put_DCS(uint8_t v) override { return Store([&] { message_.SetDCS(v); }); }
    HRESULT get_TotalPageNumber(uint8_t* v) override { return Give(message_.TotalPageNumber(), v); }
    HRESULT put_TotalPageNumber(uint8_t v) override { return Store([&] { message_.SetTotalPageNumber(v); }); }
    HRESULT get_CurrentPageNumber(uint8_t* v) override { return Give(message_.CurrentPageNumber(), v); }
    HRESULT put_CurrentPageNumber(uint8_t v) override { return Store([&] { message_.SetCurrentPageNumber(v); }); }
    HRESULT get_UD(BSTR* v) override { return GiveString(message_.UD(), v); }
    HRESULT put_UD(BSTR v) override { return Store([&] { message_.SetUD(NarrowBstr(v)); }); }
    HRESULT get_WideUD(BSTR* v) override { return GiveWide(message_.WideUD(), v); }
    HRESULT put_WideUD(BSTR v) override { return Store([&] { message_.SetWideUD(BstrView(v)); }); }
};

HRESULT CreateSMSDeliver(const IID& iid, void** object) { return CreateComObject<TSMSDeliver>(iid, object); }
HRESULT CreateSMSSubmit(const IID& iid, void** object) { return CreateComObject<TSMSSubmit>(iid, object); }
HRESULT CreateSMSStatusReport(const IID& iid, void** object) { return CreateComObject<TSMSStatusReport>(iid, object); }
HRESULT CreateSMSCommand(const IID& iid, void** object) { return CreateComObject<TSMSCommand>(iid, object); }
HRESULT CreateSMSDeliverReport(const IID& iid, void** object)
{
    return CreateComObject<TSMSDeliverReport>(iid, object);
}
HRESULT CreateSMSSubmitReport(const IID& iid, void** object) { return CreateComObject<TSMSSubmitReport>(iid, object); }
HRESULT CreateCellBroadcast(const IID& iid, void** object) { return CreateComObject<TCellBroadcast>(iid, object); }

namespace {

template <class Wrapper, class Codec>
ComPtr<ISMS> WrapAs(const ::TSMS& message)
{
    const auto* typed = dynamic_cast<const Codec*>(&message);
    if (!typed)
        return nullptr;
    ComPtr<Wrapper> object = MakeComObject<Wrapper>();
    object->Adopt(*typed);
    return object.template Query<ISMS>();
}

// In this order: a class is tested before the class it extends.
using Wrap = ComPtr<ISMS> (*)(const ::TSMS&);
constexpr Wrap kWrappers[] = {
    &WrapAs<TCellBroadcast, ::TCellBroadcast>,   &WrapAs<TSMSSubmitReport, ::TSMSSubmitReport>,
    &WrapAs<TSMSDeliverReport, ::TSMSDeliverReport>, &WrapAs<TSMSCommand, ::TSMSCommand>,
    &WrapAs<TSMSStatusReport, ::TSMSStatusReport>, &WrapAs<TSMSSubmit, ::TSMSSubmit>,
    &WrapAs<TSMSDeliver, ::TSMSDeliver>,
};

} // namespace

ComPtr<ISMS> WrapSMS(const ::TSMS* message)
{
    if (!message)
        return nullptr;
    for (Wrap wrap : kWrappers)
        if (ComPtr<ISMS> object = wrap(*message))
            return object;
    return nullptr;
}

} // namespace GSM2
