#pragma once
#include <initializer_list>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

// Late-bound calls on an automation object by dispatch id, arguments in their natural order.
// A failure raises EOleSysError carrying the member's error description when it left one.
Variant DispatchGet(IDispatch* object, DISPID id);
void DispatchPut(IDispatch* object, DISPID id, const Variant& value);
Variant DispatchCall(IDispatch* object, DISPID id, std::vector<Variant> arguments = {});

// An out parameter: the member writes through it into value.
Variant OutArgument(Variant& value);
