#pragma once
// What a client of the Celvane library knows of it: its interfaces, their ids, the class ids
// and the event dispatch ids. Clients include this header and reach the library only through
// the object model; they never link it.
#include <cstdint>

#include "platform/com/dispatch.h"
#include "platform/com/strings_interface.h"

namespace celvane {

inline constexpr GUID kLibraryId = MakeGuid("{B5FA3F5F-D48E-4347-BD05-1F2D58AFEC66}");

inline constexpr CLSID CLSID_Celvane = MakeGuid("{1B7EF3BB-6790-42B0-8B0E-50446EAB45FF}");
inline constexpr CLSID CLSID_SMS = MakeGuid("{280CE93F-3EFE-42B3-9D5B-D486CE4C0830}");
inline constexpr CLSID CLSID_SMS2 = MakeGuid("{133063D2-44EC-4103-A28F-52657285EE76}");
inline constexpr CLSID CLSID_SMSDeliver = MakeGuid("{2B31E604-E9CF-4997-9A59-EE74E1EC54B3}");
inline constexpr CLSID CLSID_SMSSubmit = MakeGuid("{895079DE-73B9-4F4F-B75B-BAF43FF78228}");
inline constexpr CLSID CLSID_SMSStatusReport = MakeGuid("{D086CCDD-4D10-46AC-85BA-31EB2B1C477A}");
inline constexpr CLSID CLSID_SMSCommand = MakeGuid("{E6AFBE5A-88A4-4D7A-A510-165BDBC2BC53}");
inline constexpr CLSID CLSID_SMSDeliverReport = MakeGuid("{994835D0-3293-4018-B301-E56765105037}");
inline constexpr CLSID CLSID_SMSSubmitReport = MakeGuid("{B0376323-B34E-4586-B6BF-1B6955918AC3}");
inline constexpr CLSID CLSID_CellBroadcast = MakeGuid("{2565BFDF-7E59-461C-A792-2F3AA50F4765}");
inline constexpr CLSID CLSID_Global = MakeGuid("{62C73945-244F-4F98-AEBF-2DD441F3587A}");
inline constexpr CLSID CLSID_UnsolicitedIndicationPage = MakeGuid("{B8B52CF7-DB2C-4899-9B3C-D2F7FC475389}");

inline constexpr IID IID_ICelvaneEvents = MakeGuid("{7325ED3A-FE23-45A8-9885-0F04EA67784E}");

// ICelvaneEvents, called through IDispatch with positional arguments.
inline constexpr DISPID kOnRxChar = 1;               // Char: byte
inline constexpr DISPID kOnUnsolicitedLine = 2;      // Line: string
inline constexpr DISPID kOnUnsolicitedSMS = 3;       // Idx: long; SMS: ISMS
inline constexpr DISPID kOnNetworkRegistration = 4;  // Status: long
inline constexpr DISPID kOnBusyChanged = 5;          // Busy: boolean
inline constexpr DISPID kOnLog = 6;                  // Channel: byte; Buff: string

// Bits of UnsolicitedIndication: bit n for the indication of ordinal n.
inline constexpr int32_t kIndicationSMSDeliver = 1 << 0;
inline constexpr int32_t kIndicationSMSStatusReport = 1 << 1;
inline constexpr int32_t kIndicationCellBroadcast = 1 << 2;
inline constexpr int32_t kIndicationOnlyIndication = 1 << 3;
inline constexpr int32_t kIndicationMask = 0x0F;

} // namespace celvane

struct ISMS;
struct ISMS2;
struct IStrings2;

// Enumerations of the type library cross as 32-bit integers.
struct ICelvane : IDispatch {
    static constexpr IID kIID = MakeGuid("{C40E15C2-02C0-4343-83CB-E7E94C8D9337}");
    using Base = IDispatch;

    virtual HRESULT Busy() = 0;
    virtual HRESULT Unbusy() = 0;
    virtual HRESULT SetDefaults() = 0;
    virtual HRESULT get_Active(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_Active(VARIANT_BOOL value) = 0;
    virtual HRESULT SendATCommand(BSTR Cmd, uint8_t WaitFor, IStrings** ResultS, int32_t RepCount,
                                  int32_t* result) = 0;
    virtual HRESULT SendSMS(ISMS2* SMS) = 0;
    virtual HRESULT ReadSMS(int32_t Index, int32_t* Stat, ISMS** result) = 0;
    virtual HRESULT DeleteSMS(int32_t Index) = 0;
    virtual HRESULT GetSMSList(int32_t Stat, IStrings2** result) = 0;
    virtual HRESULT SwitchOff() = 0;
    virtual HRESULT get_LastError(int32_t* value) = 0;
    virtual HRESULT get_IsBusy(VARIANT_BOOL* value) = 0;
    virtual HRESULT get_LastErrorMsg(BSTR* value) = 0;
    virtual HRESULT get_ErrorCodes(IStrings** value) = 0;
    virtual HRESULT put_ErrorCodes(IStrings* value) = 0;
    virtual HRESULT get_NetworkRegistration(int32_t* value) = 0;
    virtual HRESULT get_Mem1(BSTR* value) = 0;
    virtual HRESULT put_Mem1(BSTR value) = 0;
    virtual HRESULT get_ManufacturerId(BSTR* value) = 0;
    virtual HRESULT get_ModelId(BSTR* value) = 0;
    virtual HRESULT get_RevisionId(BSTR* value) = 0;
    virtual HRESULT get_SerialNumberId(BSTR* value) = 0;
    virtual HRESULT get_Equipment(int32_t* value) = 0;
    virtual HRESULT put_Equipment(int32_t value) = 0;
    virtual HRESULT get_SMSFormat(int32_t* value) = 0;
    virtual HRESULT put_SMSFormat(int32_t value) = 0;
    virtual HRESULT get_UnsolicitedIndication(int32_t* value) = 0;
    virtual HRESULT put_UnsolicitedIndication(int32_t value) = 0;
    virtual HRESULT get_PIN(BSTR* value) = 0;
    virtual HRESULT put_PIN(BSTR value) = 0;
    virtual HRESULT get_SCA(BSTR* value) = 0;
    virtual HRESULT put_SCA(BSTR value) = 0;
    virtual HRESULT get_CommandEcho(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_CommandEcho(VARIANT_BOOL value) = 0;
    virtual HRESULT get_ExtendedErrorMsg(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_ExtendedErrorMsg(VARIANT_BOOL value) = 0;
    virtual HRESULT get_RepeatCount(int32_t* value) = 0;
    virtual HRESULT put_RepeatCount(int32_t value) = 0;
    virtual HRESULT get_RecTimeout(int32_t* value) = 0;
    virtual HRESULT put_RecTimeout(int32_t value) = 0;
    virtual HRESULT get_RepeatTimeout(int32_t* value) = 0;
    virtual HRESULT put_RepeatTimeout(int32_t value) = 0;
    virtual HRESULT get_DeviceName(BSTR* value) = 0;
    virtual HRESULT put_DeviceName(BSTR value) = 0;
    virtual HRESULT get_Parity(int32_t* value) = 0;
    virtual HRESULT put_Parity(int32_t value) = 0;
    virtual HRESULT get_StopBits(int32_t* value) = 0;
    virtual HRESULT put_StopBits(int32_t value) = 0;
    virtual HRESULT get_BaudRate(int32_t* value) = 0;
    virtual HRESULT put_BaudRate(int32_t value) = 0;
    virtual HRESULT get_DataBits(int32_t* value) = 0;
    virtual HRESULT put_DataBits(int32_t value) = 0;
    virtual HRESULT SendChar(BSTR S) = 0;
    virtual HRESULT get_SupportedSMSFormats(int32_t* value) = 0;
    virtual HRESULT get_CheckInterval(int32_t* value) = 0;
    virtual HRESULT put_CheckInterval(int32_t value) = 0;

protected:
    ~ICelvane() = default;
};

struct ISMS : IDispatch {
    static constexpr IID kIID = MakeGuid("{A43EAAE6-D1D0-4C28-B226-1F746768F8F0}");
    using Base = IDispatch;
    virtual HRESULT get_PDU(BSTR* value) = 0;
    virtual HRESULT put_PDU(BSTR value) = 0;
    virtual HRESULT get_GSM(ICelvane** value) = 0;
    virtual HRESULT put_GSM(ICelvane* value) = 0;

protected:
    ~ISMS() = default;
};

struct ISMS2 : ISMS {
    static constexpr IID kIID = MakeGuid("{A47F6510-5D9D-4912-8A85-4BA0C0CE4BD9}");
    using Base = ISMS;
    virtual HRESULT get_PDUType(uint8_t* value) = 0;
    virtual HRESULT put_PDUType(uint8_t value) = 0;
    virtual HRESULT get_MTI(int32_t* value) = 0;
    virtual HRESULT put_MTI(int32_t value) = 0;
    virtual HRESULT get_DCS(uint8_t* value) = 0;
    virtual HRESULT put_DCS(uint8_t value) = 0;
    virtual HRESULT get_SCA(BSTR* value) = 0;
    virtual HRESULT put_SCA(BSTR value) = 0;
    virtual HRESULT get_UD(BSTR* value) = 0;
    virtual HRESULT put_UD(BSTR value) = 0;
    virtual HRESULT get_WideUD(BSTR* value) = 0;
    virtual HRESULT put_WideUD(BSTR value) = 0;

protected:
    ~ISMS2() = default;
};

struct ISMSDeliver : ISMS2 {
    static constexpr IID kIID = MakeGuid("{920EAE26-8963-4649-8875-33B9F301BFC5}");
    using Base = ISMS2;
    virtual HRESULT get_PID(uint8_t* value) = 0;
    virtual HRESULT put_PID(uint8_t value) = 0;
    virtual HRESULT get_OA(BSTR* value) = 0;
    virtual HRESULT put_OA(BSTR value) = 0;
    virtual HRESULT get_SCTS(DATE* value) = 0;
    virtual HRESULT put_SCTS(DATE value) = 0;
    virtual HRESULT get_SCTSTZ(int8_t* value) = 0;
    virtual HRESULT put_SCTSTZ(int8_t value) = 0;
    virtual HRESULT get_SRI(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_SRI(VARIANT_BOOL value) = 0;
    virtual HRESULT get_MMS(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_MMS(VARIANT_BOOL value) = 0;
    virtual HRESULT get_RP(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_RP(VARIANT_BOOL value) = 0;
    virtual HRESULT get_UDHI(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_UDHI(VARIANT_BOOL value) = 0;

protected:
    ~ISMSDeliver() = default;
};

struct ISMSSubmit : ISMS2 {
    static constexpr IID kIID = MakeGuid("{F8810EAA-C613-4E4E-9CE6-173C4BB4469E}");
    using Base = ISMS2;
    virtual HRESULT get_PID(uint8_t* value) = 0;
    virtual HRESULT put_PID(uint8_t value) = 0;
    virtual HRESULT get_DA(BSTR* value) = 0;
    virtual HRESULT put_DA(BSTR value) = 0;
    virtual HRESULT get_MR(uint8_t* value) = 0;
    virtual HRESULT put_MR(uint8_t value) = 0;
    virtual HRESULT get_VP(DATE* value) = 0;
    virtual HRESULT put_VP(DATE value) = 0;
    virtual HRESULT get_VPTZ(int8_t* value) = 0;
    virtual HRESULT put_VPTZ(int8_t value) = 0;
    virtual HRESULT get_VPF(uint8_t* value) = 0;
    virtual HRESULT put_VPF(uint8_t value) = 0;
    virtual HRESULT get_SRR(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_SRR(VARIANT_BOOL value) = 0;
    virtual HRESULT get_RD(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_RD(VARIANT_BOOL value) = 0;
    virtual HRESULT get_RP(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_RP(VARIANT_BOOL value) = 0;
    virtual HRESULT get_UDHI(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_UDHI(VARIANT_BOOL value) = 0;

protected:
    ~ISMSSubmit() = default;
};

struct ISMSStatusReport : ISMS2 {
    static constexpr IID kIID = MakeGuid("{6F42DC92-B5CF-4046-884F-9770B89251FF}");
    using Base = ISMS2;
    virtual HRESULT get_SRQ(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_SRQ(VARIANT_BOOL value) = 0;
    virtual HRESULT get_MMS(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_MMS(VARIANT_BOOL value) = 0;
    virtual HRESULT get_MR(uint8_t* value) = 0;
    virtual HRESULT put_MR(uint8_t value) = 0;
    virtual HRESULT get_OA(BSTR* value) = 0;
    virtual HRESULT put_OA(BSTR value) = 0;
    virtual HRESULT get_SCTS(DATE* value) = 0;
    virtual HRESULT put_SCTS(DATE value) = 0;
    virtual HRESULT get_SCTSTZ(int8_t* value) = 0;
    virtual HRESULT put_SCTSTZ(int8_t value) = 0;
    virtual HRESULT get_DT(DATE* value) = 0;
    virtual HRESULT put_DT(DATE value) = 0;
    virtual HRESULT get_DTSTZ(int8_t* value) = 0;
    virtual HRESULT put_DTSTZ(int8_t value) = 0;
    virtual HRESULT get_Status(uint8_t* value) = 0;
    virtual HRESULT put_Status(uint8_t value) = 0;

protected:
    ~ISMSStatusReport() = default;
};

struct ISMSCommand : ISMS2 {
    static constexpr IID kIID = MakeGuid("{B6392B6E-A7E4-4027-8695-42A606E298DE}");
    using Base = ISMS2;
    virtual HRESULT get_SRR(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_SRR(VARIANT_BOOL value) = 0;
    virtual HRESULT get_MR(uint8_t* value) = 0;
    virtual HRESULT put_MR(uint8_t value) = 0;
    virtual HRESULT get_PID(uint8_t* value) = 0;
    virtual HRESULT put_PID(uint8_t value) = 0;
    virtual HRESULT get_CT(uint8_t* value) = 0;
    virtual HRESULT put_CT(uint8_t value) = 0;
    virtual HRESULT get_MN(uint8_t* value) = 0;
    virtual HRESULT put_MN(uint8_t value) = 0;
    virtual HRESULT get_DA(BSTR* value) = 0;
    virtual HRESULT put_DA(BSTR value) = 0;

protected:
    ~ISMSCommand() = default;
};

struct ISMSDeliverReport : ISMS2 {
    static constexpr IID kIID = MakeGuid("{0676B274-3900-401A-B51A-9A4931702917}");
    using Base = ISMS2;
    virtual HRESULT get_PIDPresent(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_PIDPresent(VARIANT_BOOL value) = 0;
    virtual HRESULT get_DCSPresent(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_DCSPresent(VARIANT_BOOL value) = 0;
    virtual HRESULT get_UDPresent(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_UDPresent(VARIANT_BOOL value) = 0;
    virtual HRESULT get_PID(uint8_t* value) = 0;
    virtual HRESULT put_PID(uint8_t value) = 0;

protected:
    ~ISMSDeliverReport() = default;
};

struct ISMSSubmitReport : ISMSDeliverReport {
    static constexpr IID kIID = MakeGuid("{A79BDC23-8C5C-4BB1-AF35-4551139FE065}");
    using Base = ISMSDeliverReport;
    virtual HRESULT get_SCTS(DATE* value) = 0;
    virtual HRESULT put_SCTS(DATE value) = 0;
    virtual HRESULT get_SCTSTZ(int8_t* value) = 0;
    virtual HRESULT put_SCTSTZ(int8_t value) = 0;

protected:
    ~ISMSSubmitReport() = default;
};

struct ICellBroadcast : ISMS {
    static constexpr IID kIID = MakeGuid("{FE03F5EE-19C3-4C6A-BE64-659EF6FF470C}");
    using Base = ISMS;
    virtual HRESULT get_MessageCode(uint16_t* value) = 0;
    virtual HRESULT put_MessageCode(uint16_t value) = 0;
    virtual HRESULT get_GeographicalScope(uint8_t* value) = 0;
    virtual HRESULT put_GeographicalScope(uint8_t value) = 0;
    virtual HRESULT get_UpdateNumber(uint8_t* value) = 0;
    virtual HRESULT put_UpdateNumber(uint8_t value) = 0;
    virtual HRESULT get_MessageId(uint16_t* value) = 0;
    virtual HRESULT put_MessageId(uint16_t value) = 0;
    virtual HRESULT get_DCS(uint8_t* value) = 0;
    virtual HRESULT put_DCS(uint8_t value) = 0;
    virtual HRESULT get_TotalPageNumber(uint8_t* value) = 0;
    virtual HRESULT put_TotalPageNumber(uint8_t value) = 0;
    virtual HRESULT get_CurrentPageNumber(uint8_t* value) = 0;
    virtual HRESULT put_CurrentPageNumber(uint8_t value) = 0;
    virtual HRESULT get_UD(BSTR* value) = 0;
    virtual HRESULT put_UD(BSTR value) = 0;
    virtual HRESULT get_WideUD(BSTR* value) = 0;
    virtual HRESULT put_WideUD(BSTR value) = 0;

protected:
    ~ICellBroadcast() = default;
};

struct IGlobal : IDispatch {
    static constexpr IID kIID = MakeGuid("{73146A72-5A54-4E45-A72B-A61DAD7D455C}");
    using Base = IDispatch;
    virtual HRESULT DTToValPer(DATE DT, uint8_t* result) = 0;
    virtual HRESULT ValPerToDT(uint8_t VP, DATE* result) = 0;
    virtual HRESULT ISOToSMS(BSTR S, BSTR* result) = 0;
    virtual HRESULT SMSToISO(BSTR S, BSTR* result) = 0;
    virtual HRESULT Int2BaudRate(int32_t BR1, int32_t* BR, VARIANT_BOOL* result) = 0;
    virtual HRESULT BaudRate2Int(int32_t BR, int32_t* result) = 0;
    virtual HRESULT ISMS2_CreateSMS(ICelvane* Owner, BSTR PDU, VARIANT_BOOL MTDir, ISMS2** result) = 0;
    virtual HRESULT GSMEquipmentShortName(int32_t Eq, BSTR* result) = 0;
    virtual HRESULT GSMEquipmentLongName(int32_t Eq, BSTR* result) = 0;
    virtual HRESULT Str2GMSEquipment(BSTR S, int32_t* result) = 0;
    virtual HRESULT StripATResponse(BSTR S, BSTR* result) = 0;
    virtual HRESULT IsATResponse(BSTR S, VARIANT_BOOL* result) = 0;
    virtual HRESULT ExtractParam(BSTR S, int32_t* Pos, BSTR* result) = 0;
    virtual HRESULT TrimQuotes(BSTR S, BSTR* result) = 0;

protected:
    ~IGlobal() = default;
};

// The engine's message list with a message object per entry.
struct IStrings2 : IStrings {
    static constexpr IID kIID = MakeGuid("{23F336A9-0FFF-4319-B229-FDB6B3004AF1}");
    using Base = IStrings;
    virtual HRESULT get_Objects(int32_t Index, VARIANT* value) = 0;
    virtual HRESULT put_Objects(int32_t Index, VARIANT value) = 0;

protected:
    ~IStrings2() = default;
};
