#pragma once
// Values handed across the automation boundary by the members of this library: an out
// parameter that is null is the caller's fault (E_POINTER); strings are widened and narrowed
// through the system's 8-bit code page; booleans are -1 and 0, any non-zero value is true.
#include <string>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/variant.h"

template <class T>
HRESULT Give(T value, T* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

inline HRESULT GiveBool(bool value, VARIANT_BOOL* out)
{
    return Give(ToVariantBool(value), out);
}

inline HRESULT GiveString(std::string_view value, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = Bstr::FromNarrow(value).Detach();
    return S_OK;
}

inline HRESULT GiveWide(std::u16string_view value, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = Bstr(value).Detach();
    return S_OK;
}

template <class I>
HRESULT GiveInterface(const ComPtr<I>& value, I** out)
{
    if (!out)
        return E_POINTER;
    *out = ComPtr<I>(value).Detach();
    return S_OK;
}

constexpr bool IsTrue(VARIANT_BOOL value)
{
    return value != VARIANT_FALSE;
}

// A member that only stores a value: it cannot fail.
template <class Body>
HRESULT Store(Body&& body)
{
    body();
    return S_OK;
}
