#pragma once
// For hosts of the control: a sink for ICelvaneEvents that hands each event to a handler, and
// the connection of such a sink to a control. Header only: hosts never link the library.
#include <functional>
#include <vector>

#include "control/celvane_tlb.h"
#include "platform/com/com_object.h"
#include "platform/com/connection_point.h"

class CelvaneEventSink final : public ComObject<IDispatch> {
public:
    // The event's dispatch id and its arguments in their natural order. A handler that raises
    // makes the call fail; the control ignores that.
    using Handler = std::function<void(DISPID id, const std::vector<Variant>& arguments)>;

    explicit CelvaneEventSink(Handler handler) : handler_(std::move(handler)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        // Events are dispatched calls: the event interface is answered by IDispatch.
        if (iid == celvane::IID_ICelvaneEvents)
            return ComObject<IDispatch>::QueryInterface(IDispatch::kIID, object);
        return ComObject<IDispatch>::QueryInterface(iid, object);
    }
    HRESULT GetTypeInfoCount(uint32_t* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo**) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT GetIDsOfNames(const IID&, const OLECHAR**, uint32_t, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t, DISPPARAMS* params, VARIANT*, EXCEPINFO*, uint32_t*) override
    {
        if (!params)
            return E_INVALIDARG;
        std::vector<Variant> arguments;
        for (uint32_t i = params->cArgs; i > 0; --i)
            arguments.emplace_back(params->rgvarg[i - 1]);
        try {
            handler_(id, arguments);
        } catch (...) {
            return E_FAIL;
        }
        return S_OK;
    }

private:
    Handler handler_;
};

// Connects the sink to the control's events; the cookie undoes it with DisconnectEvents.
inline HRESULT ConnectEvents(IUnknown* control, IUnknown* sink, uint32_t* cookie)
{
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (HRESULT hr = control->QueryInterface(IID_PPV_ARGS(container.Out())); FAILED(hr))
        return hr;
    if (HRESULT hr = container->FindConnectionPoint(celvane::IID_ICelvaneEvents, point.Out()); FAILED(hr))
        return hr;
    return point->Advise(sink, cookie);
}

inline HRESULT DisconnectEvents(IUnknown* control, uint32_t cookie)
{
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (HRESULT hr = control->QueryInterface(IID_PPV_ARGS(container.Out())); FAILED(hr))
        return hr;
    if (HRESULT hr = container->FindConnectionPoint(celvane::IID_ICelvaneEvents, point.Out()); FAILED(hr))
        return hr;
    return point->Unadvise(cookie);
}
