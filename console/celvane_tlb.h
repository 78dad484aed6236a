#pragma once
// The console's view of the Celvane control library, written from its published type library:
// class ids, interface ids and dispatch ids. The console never links the library; it creates
// its objects by class id and calls every member through the dispatch part of their dual
// interfaces, so it depends on identifiers only, never on a vtable layout.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/strings_interface.h"
#include "platform/com/variant.h"

namespace celvane {

inline constexpr CLSID CLASS_Celvane = MakeGuid("{1B7EF3BB-6790-42B0-8B0E-50446EAB45FF}");
inline constexpr CLSID CLASS_Global = MakeGuid("{62C73945-244F-4F98-AEBF-2DD441F3587A}");
inline constexpr CLSID CLASS_SMSSubmit = MakeGuid("{895079DE-73B9-4F4F-B75B-BAF43FF78228}");

// ICelvane.
inline constexpr DISPID kSetDefaults = 3;
inline constexpr DISPID kActive = 4;
inline constexpr DISPID kSendATCommand = 5;
inline constexpr DISPID kSendSMS = 6;
inline constexpr DISPID kReadSMS = 7;
inline constexpr DISPID kDeleteSMS = 8;
inline constexpr DISPID kGetSMSList = 9;
inline constexpr DISPID kSwitchOff = 10;
inline constexpr DISPID kManufacturerId = 19;
inline constexpr DISPID kModelId = 20;
inline constexpr DISPID kRevisionId = 21;
inline constexpr DISPID kSerialNumberId = 22;
inline constexpr DISPID kEquipment = 23;
inline constexpr DISPID kSMSFormat = 24;
inline constexpr DISPID kUnsolicitedIndication = 25;
inline constexpr DISPID kPIN = 26;
inline constexpr DISPID kSCA = 27;
inline constexpr DISPID kRecTimeout = 31;
inline constexpr DISPID kDeviceName = 33;
inline constexpr DISPID kBaudRate = 36;
inline constexpr DISPID kSendChar = 38;

// ICelvaneEvents.
inline constexpr DISPID kOnRxChar = 1;
inline constexpr DISPID kOnUnsolicitedLine = 2;
inline constexpr DISPID kOnUnsolicitedSMS = 3;
inline constexpr DISPID kOnNetworkRegistration = 4;
inline constexpr DISPID kOnBusyChanged = 5;
inline constexpr DISPID kOnLog = 6;

// ISMS and ISMS2.
inline constexpr DISPID kPDU = 1;
inline constexpr DISPID kDCS = 4;
inline constexpr DISPID kGSM = 100;
inline constexpr DISPID kUD = 101;
inline constexpr DISPID kWideUD = 102;
// ISMSDeliver.
inline constexpr DISPID kDeliverPID = 6;
inline constexpr DISPID kDeliverOA = 7;
inline constexpr DISPID kDeliverSCTS = 8;
// ISMSSubmit.
inline constexpr DISPID kSubmitPID = 6;
inline constexpr DISPID kSubmitDA = 7;
inline constexpr DISPID kSubmitSRR = 12;
inline constexpr DISPID kSubmitUDHI = 15;
// ISMSStatusReport.
inline constexpr DISPID kReportOA = 9;
inline constexpr DISPID kReportDT = 12;
inline constexpr DISPID kReportStatus = 14;

// IGlobal.
inline constexpr DISPID kISOToSMS = 3;
inline constexpr DISPID kSMSToISO = 4;
inline constexpr DISPID kInt2BaudRate = 5;
inline constexpr DISPID kGSMEquipmentShortName = 8;
inline constexpr DISPID kGSMEquipmentLongName = 9;
inline constexpr DISPID kStr2GMSEquipment = 10;
inline constexpr DISPID kExtractParam = 13;

}  // namespace celvane

// The device models.
enum TGSMEquipment : int32_t {
    eqA1, eqM1, eqM20, eqGM12, eqNokia6210, eqNokia6650, eqNokia9110, eqM35, eqS25, eqT260,
    eqWaveCom, eqTC35, eqFasttrack, eqZText,
};

// UnsolicitedIndication bits: 1 shifted left by the indication's ordinal.
enum TGSMUnsolicitedIndication : int32_t {
    uindSMSDeliver, uindSMSStatusReport, uindCellBroadcast, uindOnlyIndication,
};
constexpr int32_t IndicationBit(TGSMUnsolicitedIndication indication) { return 1 << indication; }

// The interfaces the console uses, as dispatch interfaces: their members are reached by dispatch
// id; QueryInterface by their ids tells what a message object is.
#define CELVANE_DISPATCH_INTERFACE(Name, Iid, BaseInterface) \
    struct Name : BaseInterface {                            \
        static constexpr IID kIID = MakeGuid(Iid);           \
        using Base = BaseInterface;                          \
                                                             \
    protected:                                               \
        ~Name() = default;                                   \
    };
CELVANE_DISPATCH_INTERFACE(ICelvane, "{C40E15C2-02C0-4343-83CB-E7E94C8D9337}", IDispatch)
CELVANE_DISPATCH_INTERFACE(IGlobal, "{73146A72-5A54-4E45-A72B-A61DAD7D455C}", IDispatch)
CELVANE_DISPATCH_INTERFACE(ISMS, "{A43EAAE6-D1D0-4C28-B226-1F746768F8F0}", IDispatch)
CELVANE_DISPATCH_INTERFACE(ISMS2, "{A47F6510-5D9D-4912-8A85-4BA0C0CE4BD9}", ISMS)
CELVANE_DISPATCH_INTERFACE(ISMSDeliver, "{920EAE26-8963-4649-8875-33B9F301BFC5}", ISMS2)
CELVANE_DISPATCH_INTERFACE(ISMSSubmit, "{F8810EAA-C613-4E4E-9CE6-173C4BB4469E}", ISMS2)
CELVANE_DISPATCH_INTERFACE(ISMSStatusReport, "{6F42DC92-B5CF-4046-884F-9770B89251FF}", ISMS2)
#undef CELVANE_DISPATCH_INTERFACE

inline constexpr IID DIID_ICelvaneEvents = MakeGuid("{7325ED3A-FE23-45A8-9885-0F04EA67784E}");

// The message list the control hands out: the platform's string list interface plus the
// message object of each entry. Its Objects member is not in the list's dispatch description,
// so it is called through the interface itself.
struct IStrings2 : IStrings {
    static constexpr IID kIID = MakeGuid("{23F336A9-0FFF-4319-B229-FDB6B3004AF1}");
    using Base = IStrings;
    virtual HRESULT get_Objects(int32_t Index, VARIANT* value) = 0;
    virtual HRESULT put_Objects(int32_t Index, VARIANT value) = 0;

protected:
    ~IStrings2() = default;
};

class TCelvaneEventSink;

// The console-side wrapper of one control instance: creates it by class id, connects its event
// sink, reads and writes properties and calls methods by dispatch id. Events arrive on the
// thread the control fires them on, with the sender first; unassigned ones are dropped.
// Failures of the control raise EOleSysError with the control's message.
class TCelvane {
public:
    // Raises EOleSysError when the control cannot be created (for example, not registered).
    TCelvane();
    ~TCelvane();
    TCelvane(const TCelvane&) = delete;
    TCelvane& operator=(const TCelvane&) = delete;

    std::function<void(TCelvane& sender, uint8_t ch)> OnRxChar;
    std::function<void(TCelvane& sender, const std::string& line)> OnUnsolicitedLine;
    // sms may be null: only the storage index was announced. It is valid during the call.
    std::function<void(TCelvane& sender, int32_t idx, ISMS* sms)> OnUnsolicitedSMS;
    std::function<void(TCelvane& sender, int32_t status)> OnNetworkRegistration;
    std::function<void(TCelvane& sender, bool busy)> OnBusyChanged;
    std::function<void(TCelvane& sender, uint8_t channel, const std::string& buff)> OnLog;

    // The control's dual interface, for message objects' GSM property.
    ICelvane* DefaultInterface() const { return control_.Get(); }

    Variant GetProperty(DISPID id) const;
    void SetProperty(DISPID id, const Variant& value);

    bool Active() const;
    void SetActive(bool value);
    int32_t Equipment() const;
    void SetEquipment(int32_t value);
    int32_t SMSFormat() const;
    void SetSMSFormat(int32_t value);
    int32_t UnsolicitedIndication() const;
    void SetUnsolicitedIndication(int32_t value);
    std::string PIN() const;
    void SetPIN(const std::string& value);
    std::string SCA() const;
    void SetSCA(const std::string& value);
    int32_t RecTimeout() const;
    void SetRecTimeout(int32_t value);
    std::string DeviceName() const;
    void SetDeviceName(const std::string& value);
    int32_t BaudRate() const;  // a TBaudRate value
    void SetBaudRate(int32_t value);
    std::string ManufacturerId() const;
    std::string ModelId() const;
    std::string RevisionId() const;
    std::string SerialNumberId() const;

    void SetDefaults();
    // ResultS goes in with the lines to offer and comes back as the control's new list.
    int32_t SendATCommand(const std::string& cmd, uint8_t waitFor, ComPtr<IStrings>& resultS, int32_t repCount = 0);
    void SendSMS(ISMS2* sms);
    // Empty when the control returned no message; stat receives the message's status.
    ComPtr<ISMS> ReadSMS(int32_t index, int32_t& stat);
    void DeleteSMS(int32_t index);
    ComPtr<IStrings2> GetSMSList(int32_t stat);
    void SwitchOff();
    void SendChar(const std::string& s);

private:
    friend class TCelvaneEventSink;
    void Fire(DISPID id, DISPPARAMS& params);

    ComPtr<ICelvane> control_;
    ComPtr<TCelvaneEventSink> sink_;
    uint32_t cookie_ = 0;
};

// Creators of the library's other objects.
struct CoGlobal {
    static ComPtr<IGlobal> Create();
};
struct CoSMSSubmit {
    // An empty SMS-SUBMIT message.
    static ComPtr<ISMSSubmit> Create();
};
