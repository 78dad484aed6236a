#pragma once
#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

// Late binding: members are found by name (GetIDsOfNames) and called by dispatch id (Invoke).
using DISPID = int32_t;
using LCID = uint32_t;

inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
// The value argument of a property put is the named argument with this id.
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;

// Invoke flags.
inline constexpr uint16_t DISPATCH_METHOD = 0x1;
inline constexpr uint16_t DISPATCH_PROPERTYGET = 0x2;
inline constexpr uint16_t DISPATCH_PROPERTYPUT = 0x4;
inline constexpr uint16_t DISPATCH_PROPERTYPUTREF = 0x8;

// Arguments lie in reverse order: rgvarg[cArgs - 1] is the first one. Named arguments come
// first in rgvarg, their ids in rgdispidNamedArgs.
struct DISPPARAMS {
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    uint32_t cArgs;
    uint32_t cNamedArgs;
};

// What a failed member reported, filled by Invoke when it returns DISP_E_EXCEPTION.
struct EXCEPINFO {
    uint16_t wCode;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    uint32_t dwHelpContext;
    HRESULT scode;
};
// Frees the strings and zeroes the record.
void ClearExcepInfo(EXCEPINFO* info);

struct ITypeInfo;

struct IDispatch : IUnknown {
    static constexpr IID kIID = MakeGuid("{00020400-0000-0000-C000-000000000046}");
    using Base = IUnknown;

    virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(uint32_t index, LCID lcid, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(const IID& reserved, const OLECHAR** names, uint32_t count, LCID lcid,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, const IID& reserved, LCID lcid, uint16_t flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, uint32_t* argumentError) = 0;

protected:
    ~IDispatch() = default;
};
