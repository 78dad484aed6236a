#include "control/celvane_type_library.h"

#include "control/celvane_tlb.h"
#include "platform/com/strings_interface.h"

namespace {

using P = ParamDescription;
using M = MemberDescription;
constexpr auto Method = MemberKind::Method;
constexpr auto Property = MemberKind::Property;

// --- Enumerations ---------------------------------------------------------------------------

// The engine's fourteenth model, eqZText (13), is not declared; it crosses as the number 13.
constexpr Enumerator kEquipment[] = {
    {"eqA1", 0},         {"eqM1", 1},   {"eqM20", 2}, {"eqGM12", 3},     {"eqNokia6210", 4},
    {"eqNokia6650", 5},  {"eqNokia9110", 6}, {"eqM35", 7}, {"eqS25", 8}, {"eqT260", 9},
    {"eqWaveCom", 10},   {"eqTC35", 11}, {"eqFasttrack", 12},
};
static_assert(std::size(kEquipment) == 13);
constexpr Enumerator kSMSFormat[] = {{"smsfPDU", 0}, {"smsfText", 1}};
constexpr Enumerator kIndication[] = {
    {"uindSMSDeliver", 0}, {"uindSMSStatusReport", 1}, {"uindCellBroadcast", 2}, {"uindOnlyIndication", 3}};
constexpr Enumerator kWaitFor[] = {
    {"atrCode", 1},        {"atrParams", 2}, {"atrBothNecessary", 4}, {"atrPDU", 8},
    {"atrATResponse", 16}, {"atrCRLF", 32},  {"atrErrorCode", 64},
};
constexpr Enumerator kBaudRate[] = {
    {"br110", 0},     {"br300", 1},     {"br600", 2},      {"br1200", 3},     {"br2400", 4},
    {"br4800", 5},    {"br9600", 6},    {"br14400", 7},    {"br19200", 8},    {"br38400", 9},
    {"br56000", 10},  {"br57600", 11},  {"br115200", 12},  {"br128000", 13},  {"br256000", 14},
};
constexpr Enumerator kParity[] = {{"paNone", 0}, {"paOdd", 1}, {"paEven", 2}, {"paMark", 3}, {"paSpace", 4}};
constexpr Enumerator kStopBits[] = {{"sb10", 0}, {"sb15", 1}, {"sb20", 2}};
constexpr Enumerator kDataBits[] = {{"da4", 0}, {"da5", 1}, {"da6", 2}, {"da7", 3}, {"da8", 4}};

constexpr EnumDescription kEnums[] = {
    {"TGSMEquipment", kEquipment},
    {"TSMSFormat", kSMSFormat},
    {"TGSMUnsolicitedIndication", kIndication},
    {"TSendATCommandWaitFor", kWaitFor},
    {"TBaudRate", kBaudRate},
    {"TParity", kParity},
    {"TStopBits", kStopBits},
    {"TDataBits", kDataBits},
};

constexpr TypeRef kEquipmentType = EnumType("TGSMEquipment");
constexpr TypeRef kSMSFormatType = EnumType("TSMSFormat");
constexpr TypeRef kBaudRateType = EnumType("TBaudRate");
constexpr TypeRef kParityType = EnumType("TParity");
constexpr TypeRef kStopBitsType = EnumType("TStopBits");
constexpr TypeRef kDataBitsType = EnumType("TDataBits");
constexpr TypeRef kStringsType = InterfaceType("IStrings");

// --- ICelvane -------------------------------------------------------------------------------

constexpr P kSendATCommandParams[] = {
    {"Cmd", kStringType},
    {"WaitFor", kByteType},
    {"ResultS", kStringsType, kParamIn | kParamOut},
    {"RepCount", kLongType, kParamOptional, 0},
};
constexpr P kSendSMSParams[] = {{"SMS", InterfaceType("ISMS2")}};
constexpr P kReadSMSParams[] = {{"Index", kLongType}, {"Stat", kLongType, kParamOut}};
constexpr P kIndexParams[] = {{"Index", kLongType}};
constexpr P kStatParams[] = {{"Stat", kLongType}};
constexpr P kSendCharParams[] = {{"S", kStringType}};

constexpr M kICelvaneMembers[] = {
    {.id = 1, .name = "Busy", .kind = Method},
    {.id = 2, .name = "Unbusy", .kind = Method},
    {.id = 3, .name = "SetDefaults", .kind = Method},
    {.id = 4, .name = "Active", .kind = Property, .type = kBoolType},
    {.id = 5, .name = "SendATCommand", .kind = Method, .type = kLongType, .params = kSendATCommandParams},
    {.id = 6, .name = "SendSMS", .kind = Method, .params = kSendSMSParams},
    {.id = 7, .name = "ReadSMS", .kind = Method, .type = InterfaceType("ISMS"), .params = kReadSMSParams},
    {.id = 8, .name = "DeleteSMS", .kind = Method, .params = kIndexParams},
    {.id = 9, .name = "GetSMSList", .kind = Method, .type = InterfaceType("IStrings2"), .params = kStatParams},
    {.id = 10, .name = "SwitchOff", .kind = Method},
    {.id = 13, .name = "LastError", .kind = Property, .type = kLongType, .access = kAccessGet},
    {.id = 14, .name = "IsBusy", .kind = Property, .type = kBoolType, .access = kAccessGet},
    {.id = 15, .name = "LastErrorMsg", .kind = Property, .type = kStringType, .access = kAccessGet},
    {.id = 16, .name = "ErrorCodes", .kind = Property, .type = kStringsType},
    {.id = 17, .name = "NetworkRegistration", .kind = Property, .type = kLongType, .access = kAccessGet},
    {.id = 18, .name = "Mem1", .kind = Property, .type = kStringType},
    {.id = 19, .name = "ManufacturerId", .kind = Property, .type = kStringType, .access = kAccessGet},
    {.id = 20, .name = "ModelId", .kind = Property, .type = kStringType, .access = kAccessGet},
    {.id = 21, .name = "RevisionId", .kind = Property, .type = kStringType, .access = kAccessGet},
    {.id = 22, .name = "SerialNumberId", .kind = Property, .type = kStringType, .access = kAccessGet},
    {.id = 23, .name = "Equipment", .kind = Property, .type = kEquipmentType},
    {.id = 24, .name = "SMSFormat", .kind = Property, .type = kSMSFormatType},
    {.id = 25, .name = "UnsolicitedIndication", .kind = Property, .type = kLongType},
    {.id = 26, .name = "PIN", .kind = Property, .type = kStringType},
    {.id = 27, .name = "SCA", .kind = Property, .type = kStringType},
    {.id = 28, .name = "CommandEcho", .kind = Property, .type = kBoolType},
    {.id = 29, .name = "ExtendedErrorMsg", .kind = Property, .type = kBoolType},
    {.id = 30, .name = "RepeatCount", .kind = Property, .type = kLongType},
    {.id = 31, .name = "RecTimeout", .kind = Property, .type = kLongType},
    {.id = 32, .name = "RepeatTimeout", .kind = Property, .type = kLongType},
    {.id = 33, .name = "DeviceName", .kind = Property, .type = kStringType},
    {.id = 34, .name = "Parity", .kind = Property, .type = kParityType},
    {.id = 35, .name = "StopBits", .kind = Property, .type = kStopBitsType},
    {.id = 36, .name = "BaudRate", .kind = Property, .type = kBaudRateType},
    {.id = 37, .name = "DataBits", .kind = Property, .type = kDataBitsType},
    {.id = 38, .name = "SendChar", .kind = Method, .params = kSendCharParams},
    {.id = 11, .name = "SupportedSMSFormats", .kind = Property, .type = kLongType, .access = kAccessGet},
    {.id = 12, .name = "CheckInterval", .kind = Property, .type = kLongType},
};

// --- ICelvaneEvents -------------------------------------------------------------------------

constexpr P kRxCharParams[] = {{"Char", kByteType}};
constexpr P kLineParams[] = {{"Line", kStringType}};
constexpr P kSMSEventParams[] = {{"Idx", kLongType}, {"SMS", InterfaceType("ISMS")}};
constexpr P kRegistrationParams[] = {{"Status", kLongType}};
constexpr P kBusyParams[] = {{"Busy", kBoolType}};
constexpr P kLogParams[] = {{"Channel", kByteType}, {"Buff", kStringType}};

constexpr M kICelvaneEventsMembers[] = {
    {.id = celvane::kOnRxChar, .name = "OnRxChar", .kind = Method, .params = kRxCharParams},
    {.id = celvane::kOnUnsolicitedLine, .name = "OnUnsolicitedLine", .kind = Method, .params = kLineParams},
    {.id = celvane::kOnUnsolicitedSMS, .name = "OnUnsolicitedSMS", .kind = Method, .params = kSMSEventParams},
    {.id = celvane::kOnNetworkRegistration, .name = "OnNetworkRegistration", .kind = Method,
     .params = kRegistrationParams},
    {.id = celvane::kOnBusyChanged, .name = "OnBusyChanged", .kind = Method, .params = kBusyParams},
    {.id = celvane::kOnLog, .name = "OnLog", .kind = Method, .params = kLogParams},
};

// --- Message interfaces ---------------------------------------------------------------------

constexpr M kISMSMembers[] = {
    {.id = 1, .name = "PDU", .kind = Property, .type = kStringType},
    {.id = 100, .name = "GSM", .kind = Property, .type = InterfaceType("ICelvane")},
};
constexpr M kISMS2Members[] = {
    {.id = 2, .name = "PDUType", .kind = Property, .type = kByteType},
    {.id = 3, .name = "MTI", .kind = Property, .type = kLongType},
    {.id = 4, .name = "DCS", .kind = Property, .type = kByteType},
    {.id = 5, .name = "SCA", .kind = Property, .type = kStringType},
    {.id = 101, .name = "UD", .kind = Property, .type = kStringType},
    {.id = 102, .name = "WideUD", .kind = Property, .type = kStringType},
};
constexpr M kISMSDeliverMembers[] = {
    {.id = 6, .name = "PID", .kind = Property, .type = kByteType},
    {.id = 7, .name = "OA", .kind = Property, .type = kStringType},
    {.id = 8, .name = "SCTS", .kind = Property, .type = kDateType},
    {.id = 9, .name = "SCTSTZ", .kind = Property, .type = kSignedByteType},
    {.id = 10, .name = "SRI", .kind = Property, .type = kBoolType},
    {.id = 11, .name = "MMS", .kind = Property, .type = kBoolType},
    {.id = 12, .name = "RP", .kind = Property, .type = kBoolType},
    {.id = 14, .name = "UDHI", .kind = Property, .type = kBoolType},
};
constexpr M kISMSSubmitMembers[] = {
    {.id = 6, .name = "PID", .kind = Property, .type = kByteType},
    {.id = 7, .name = "DA", .kind = Property, .type = kStringType},
    {.id = 8, .name = "MR", .kind = Property, .type = kByteType},
    {.id = 9, .name = "VP", .kind = Property, .type = kDateType},
    {.id = 10, .name = "VPTZ", .kind = Property, .type = kSignedByteType},
    {.id = 11, .name = "VPF", .kind = Property, .type = kByteType},
    {.id = 12, .name = "SRR", .kind = Property, .type = kBoolType},
    {.id = 13, .name = "RD", .kind = Property, .type = kBoolType},
    {.id = 14, .name = "RP", .kind = Property, .type = kBoolType},
    {.id = 15, .name = "UDHI", .kind = Property, .type = kBoolType},
};
constexpr M kISMSStatusReportMembers[] = {
    {.id = 6, .name = "SRQ", .kind = Property, .type = kBoolType},
    {.id = 7, .name = "MMS", .kind = Property, .type = kBoolType},
    {.id = 8, .name = "MR", .kind = Property, .type = kByteType},
    {.id = 9, .name = "OA", .kind = Property, .type = kStringType},
    {.id = 10, .name = "SCTS", .kind = Property, .type = kDateType},
    {.id = 11, .name = "SCTSTZ", .kind = Property, .type = kSignedByteType},
    {.id = 12, .name = "DT", .kind = Property, .type = kDateType},
    {.id = 13, .name = "DTSTZ", .kind = Property, .type = kSignedByteType},
    {.id = 14, .name = "Status", .kind = Property, .type = kByteType},
};
constexpr M kISMSCommandMembers[] = {
    {.id = 6, .name = "SRR", .kind = Property, .type = kBoolType},
    {.id = 7, .name = "MR", .kind = Property, .type = kByteType},
    {.id = 8, .name = "PID", .kind = Property, .type = kByteType},
    {.id = 9, .name = "CT", .kind = Property, .type = kByteType},
    {.id = 10, .name = "MN", .kind = Property, .type = kByteType},
    {.id = 11, .name = "DA", .kind = Property, .type = kStringType},
};
constexpr M kISMSDeliverReportMembers[] = {
    {.id = 6, .name = "PIDPresent", .kind = Property, .type = kBoolType},
    {.id = 7, .name = "DCSPresent", .kind = Property, .type = kBoolType},
    {.id = 8, .name = "UDPresent", .kind = Property, .type = kBoolType},
    {.id = 9, .name = "PID", .kind = Property, .type = kByteType},
};
constexpr M kISMSSubmitReportMembers[] = {
    {.id = 15, .name = "SCTS", .kind = Property, .type = kDateType},
    {.id = 16, .name = "SCTSTZ", .kind = Property, .type = kSignedByteType},
};
constexpr M kICellBroadcastMembers[] = {
    {.id = 3, .name = "MessageCode", .kind = Property, .type = kWordType},
    {.id = 4, .name = "GeographicalScope", .kind = Property, .type = kByteType},
    {.id = 5, .name = "UpdateNumber", .kind = Property, .type = kByteType},
    {.id = 6, .name = "MessageId", .kind = Property, .type = kWordType},
    {.id = 7, .name = "DCS", .kind = Property, .type = kByteType},
    {.id = 8, .name = "TotalPageNumber", .kind = Property, .type = kByteType},
    {.id = 9, .name = "CurrentPageNumber", .kind = Property, .type = kByteType},
    {.id = 10, .name = "UD", .kind = Property, .type = kStringType},
    {.id = 11, .name = "WideUD", .kind = Property, .type = kStringType},
};

// --- IGlobal --------------------------------------------------------------------------------

constexpr P kDateParam[] = {{"DT", kDateType}};
constexpr P kVPParam[] = {{"VP", kByteType}};
constexpr P kSParam[] = {{"S", kStringType}};
constexpr P kInt2BaudRateParams[] = {{"BR1", kLongType}, {"BR", kBaudRateType, kParamOut}};
constexpr P kBaudRate2IntParams[] = {{"BR", kBaudRateType}};
constexpr P kCreateSMSParams[] = {{"Owner", InterfaceType("ICelvane")}, {"PDU", kStringType}, {"MTDir", kBoolType}};
constexpr P kEqParam[] = {{"Eq", kEquipmentType}};
// Pos is read as the start position and updated: in and out.
constexpr P kExtractParamParams[] = {{"S", kStringType}, {"Pos", kLongType, kParamIn | kParamOut}};

constexpr M kIGlobalMembers[] = {
    {.id = 1, .name = "DTToValPer", .kind = Method, .type = kByteType, .params = kDateParam},
    {.id = 2, .name = "ValPerToDT", .kind = Method, .type = kDateType, .params = kVPParam},
    {.id = 3, .name = "ISOToSMS", .kind = Method, .type = kStringType, .params = kSParam},
    {.id = 4, .name = "SMSToISO", .kind = Method, .type = kStringType, .params = kSParam},
    {.id = 5, .name = "Int2BaudRate", .kind = Method, .type = kBoolType, .params = kInt2BaudRateParams},
    {.id = 6, .name = "BaudRate2Int", .kind = Method, .type = kLongType, .params = kBaudRate2IntParams},
    {.id = 7, .name = "ISMS2_CreateSMS", .kind = Method, .type = InterfaceType("ISMS2"), .params = kCreateSMSParams},
    {.id = 8, .name = "GSMEquipmentShortName", .kind = Method, .type = kStringType, .params = kEqParam},
    {.id = 9, .name = "GSMEquipmentLongName", .kind = Method, .type = kStringType, .params = kEqParam},
    {.id = 10, .name = "Str2GMSEquipment", .kind = Method, .type = kEquipmentType, .params = kSParam},
    {.id = 11, .name = "StripATResponse", .kind = Method, .type = kStringType, .params = kSParam},
    {.id = 12, .name = "IsATResponse", .kind = Method, .type = kBoolType, .params = kSParam},
    {.id = 13, .name = "ExtractParam", .kind = Method, .type = kStringType, .params = kExtractParamParams},
    {.id = 14, .name = "TrimQuotes", .kind = Method, .type = kStringType, .params = kSParam},
};

// --- IStrings2 ------------------------------------------------------------------------------

constexpr M kIStrings2Members[] = {
    {.id = 6, .name = "Objects", .kind = Property, .type = kVariantType, .params = kIndexParams},
};

} // namespace

constexpr InterfaceDescription kICelvaneDescription{
    "ICelvane", ICelvane::kIID, nullptr, InterfaceKind::Dual, "Dispatch interface for TGSM Object", kICelvaneMembers};
constexpr InterfaceDescription kICelvaneEventsDescription{"ICelvaneEvents", celvane::IID_ICelvaneEvents, nullptr,
                                                          InterfaceKind::DispatchOnly,
                                                          "Events interface for TGSM Object", kICelvaneEventsMembers};
constexpr InterfaceDescription kISMSDescription{"ISMS", ISMS::kIID, nullptr, InterfaceKind::Dual, nullptr,
                                                kISMSMembers};
constexpr InterfaceDescription kISMS2Description{"ISMS2", ISMS2::kIID, &kISMSDescription, InterfaceKind::Dual,
                                                 nullptr, kISMS2Members};
constexpr InterfaceDescription kISMSDeliverDescription{"ISMSDeliver", ISMSDeliver::kIID, &kISMS2Description,
                                                       InterfaceKind::Dual, nullptr, kISMSDeliverMembers};
constexpr InterfaceDescription kISMSSubmitDescription{"ISMSSubmit", ISMSSubmit::kIID, &kISMS2Description,
                                                      InterfaceKind::Dual, nullptr, kISMSSubmitMembers};
constexpr InterfaceDescription kISMSStatusReportDescription{"ISMSStatusReport", ISMSStatusReport::kIID,
                                                            &kISMS2Description, InterfaceKind::Dual, nullptr,
                                                            kISMSStatusReportMembers};
constexpr InterfaceDescription kISMSCommandDescription{"ISMSCommand", ISMSCommand::kIID, &kISMS2Description,
                                                       InterfaceKind::Dual, nullptr, kISMSCommandMembers};
constexpr InterfaceDescription kISMSDeliverReportDescription{"ISMSDeliverReport", ISMSDeliverReport::kIID,
                                                             &kISMS2Description, InterfaceKind::Dual, nullptr,
                                                             kISMSDeliverReportMembers};
constexpr InterfaceDescription kISMSSubmitReportDescription{"ISMSSubmitReport", ISMSSubmitReport::kIID,
                                                            &kISMSDeliverReportDescription, InterfaceKind::Dual,
                                                            nullptr, kISMSSubmitReportMembers};
constexpr InterfaceDescription kICellBroadcastDescription{"ICellBroadcast", ICellBroadcast::kIID, &kISMSDescription,
                                                          InterfaceKind::Dual, nullptr, kICellBroadcastMembers};
constexpr InterfaceDescription kIGlobalDescription{"IGlobal", IGlobal::kIID, nullptr, InterfaceKind::Dual, nullptr,
                                                   kIGlobalMembers};
constexpr InterfaceDescription kIStrings2Description{"IStrings2", IStrings2::kIID, &kIStringsDescription,
                                                     InterfaceKind::Dual, nullptr, kIStrings2Members};

namespace {

constexpr const InterfaceDescription* kInterfaces[] = {
    &kICelvaneDescription,         &kICelvaneEventsDescription,  &kISMSDescription,
    &kISMS2Description,            &kISMSDeliverDescription,     &kISMSSubmitDescription,
    &kISMSStatusReportDescription, &kISMSCommandDescription,     &kISMSDeliverReportDescription,
    &kISMSSubmitReportDescription, &kICellBroadcastDescription,  &kIGlobalDescription,
    &kIStrings2Description,
};

constexpr uint8_t kCreatable = kCoclassCreatable;
constexpr CoclassDescription kCoclasses[] = {
    {"Celvane", celvane::CLSID_Celvane, "TGSM Object", kCoclassCreatable | kCoclassControl, &kICelvaneDescription,
     &kICelvaneEventsDescription},
    {"SMS", celvane::CLSID_SMS, nullptr, 0, &kISMSDescription},
    {"SMS2", celvane::CLSID_SMS2, nullptr, 0, &kISMS2Description},
    {"SMSDeliver", celvane::CLSID_SMSDeliver, nullptr, kCreatable, &kISMSDeliverDescription},
    {"SMSSubmit", celvane::CLSID_SMSSubmit, nullptr, kCreatable, &kISMSSubmitDescription},
    {"SMSStatusReport", celvane::CLSID_SMSStatusReport, nullptr, kCreatable, &kISMSStatusReportDescription},
    {"SMSCommand", celvane::CLSID_SMSCommand, nullptr, kCreatable, &kISMSCommandDescription},
    {"SMSDeliverReport", celvane::CLSID_SMSDeliverReport, nullptr, kCreatable, &kISMSDeliverReportDescription},
    {"SMSSubmitReport", celvane::CLSID_SMSSubmitReport, nullptr, kCreatable, &kISMSSubmitReportDescription},
    {"CellBroadcast", celvane::CLSID_CellBroadcast, nullptr, kCreatable, &kICellBroadcastDescription},
    {"Global", celvane::CLSID_Global, nullptr, kCreatable, &kIGlobalDescription},
};

} // namespace

constexpr TypeLibraryDescription kCelvaneTypeLibrary{
    "Celvane_", celvane::kLibraryId, 1, 0, 1033, "Vintrel Celvane Library", kEnums, kInterfaces, kCoclasses};
