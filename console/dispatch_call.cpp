#include "console/dispatch_call.h"

#include <algorithm>

#include "platform/com/ole_error.h"
#include "platform/sys/format.h"

namespace {

Variant Invoke(IDispatch* object, DISPID id, uint16_t flags, std::vector<Variant> arguments)
{
    if (!object)
        throw EOleSysError(E_POINTER, "The automation object is not available");
    std::reverse(arguments.begin(), arguments.end());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = flags & DISPATCH_PROPERTYPUT;
    DISPPARAMS params{arguments.data(), put ? &putId : nullptr, static_cast<uint32_t>(arguments.size()),
                      put ? 1u : 0u};
    EXCEPINFO exception{};
    Variant result;
    const HRESULT hr = object->Invoke(id, GUID_NULL, 0, flags, &params, &result, &exception, nullptr);
    if (hr == DISP_E_EXCEPTION) {
        std::string description = NarrowBstr(exception.bstrDescription);
        const HRESULT code = exception.scode;
        ClearExcepInfo(&exception);
        throw EOleSysError(code, description.empty() ? StatusText(code) : description);
    }
    ClearExcepInfo(&exception);
    if (FAILED(hr))
        throw EOleSysError(hr, Format("%s (member %d)", StatusText(hr).c_str(), id));
    return result;
}

}  // namespace

Variant DispatchGet(IDispatch* object, DISPID id)
{
    return Invoke(object, id, DISPATCH_PROPERTYGET, {});
}

void DispatchPut(IDispatch* object, DISPID id, const Variant& value)
{
    Invoke(object, id, DISPATCH_PROPERTYPUT, {value});
}

Variant DispatchCall(IDispatch* object, DISPID id, std::vector<Variant> arguments)
{
    return Invoke(object, id, DISPATCH_METHOD, std::move(arguments));
}

Variant OutArgument(Variant& value)
{
    return Variant::ByRef(VT_VARIANT, static_cast<VARIANT*>(&value));
}
