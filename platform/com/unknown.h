#pragma once
#include <cstdint>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

// Every interface is an abstract class whose first three slots are these. An interface names
// its id and the interface it extends, so implementations can answer QueryInterface for the
// whole chain (see ComObject).
struct IUnknown {
    static constexpr IID kIID = MakeGuid("{00000000-0000-0000-C000-000000000046}");

    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// Typed QueryInterface and creation: iface->QueryInterface(IID_PPV_ARGS(&pointer)).
template <class I>
constexpr const IID& InterfaceIdOf(I**)
{
    return I::kIID;
}
#define IID_PPV_ARGS(pp) InterfaceIdOf(pp), reinterpret_cast<void**>(pp)
