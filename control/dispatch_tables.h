#pragma once
// The dispatch tables of the library's interfaces, each built from the type library and the
// bindings of the C++ members; a sound table reports no problems.
#include "platform/com/dispatch_table.h"

const DispatchTable& CelvaneTable();
const DispatchTable& GlobalTable();
const DispatchTable& SMSListTable();

namespace GSM2 {
const DispatchTable& DeliverTable();
const DispatchTable& SubmitTable();
const DispatchTable& StatusReportTable();
const DispatchTable& CommandTable();
const DispatchTable& DeliverReportTable();
const DispatchTable& SubmitReportTable();
const DispatchTable& CellBroadcastTable();
} // namespace GSM2
