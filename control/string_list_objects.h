#pragma once
// String lists handed to automation clients (IStrings). Creating one fails with
// TYPE_E_LIBNOTREGISTERED when the standard type library is not registered.
#include <memory>

#include "control/celvane_tlb.h"
#include "platform/sys/string_list.h"

// Over a list the new object owns.
HRESULT CreateOwnedStrings(std::unique_ptr<TStrings> list, IStrings** strings);
// A live view of a list that belongs to keeper, which the view keeps alive.
HRESULT CreateStringsView(TStrings& list, IUnknown* keeper, IStrings** strings);

// TGSM_SMSListAdapter: the engine's message list, kept for the adapter's lifetime, with a
// message object per entry through Objects.
HRESULT CreateSMSListAdapter(std::unique_ptr<TStringList> list, IStrings2** adapter);

// The items of a client's string list.
void CopyStrings(IStrings* from, TStrings& to);
