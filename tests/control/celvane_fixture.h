#pragma once
// A test registry of its own for each test, with the standard type library and the Celvane
// library registered, and small helpers for late-bound calls as a script host makes them.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "control/celvane_tlb.h"
#include "platform/com/co_create.h"
#include "platform/com/error_info.h"
#include "platform/com/strings_interface.h"

inline HRESULT CallCelvane(const char* entryName)
{
    void* handle = dlopen(GW_CELVANE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return E_FAIL;
    auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, entryName));
    return entry ? entry() : E_FAIL;
}

class CelvaneRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/celvane-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        setenv("GATEWAY_REGISTRY", (directory_ / "registry").c_str(), 1);
        ASSERT_EQ(RegisterStdTypeLibrary(), S_OK);
        ASSERT_EQ(CallCelvane("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        unsetenv("GATEWAY_REGISTRY");
        std::filesystem::remove_all(directory_);
    }

    template <class I>
    static ComPtr<I> Create(const CLSID& clsid)
    {
        ComPtr<I> object;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, I::kIID, reinterpret_cast<void**>(object.Out())), S_OK);
        return object;
    }

    std::filesystem::path directory_;
};

// The description a failed vtable call left for this thread.
inline std::string LastErrorDescription()
{
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Out()) == S_OK)
        info->GetDescription(description.Out());
    return description.Narrow();
}

// A late-bound call with the arguments in their natural order; a failure's description lands
// in *error.
struct LateBound {
    IDispatch* object;

    HRESULT Call(const char16_t* name, uint16_t flags, std::vector<Variant> args, Variant* result = nullptr,
                 std::string* error = nullptr) const
    {
        DISPID id = DISPID_UNKNOWN;
        const OLECHAR* names[] = {name};
        if (HRESULT hr = object->GetIDsOfNames(GUID_NULL, names, 1, 0, &id); FAILED(hr))
            return hr;
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID putId = DISPID_PROPERTYPUT;
        bool put = flags & DISPATCH_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), put ? &putId : nullptr, static_cast<uint32_t>(reversed.size()),
                          put ? 1u : 0u};
        EXCEPINFO exception{};
        Variant ignored;
        HRESULT hr = object->Invoke(id, GUID_NULL, 0, flags, &params, result ? result : &ignored, &exception, nullptr);
        if (hr == DISP_E_EXCEPTION && error)
            *error = NarrowBstr(exception.bstrDescription);
        ClearExcepInfo(&exception);
        return hr;
    }
    Variant Get(const char16_t* name, std::vector<Variant> indexes = {}) const
    {
        Variant value;
        EXPECT_EQ(Call(name, DISPATCH_PROPERTYGET, std::move(indexes), &value), S_OK) << Narrow(name);
        return value;
    }
    HRESULT Put(const char16_t* name, Variant value) const
    {
        return Call(name, DISPATCH_PROPERTYPUT, {std::move(value)});
    }
    static std::string Narrow(const char16_t* name) { return Bstr(name).Narrow(); }
};
