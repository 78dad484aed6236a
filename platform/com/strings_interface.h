#pragma once
#include <vector>

#include "platform/com/dispatch_table.h"

// The standard string list interface of the VCL's standard type library (version 4.0): string
// lists cross the automation boundary through it. Its description belongs to the platform,
// which registers it with the registration program.
struct IEnumVARIANT : IUnknown {
    static constexpr IID kIID = MakeGuid("{00020404-0000-0000-C000-000000000046}");
    using Base = IUnknown;
    virtual HRESULT Next(uint32_t count, VARIANT* items, uint32_t* fetched) = 0;
    virtual HRESULT Skip(uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumVARIANT** clone) = 0;

protected:
    ~IEnumVARIANT() = default;
};

struct IStrings : IDispatch {
    static constexpr IID kIID = MakeGuid("{EE05DFE2-5549-11D0-9EA9-0020AF3D82DA}");
    using Base = IDispatch;

    virtual HRESULT get_ControlDefault(int32_t index, BSTR* item) = 0;
    virtual HRESULT put_ControlDefault(int32_t index, BSTR item) = 0;
    virtual HRESULT Count(int32_t* count) = 0;
    virtual HRESULT get_Item(int32_t index, BSTR* item) = 0;
    virtual HRESULT put_Item(int32_t index, BSTR item) = 0;
    virtual HRESULT Remove(int32_t index) = 0;
    virtual HRESULT Clear() = 0;
    virtual HRESULT Add(BSTR item, int32_t* index) = 0;
    virtual HRESULT _NewEnum(IUnknown** enumerator) = 0;

protected:
    ~IStrings() = default;
};

extern const InterfaceDescription kIStringsDescription;
extern const TypeLibraryDescription kStdVclTypeLibrary;

// The dispatch table of IStrings, for string list adapters and interfaces extending it.
extern const DispatchBinding kIStringsBindings[9];
const DispatchTable& StringsDispatchTable();

// What creating a string list adapter checks first: TYPE_E_LIBNOTREGISTERED when the standard
// type library is not registered.
HRESULT LoadStringsTypeLibrary();
HRESULT RegisterStdTypeLibrary();
HRESULT UnregisterStdTypeLibrary();

// An enumerator over a snapshot of values, for _NewEnum.
HRESULT CreateVariantEnumerator(std::vector<Variant> items, IUnknown** enumerator);
