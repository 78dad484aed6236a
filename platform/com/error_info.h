#pragma once
#include <cstdint>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/com_object.h"
#include "platform/com/dispatch.h"

// A failed member leaves a description of the failure for its calling thread; a dispatch
// caller receives it as EXCEPINFO.
struct IErrorInfo : IUnknown {
    static constexpr IID kIID = MakeGuid("{1CF2B120-547D-101B-8E65-08002B2BD119}");
    using Base = IUnknown;

    virtual HRESULT GetGUID(GUID* iid) = 0;
    virtual HRESULT GetSource(BSTR* source) = 0;
    virtual HRESULT GetDescription(BSTR* description) = 0;
    virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
    virtual HRESULT GetHelpContext(uint32_t* helpContext) = 0;

protected:
    ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
    static constexpr IID kIID = MakeGuid("{22F03340-547D-101B-8E65-08002B2BD119}");
    using Base = IUnknown;

    virtual HRESULT SetGUID(const GUID& iid) = 0;
    virtual HRESULT SetSource(const OLECHAR* source) = 0;
    virtual HRESULT SetDescription(const OLECHAR* description) = 0;
    virtual HRESULT SetHelpFile(const OLECHAR* helpFile) = 0;
    virtual HRESULT SetHelpContext(uint32_t helpContext) = 0;

protected:
    ~ICreateErrorInfo() = default;
};

// S_OK when the object's failures on that interface leave an error description.
struct ISupportErrorInfo : IUnknown {
    static constexpr IID kIID = MakeGuid("{DF0B3D60-548F-101B-8E65-08002B2BD119}");
    using Base = IUnknown;

    virtual HRESULT InterfaceSupportsErrorInfo(const IID& iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

HRESULT CreateErrorInfo(ICreateErrorInfo** info);
// One description per thread; null clears it.
HRESULT SetErrorInfo(uint32_t reserved, IErrorInfo* info);
// Takes the thread's description away; S_FALSE and null when there is none.
HRESULT GetErrorInfo(uint32_t reserved, IErrorInfo** info);

// Records a description for the calling thread and returns code: how a member fails.
HRESULT ReportError(HRESULT code, const IID& iid, std::string_view source, std::string_view description,
                    uint32_t helpContext = 0);

// Call inside a catch block: the current exception becomes E_UNEXPECTED, or the code of an
// EOleSysError carrying a failure, with its message as the thread's error description.
HRESULT HandleMemberException(const IID& iid, std::string_view source);

// Runs a member's body under the one exception handler every member has.
template <class Body>
HRESULT SafeCall(const IID& iid, std::string_view source, Body&& body) noexcept
{
    try {
        body();
        return S_OK;
    } catch (...) {
        return HandleMemberException(iid, source);
    }
}

// ISupportErrorInfo for objects whose members fail through SafeCall: answers S_OK for each
// given interface and the interfaces it extends, IUnknown and IDispatch excepted.
template <class... Interfaces>
class SupportErrorInfo : public ISupportErrorInfo {
public:
    using Interface = ISupportErrorInfo;

    HRESULT InterfaceSupportsErrorInfo(const IID& iid) override
    {
        if (iid == IUnknown::kIID || iid == IDispatch::kIID)
            return S_FALSE;
        return (com_detail::InChain<Interfaces>(iid) || ...) ? S_OK : S_FALSE;
    }
};
