#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "platform/com/dispatch_binding.h"
#include "platform/com/type_library.h"

// The generic GetIDsOfNames and Invoke over an interface description and the bindings of its
// C++ members. Invoke takes arguments in reverse order, the value of a put as the named
// argument DISPID_PROPERTYPUT, converts each to its declared type, passes out parameters by
// reference (also when the caller offers a by-reference variant), and turns a failure into
// DISP_E_EXCEPTION with the member's error description in EXCEPINFO.
class DispatchTable {
public:
    // One span per interface of the chain, the base first.
    DispatchTable(const InterfaceDescription& iface, std::initializer_list<std::span<const DispatchBinding>> bindings);

    const InterfaceDescription& Interface() const { return iface_; }

    // Declared members without a binding, bindings without a member, signatures that do not
    // match the declaration. Empty for a sound table.
    const std::vector<std::string>& Problems() const { return problems_; }

    HRESULT GetIDsOfNames(const OLECHAR** names, uint32_t count, DISPID* ids) const;
    HRESULT Invoke(IDispatch* self, DISPID id, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, uint32_t* argumentError) const;

private:
    struct Entry {
        const MemberDescription* member;
        const DispatchBinding* get = nullptr;
        const DispatchBinding* put = nullptr;
        const DispatchBinding* method = nullptr;
    };
    const Entry* Find(DISPID id) const;
    void Check(const MemberDescription& member, const DispatchBinding& binding);

    const InterfaceDescription& iface_;
    std::vector<Entry> entries_;
    std::vector<std::string> problems_;
};

// IDispatch of a dual interface I, answered from the table Table() returns.
template <class I, const DispatchTable& (*Table)()>
class DispatchImpl : public I {
public:
    using Interface = I;

    HRESULT GetTypeInfoCount(uint32_t* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT GetIDsOfNames(const IID&, const OLECHAR** names, uint32_t count, LCID, DISPID* ids) override
    {
        return Table().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, uint32_t* argumentError) override
    {
        return Table().Invoke(static_cast<IDispatch*>(this), id, flags, params, result, exception, argumentError);
    }
};
