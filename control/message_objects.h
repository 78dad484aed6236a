#pragma once
// The message objects handed to automation clients, each holding its own codec message.
#include "control/celvane_tlb.h"
#include "platform/com/com_ptr.h"

class TSMS;

namespace GSM2 {

// Class factory bodies of the creatable message classes.
HRESULT CreateSMSDeliver(const IID& iid, void** object);
HRESULT CreateSMSSubmit(const IID& iid, void** object);
HRESULT CreateSMSStatusReport(const IID& iid, void** object);
HRESULT CreateSMSCommand(const IID& iid, void** object);
HRESULT CreateSMSDeliverReport(const IID& iid, void** object);
HRESULT CreateSMSSubmitReport(const IID& iid, void** object);
HRESULT CreateCellBroadcast(const IID& iid, void** object);

// A new object holding a copy of the message, for the message's class; none for no message or
// a class without a message object. Later changes to either side do not reach the other.
ComPtr<ISMS> WrapSMS(const TSMS* message);

} // namespace GSM2
