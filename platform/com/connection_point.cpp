#include "platform/com/connection_point.h"

#include <algorithm>

#include "platform/com/enumerator.h"

namespace {

void CopyConnection(CONNECTDATA& to, const CONNECTDATA& from)
{
    to = from;
    if (to.pUnk)
        to.pUnk->AddRef();
}
void FreeConnection(CONNECTDATA& item)
{
    if (item.pUnk)
        item.pUnk->Release();
}
using ConnectionEnumerator = SnapshotEnumerator<IEnumConnections, CONNECTDATA, CopyConnection, FreeConnection>;

void CopyPoint(IConnectionPoint*& to, IConnectionPoint* const& from)
{
    to = from;
    to->AddRef();
}
void FreePoint(IConnectionPoint*& item)
{
    item->Release();
}
using PointEnumerator = SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, CopyPoint, FreePoint>;

} // namespace

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer& owner, const IID& events, ConnectionKind kind)
    : owner_(owner), events_(events), kind_(kind)
{
}

EventConnectionPoint::~EventConnectionPoint() = default;

HRESULT EventConnectionPoint::QueryInterface(const IID& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!(iid == IUnknown::kIID) && !(iid == IConnectionPoint::kIID))
        return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

uint32_t EventConnectionPoint::AddRef()
{
    return owner_.AddRef();
}

uint32_t EventConnectionPoint::Release()
{
    return owner_.Release();
}

HRESULT EventConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    owner_.AddRef();
    *container = &owner_;
    return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, uint32_t* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // Event interfaces are dispatch interfaces: the sink is called through Invoke.
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.Out()))))
        return CONNECT_E_CANNOTCONNECT;
    std::lock_guard guard(lock_);
    if (kind_ == ConnectionKind::Single && !connections_.empty())
        return CONNECT_E_ADVISELIMIT;
    *cookie = nextCookie_++;
    connections_.push_back({*cookie, std::move(events)});
    return S_OK;
}

HRESULT EventConnectionPoint::Unadvise(uint32_t cookie)
{
    ComPtr<IDispatch> released;  // released after the lock, the sink may call back
    std::lock_guard guard(lock_);
    auto it = std::find_if(connections_.begin(), connections_.end(), [&](const Connection& c) { return c.cookie == cookie; });
    if (it == connections_.end())
        return CONNECT_E_NOCONNECTION;
    released = std::move(it->sink);
    connections_.erase(it);
    return S_OK;
}

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (!connections)
        return E_POINTER;
    std::vector<CONNECTDATA> items;
    {
        std::lock_guard guard(lock_);
        for (const auto& c : connections_) {
            c.sink->AddRef();
            items.push_back({c.sink.Get(), c.cookie});
        }
    }
    *connections = MakeComObject<ConnectionEnumerator>(std::move(items)).Detach();
    return S_OK;
}

std::vector<ComPtr<IDispatch>> EventConnectionPoint::Sinks() const
{
    std::lock_guard guard(lock_);
    std::vector<ComPtr<IDispatch>> sinks;
    for (const auto& c : connections_)
        sinks.push_back(c.sink);
    return sinks;
}

HRESULT EventConnectionPoint::Fire(DISPID id, std::span<VARIANT> arguments) const
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
    HRESULT first = S_OK;
    for (const auto& sink : Sinks()) {
        EXCEPINFO exception{};
        HRESULT hr = sink->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &exception, nullptr);
        ClearExcepInfo(&exception);
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    }
    return first;
}

HRESULT EventSource::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (!points)
        return E_POINTER;
    point_.AddRef();
    *points = MakeComObject<PointEnumerator>(std::vector<IConnectionPoint*>{&point_}).Detach();
    return S_OK;
}

HRESULT EventSource::FindConnectionPoint(const IID& iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    IID events{};
    point_.GetConnectionInterface(&events);
    if (!(iid == events))
        return CONNECT_E_NOCONNECTION;
    point_.AddRef();
    *point = &point_;
    return S_OK;
}
