#include "platform/com/variant.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/com/dispatch.h"
#include "platform/com/ole_error.h"
#include "platform/sys/code_page.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

bool IsInteger(VARTYPE vt)
{
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_BOOL:
        return true;
    default:
        return false;
    }
}

int64_t IntegerOf(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I1: return v.cVal;
    case VT_UI1: return v.bVal;
    case VT_I2: return v.iVal;
    case VT_UI2: return v.uiVal;
    case VT_I4: return v.lVal;
    default: return v.boolVal ? VARIANT_TRUE : VARIANT_FALSE;
    }
}

struct IntegerRange {
    VARTYPE vt;
    int64_t min;
    int64_t max;
};
constexpr IntegerRange kIntegerRanges[] = {
    {VT_I1, INT8_MIN, INT8_MAX},   {VT_UI1, 0, UINT8_MAX},     {VT_I2, INT16_MIN, INT16_MAX},
    {VT_UI2, 0, UINT16_MAX},       {VT_I4, INT32_MIN, INT32_MAX},
};

HRESULT StoreInteger(int64_t value, VARTYPE vt, VARIANT* dest)
{
    if (vt == VT_BOOL) {
        dest->boolVal = ToVariantBool(value != 0);
    } else {
        for (const auto& range : kIntegerRanges) {
            if (range.vt != vt)
                continue;
            if (value < range.min || value > range.max)
                return DISP_E_OVERFLOW;
            switch (vt) {
            case VT_I1: dest->cVal = static_cast<int8_t>(value); break;
            case VT_UI1: dest->bVal = static_cast<uint8_t>(value); break;
            case VT_I2: dest->iVal = static_cast<int16_t>(value); break;
            case VT_UI2: dest->uiVal = static_cast<uint16_t>(value); break;
            default: dest->lVal = static_cast<int32_t>(value); break;
            }
        }
    }
    dest->vt = vt;
    return S_OK;
}

HRESULT StoreReal(double value, VARTYPE vt, VARIANT* dest)
{
    if (vt == VT_R8 || vt == VT_DATE) {
        dest->dblVal = value;
        dest->vt = vt;
        return S_OK;
    }
    if (!std::isfinite(value) || std::fabs(value) > double(INT32_MAX) + 1)
        return DISP_E_OVERFLOW;
    return StoreInteger(static_cast<int64_t>(std::nearbyint(value)), vt, dest);  // rounds half to even
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

HRESULT StoreText(std::u16string_view text, VARTYPE vt, VARIANT* dest)
{
    if (vt == VT_BOOL) {
        if (SameTextIgnoringCase(text, u"True"))
            return StoreInteger(1, vt, dest);
        if (SameTextIgnoringCase(text, u"False"))
            return StoreInteger(0, vt, dest);
    }
    std::string narrow = NarrowCP1252(text);
    if (IsInteger(vt)) {
        int value = 0;
        if (!TryStrToInt(narrow, value))
            return DISP_E_TYPEMISMATCH;
        return StoreInteger(value, vt, dest);
    }
    char* end = nullptr;
    double value = std::strtod(narrow.c_str(), &end);
    if (narrow.empty() || *end != '\0')
        return DISP_E_TYPEMISMATCH;
    return StoreReal(value, vt, dest);
}

HRESULT StoreInterface(IUnknown* source, VARTYPE vt, VARIANT* dest)
{
    void* converted = nullptr;
    if (source) {
        const IID& iid = vt == VT_DISPATCH ? IDispatch::kIID : IUnknown::kIID;
        if (FAILED(source->QueryInterface(iid, &converted)))
            return DISP_E_TYPEMISMATCH;
    }
    dest->vt = vt;
    dest->byref = converted;
    return S_OK;
}

HRESULT StoreBstr(std::u16string text, VARIANT* dest)
{
    dest->vt = VT_BSTR;
    dest->bstrVal = Bstr(text).Detach();
    return S_OK;
}

// Converts a plain (not by-reference) value into an empty dest.
HRESULT Convert(const VARIANT& src, VARTYPE vt, VARIANT* dest)
{
    if (vt == src.vt || vt == VT_VARIANT)
        return VariantCopy(dest, &src);
    if (vt == VT_EMPTY)
        return S_OK;
    bool numeric = IsInteger(vt) || vt == VT_R8 || vt == VT_DATE;
    bool object = vt == VT_DISPATCH || vt == VT_UNKNOWN;
    if (!numeric && !object && vt != VT_BSTR)
        return DISP_E_BADVARTYPE;
    switch (src.vt) {
    case VT_EMPTY:
        if (vt == VT_BSTR || object) {
            dest->vt = vt;
            dest->byref = nullptr;
            return S_OK;
        }
        return IsInteger(vt) ? StoreInteger(0, vt, dest) : StoreReal(0, vt, dest);
    case VT_R8:
    case VT_DATE:
        if (vt == VT_BSTR)
            return src.vt == VT_DATE ? DISP_E_TYPEMISMATCH : StoreBstr(WidenCP1252(Format("%.15g", src.dblVal)), dest);
        return numeric ? StoreReal(src.dblVal, vt, dest) : DISP_E_TYPEMISMATCH;
    case VT_BSTR:
        return numeric ? StoreText(BstrView(src.bstrVal), vt, dest) : DISP_E_TYPEMISMATCH;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return object ? StoreInterface(src.punkVal, vt, dest) : DISP_E_TYPEMISMATCH;
    default:
        if (!IsInteger(src.vt))
            return DISP_E_TYPEMISMATCH;
        if (vt == VT_BSTR) {
            if (src.vt == VT_BOOL)
                return StoreBstr(src.boolVal ? u"True" : u"False", dest);
            return StoreBstr(WidenCP1252(Format("%lld", static_cast<long long>(IntegerOf(src)))), dest);
        }
        if (vt == VT_R8 || vt == VT_DATE)
            return StoreReal(double(IntegerOf(src)), vt, dest);
        return numeric ? StoreInteger(IntegerOf(src), vt, dest) : DISP_E_TYPEMISMATCH;
    }
}

// The value a by-reference variant points at, as a plain variant that owns nothing.
HRESULT Dereference(const VARIANT& src, VARIANT& plain)
{
    if (!(src.vt & VT_BYREF)) {
        plain = src;
        return S_OK;
    }
    if (!src.byref)
        return E_POINTER;
    VARTYPE vt = src.vt & kVarTypeMask;
    if (vt == VT_VARIANT)
        return Dereference(*src.pvarVal, plain);
    VariantInit(&plain);
    plain.vt = vt;
    switch (vt) {
    case VT_I1: plain.cVal = *src.pcVal; break;
    case VT_UI1: plain.bVal = *src.pbVal; break;
    case VT_I2: plain.iVal = *src.piVal; break;
    case VT_UI2: plain.uiVal = *src.puiVal; break;
    case VT_I4: plain.lVal = *src.plVal; break;
    case VT_BOOL: plain.boolVal = *src.pboolVal; break;
    case VT_R8: case VT_DATE: plain.dblVal = *src.pdblVal; break;
    case VT_BSTR: plain.bstrVal = *src.pbstrVal; break;
    case VT_DISPATCH: plain.pdispVal = *src.ppdispVal; break;
    case VT_UNKNOWN: plain.punkVal = *src.ppunkVal; break;
    default: return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

} // namespace

void VariantInit(VARIANT* v)
{
    std::memset(v, 0, sizeof(VARIANT));
}

HRESULT VariantClear(VARIANT* v)
{
    if (!v)
        return E_POINTER;
    switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstrVal); break;
    case VT_DISPATCH: case VT_UNKNOWN:
        if (v->punkVal)
            v->punkVal->Release();
        break;
    default: break;
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_POINTER;
    if (dest == src)
        return S_OK;
    VARIANT copy = *src;
    if (copy.vt == VT_BSTR && copy.bstrVal)
        copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal)
        copy.punkVal->AddRef();
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, VARTYPE vt)
{
    if (!dest || !src)
        return E_POINTER;
    VARIANT plain;
    if (HRESULT hr = Dereference(*src, plain); FAILED(hr))
        return hr;
    VARIANT converted;
    VariantInit(&converted);
    if (HRESULT hr = Convert(plain, vt, &converted); FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    VariantClear(dest);
    *dest = converted;
    return S_OK;
}

Variant::Variant(const VARIANT& other)
{
    VariantInit(this);
    VariantCopy(this, &other);
}

Variant::Variant(Variant&& other) noexcept
{
    *static_cast<VARIANT*>(this) = other;
    VariantInit(&other);
}

Variant& Variant::operator=(Variant other) noexcept
{
    std::swap(static_cast<VARIANT&>(*this), static_cast<VARIANT&>(other));
    return *this;
}

Variant Variant::Attach(VARIANT& owned)
{
    Variant v;
    *static_cast<VARIANT*>(&v) = owned;
    VariantInit(&owned);
    return v;
}

void Variant::Detach(VARIANT* out)
{
    VariantClear(out);
    *out = *this;
    VariantInit(this);
}

#define GW_VARIANT_MAKER(Name, Type, Tag, Field) \
    Variant Variant::Name(Type value)            \
    {                                            \
        Variant v;                               \
        v.vt = Tag;                              \
        v.Field = value;                         \
        return v;                                \
    }
GW_VARIANT_MAKER(I1, int8_t, VT_I1, cVal)
GW_VARIANT_MAKER(UI1, uint8_t, VT_UI1, bVal)
GW_VARIANT_MAKER(I2, int16_t, VT_I2, iVal)
GW_VARIANT_MAKER(UI2, uint16_t, VT_UI2, uiVal)
GW_VARIANT_MAKER(I4, int32_t, VT_I4, lVal)
GW_VARIANT_MAKER(R8, double, VT_R8, dblVal)
GW_VARIANT_MAKER(Date, DATE, VT_DATE, date)
#undef GW_VARIANT_MAKER

Variant Variant::Bool(bool value)
{
    Variant v;
    v.vt = VT_BOOL;
    v.boolVal = ToVariantBool(value);
    return v;
}

Variant Variant::Str(std::u16string_view text)
{
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = Bstr(text).Detach();
    return v;
}

Variant Variant::Narrow(std::string_view text)
{
    return Str(WidenCP1252(text));
}

Variant Variant::Dispatch(IDispatch* object)
{
    Variant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    if (object)
        object->AddRef();
    return v;
}

Variant Variant::Unknown(IUnknown* object)
{
    Variant v;
    v.vt = VT_UNKNOWN;
    v.punkVal = object;
    if (object)
        object->AddRef();
    return v;
}

Variant Variant::Missing()
{
    Variant v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

Variant Variant::ByRef(VARTYPE vt, void* target)
{
    Variant v;
    v.vt = static_cast<VARTYPE>(vt | VT_BYREF);
    v.byref = target;
    return v;
}

namespace {

Variant ConvertedOrThrow(const VARIANT& v, VARTYPE vt)
{
    Variant converted;
    OleCheck(VariantChangeType(&converted, &v, vt));
    return converted;
}

} // namespace

int32_t Variant::ToInt() const
{
    return ConvertedOrThrow(*this, VT_I4).lVal;
}

bool Variant::ToBool() const
{
    return ConvertedOrThrow(*this, VT_BOOL).boolVal != VARIANT_FALSE;
}

DATE Variant::ToDate() const
{
    return ConvertedOrThrow(*this, VT_DATE).date;
}

std::string Variant::ToNarrow() const
{
    return NarrowBstr(ConvertedOrThrow(*this, VT_BSTR).bstrVal);
}

std::u16string Variant::ToWide() const
{
    return std::u16string(BstrView(ConvertedOrThrow(*this, VT_BSTR).bstrVal));
}
