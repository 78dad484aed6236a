#pragma once
#include <cstdint>

#include "platform/com/unknown.h"

struct IClassFactory : IUnknown {
    static constexpr IID kIID = MakeGuid("{00000001-0000-0000-C000-000000000046}");
    using Base = IUnknown;

    // No class of this system can be aggregated: a non-null outer gives CLASS_E_NOAGGREGATION.
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    virtual HRESULT LockServer(int32_t lock) = 0;

protected:
    ~IClassFactory() = default;
};
