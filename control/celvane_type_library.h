#pragma once
// The type library of the Celvane library, written once: the dispatch tables, the
// registration and the listing of gwregsvr -l all come from these descriptions.
#include "platform/com/type_library.h"

extern const InterfaceDescription kICelvaneDescription;
extern const InterfaceDescription kICelvaneEventsDescription;
extern const InterfaceDescription kISMSDescription;
extern const InterfaceDescription kISMS2Description;
extern const InterfaceDescription kISMSDeliverDescription;
extern const InterfaceDescription kISMSSubmitDescription;
extern const InterfaceDescription kISMSStatusReportDescription;
extern const InterfaceDescription kISMSCommandDescription;
extern const InterfaceDescription kISMSDeliverReportDescription;
extern const InterfaceDescription kISMSSubmitReportDescription;
extern const InterfaceDescription kICellBroadcastDescription;
extern const InterfaceDescription kIGlobalDescription;
extern const InterfaceDescription kIStrings2Description;

extern const TypeLibraryDescription kCelvaneTypeLibrary;

// The programmatic identifiers, "Celvane.<coclass>": the source of every error description.
inline constexpr const char* kCelvaneProgId = "Celvane.Celvane";
