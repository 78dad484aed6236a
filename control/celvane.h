#pragma once
#include <memory>
#include <string>

#include "control/activex_component.h"
#include "control/celvane_tlb.h"
#include "control/dispatch_tables.h"
#include "platform/com/connection_point.h"
#include "platform/com/error_info.h"
#include "platform/com/stream.h"
#include "platform/sys/object.h"
#include "platform/sys/timer.h"

class TComm;
class TGSM;
class TGSMLogger;
class TSMS;

// The control: the automation face of one engine with its serial device. Every member is a
// thin call into the engine or the device; failures become E_UNEXPECTED with their message as
// the error description. Events go to the host's sink, and a sink that fails is ignored.
// Containers save and load its properties through IPersistStreamInit.
class TCelvane : public TActiveXComponent<DispatchImpl<ICelvane, &CelvaneTable>, SupportErrorInfo<ICelvane>,
                                          SingleEventSource<celvane::IID_ICelvaneEvents>, IPersistStreamInit,
                                          ISpecifyPropertyPages> {
public:
    TCelvane();
    ~TCelvane() override;

    HRESULT Busy() override;
    HRESULT Unbusy() override;
    HRESULT SetDefaults() override;
    HRESULT get_Active(VARIANT_BOOL* value) override;
    HRESULT put_Active(VARIANT_BOOL value) override;
    HRESULT SendATCommand(BSTR Cmd, uint8_t WaitFor, IStrings** ResultS, int32_t RepCount, int32_t* result) override;
    HRESULT SendSMS(ISMS2* SMS) override;
    HRESULT ReadSMS(int32_t Index, int32_t* Stat, ISMS** result) override;
    HRESULT DeleteSMS(int32_t Index) override;
    HRESULT GetSMSList(int32_t Stat, IStrings2** result) override;
    HRESULT SwitchOff() override;
    HRESULT get_LastError(int32_t* value) override;
    HRESULT get_IsBusy(VARIANT_BOOL* value) override;
    HRESULT get_LastErrorMsg(BSTR* value) override;
    HRESULT get_ErrorCodes(IStrings** value) override;
    HRESULT put_ErrorCodes(IStrings* value) override;
    HRESULT get_NetworkRegistration(int32_t* value) override;
    HRESULT get_Mem1(BSTR* value) override;
    HRESULT put_Mem1(BSTR value) override;
    HRESULT get_ManufacturerId(BSTR* value) override;
    HRESULT get_ModelId(BSTR* value) override;
    HRESULT get_RevisionId(BSTR* value) override;
    HRESULT get_SerialNumberId(BSTR* value) override;
    HRESULT get_Equipment(int32_t* value) override;
    HRESULT put_Equipment(int32_t value) override;
    HRESULT get_SMSFormat(int32_t* value) override;
    HRESULT put_SMSFormat(int32_t value) override;
    HRESULT get_UnsolicitedIndication(int32_t* value) override;
    HRESULT put_UnsolicitedIndication(int32_t value) override;
    HRESULT get_PIN(BSTR* value) override;
    HRESULT put_PIN(BSTR value) override;
    HRESULT get_SCA(BSTR* value) override;
    HRESULT put_SCA(BSTR value) override;
    HRESULT get_CommandEcho(VARIANT_BOOL* value) override;
    HRESULT put_CommandEcho(VARIANT_BOOL value) override;
    HRESULT get_ExtendedErrorMsg(VARIANT_BOOL* value) override;
    HRESULT put_ExtendedErrorMsg(VARIANT_BOOL value) override;
    HRESULT get_RepeatCount(int32_t* value) override;
    HRESULT put_RepeatCount(int32_t value) override;
    HRESULT get_RecTimeout(int32_t* value) override;
    HRESULT put_RecTimeout(int32_t value) override;
    HRESULT get_RepeatTimeout(int32_t* value) override;
    HRESULT put_RepeatTimeout(int32_t value) override;
    HRESULT get_DeviceName(BSTR* value) override;
    HRESULT put_DeviceName(BSTR value) override;
    HRESULT get_Parity(int32_t* value) override;
    HRESULT put_Parity(int32_t value) override;
    HRESULT get_StopBits(int32_t* value) override;
    HRESULT put_StopBits(int32_t value) override;
    HRESULT get_BaudRate(int32_t* value) override;
    HRESULT put_BaudRate(int32_t value) override;
    HRESULT get_DataBits(int32_t* value) override;
    HRESULT put_DataBits(int32_t value) override;
    HRESULT SendChar(BSTR S) override;
    HRESULT get_SupportedSMSFormats(int32_t* value) override;
    HRESULT get_CheckInterval(int32_t* value) override;
    HRESULT put_CheckInterval(int32_t value) override;

    // IPersistStreamInit: the framework's block, then the control's seventeen fields.
    HRESULT GetClassID(CLSID* clsid) override;
    HRESULT IsDirty() override;
    HRESULT Load(IStream* stream) override;
    HRESULT Save(IStream* stream, int32_t clearDirty) override;
    HRESULT GetSizeMax(uint64_t* size) override;
    HRESULT InitNew() override;

    HRESULT GetPages(CAUUID* pages) override;

private:
    template <class Body>
    HRESULT Guard(Body&& body);
    // A port setting: a port the engine does not hold is closed first.
    template <class Apply>
    HRESULT PortSetting(Apply&& apply);

    // Event bridge: nothing without a sink; every failure while firing is discarded.
    void Fire(DISPID id, std::initializer_list<Variant> arguments);
    void FireSMS(int index, const TSMS* message);
    void RawReceive(int count);
    void Poll();

    std::unique_ptr<TTimer> checkTimer_;
    std::unique_ptr<TGSM> engine_;
    TComm* comm_ = nullptr;        // owned by the engine
    TGSMLogger* logger_ = nullptr;  // owned by the engine
    bool rawHandlerSet_ = false;    // the serial device's received data goes to RawReceive
};

HRESULT CreateCelvane(const IID& iid, void** object);
