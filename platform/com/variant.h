#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/hresult.h"

struct IUnknown;
struct IDispatch;

// Value types that cross the automation boundary.
using VARTYPE = uint16_t;
enum : VARTYPE {
    VT_EMPTY = 0,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,  // a missing optional argument carries DISP_E_PARAMNOTFOUND
    VT_BOOL = 11,
    VT_VARIANT = 12,  // only with VT_BYREF, or as a declared "any value" type
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_BYREF = 0x4000,  // the value lives in the caller's variable: out parameters
};
inline constexpr VARTYPE kVarTypeMask = 0x0FFF;

// Booleans are -1 and 0; any non-zero value received counts as true.
enum VARIANT_BOOL : int16_t { VARIANT_FALSE = 0, VARIANT_TRUE = -1 };
constexpr VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// Days since 30 December 1899, the fraction the time of day.
using DATE = double;

struct VARIANT {
    VARTYPE vt;
    uint16_t reserved[3];
    union {
        int8_t cVal;
        uint8_t bVal;
        int16_t iVal;
        uint16_t uiVal;
        int32_t lVal;
        VARIANT_BOOL boolVal;
        double dblVal;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        HRESULT scode;
        int8_t* pcVal;
        uint8_t* pbVal;
        int16_t* piVal;
        uint16_t* puiVal;
        int32_t* plVal;
        VARIANT_BOOL* pboolVal;
        double* pdblVal;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        VARIANT* pvarVal;
        void* byref;
    };
};

void VariantInit(VARIANT* v);
// Frees the string or releases the interface a variant owns (never what a by-reference one
// points to) and leaves it empty.
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts src (dereferenced when by reference) into dest, which may be src itself.
// DISP_E_TYPEMISMATCH when no conversion exists, DISP_E_OVERFLOW when the value does not fit.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, VARTYPE vt);

// Owns one variant's value.
class Variant : public VARIANT {
public:
    Variant() { VariantInit(this); }
    Variant(const VARIANT& other);
    Variant(const Variant& other) : Variant(static_cast<const VARIANT&>(other)) {}
    Variant(Variant&& other) noexcept;
    ~Variant() { VariantClear(this); }
    Variant& operator=(Variant other) noexcept;

    static Variant I1(int8_t value);
    static Variant UI1(uint8_t value);
    static Variant I2(int16_t value);
    static Variant UI2(uint16_t value);
    static Variant I4(int32_t value);
    static Variant R8(double value);
    static Variant Bool(bool value);
    static Variant Date(DATE value);
    static Variant Str(std::u16string_view text);
    // Widened through the system's 8-bit code page.
    static Variant Narrow(std::string_view text);
    static Variant Dispatch(IDispatch* object);  // takes a new reference
    static Variant Unknown(IUnknown* object);    // takes a new reference
    static Variant Missing();                    // an optional argument left out
    // Out parameters: the variant points at the caller's variable.
    static Variant ByRef(VARTYPE vt, void* target);

    // Takes over the value; the source is left empty.
    static Variant Attach(VARIANT& owned);
    // Hands the value over to an out parameter and leaves this variant empty.
    void Detach(VARIANT* out);

    // Conversions for client code: a failed conversion raises EOleSysError.
    int32_t ToInt() const;
    bool ToBool() const;
    DATE ToDate() const;
    std::string ToNarrow() const;
    std::u16string ToWide() const;
};
