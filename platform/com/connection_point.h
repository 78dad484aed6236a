#pragma once
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

// Event sinks: a client finds the connection point of an event interface through the object's
// IConnectionPointContainer and advises it its sink; the object fires events to the sinks.
struct IConnectionPointContainer;

struct CONNECTDATA {
    IUnknown* pUnk;
    uint32_t dwCookie;
};

struct IEnumConnections : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B287-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT Next(uint32_t count, CONNECTDATA* connections, uint32_t* fetched) = 0;
    virtual HRESULT Skip(uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnections** clone) = 0;

protected:
    ~IEnumConnections() = default;
};

struct IConnectionPoint : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B286-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(uint32_t cookie) = 0;
    virtual HRESULT EnumConnections(IEnumConnections** connections) = 0;

protected:
    ~IConnectionPoint() = default;
};

struct IEnumConnectionPoints : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B285-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT Next(uint32_t count, IConnectionPoint** points, uint32_t* fetched) = 0;
    virtual HRESULT Skip(uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnectionPoints** clone) = 0;

protected:
    ~IEnumConnectionPoints() = default;
};

struct IConnectionPointContainer : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B284-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
    virtual HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

enum class ConnectionKind {
    Single,    // a second Advise gives CONNECT_E_ADVISELIMIT
    Multiple,
};

// The connection point of one event interface, part of the object that fires the events: its
// reference count is the object's, so it lives exactly as long as the object.
class EventConnectionPoint final : public IConnectionPoint {
public:
    EventConnectionPoint(IConnectionPointContainer& owner, const IID& events, ConnectionKind kind);
    ~EventConnectionPoint();

    HRESULT QueryInterface(const IID& iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    HRESULT GetConnectionInterface(IID* iid) override;
    HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT Advise(IUnknown* sink, uint32_t* cookie) override;
    HRESULT Unadvise(uint32_t cookie) override;
    HRESULT EnumConnections(IEnumConnections** connections) override;

    // The sinks connected now, for firing outside the lock.
    std::vector<ComPtr<IDispatch>> Sinks() const;
    // Calls the event method on every sink with the arguments in their natural order; returns
    // the first failure, after trying every sink.
    HRESULT Fire(DISPID id, std::span<VARIANT> arguments) const;

private:
    struct Connection {
        uint32_t cookie;
        ComPtr<IDispatch> sink;
    };

    IConnectionPointContainer& owner_;
    IID events_;
    ConnectionKind kind_;
    mutable std::mutex lock_;
    std::vector<Connection> connections_;  // guarded by lock_
    uint32_t nextCookie_ = 1;              // guarded by lock_
};

// IConnectionPointContainer for an object with one event interface; see SingleEventSource.
class EventSource : public IConnectionPointContainer {
public:
    using Interface = IConnectionPointContainer;

    EventSource(const IID& events, ConnectionKind kind) : point_(*this, events, kind) {}

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** point) override;

    EventConnectionPoint& Events() { return point_; }

private:
    EventConnectionPoint point_;
};

// A part of ComObject: ComObject<IExample, SingleEventSource<IExampleEvents::kIID>>.
template <const IID& EventsIID, ConnectionKind Kind = ConnectionKind::Single>
class SingleEventSource : public EventSource {
public:
    SingleEventSource() : EventSource(EventsIID, Kind) {}
};
