#pragma once
#include <cstdint>

// Status codes: negative means failure. Only the codes this system uses are named.
using HRESULT = int32_t;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT MakeFailure(uint32_t code) { return static_cast<HRESULT>(code); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;

inline constexpr HRESULT E_NOTIMPL = MakeFailure(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002);
inline constexpr HRESULT E_POINTER = MakeFailure(0x80004003);
inline constexpr HRESULT E_FAIL = MakeFailure(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeFailure(0x8000FFFF);
inline constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeFailure(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154);
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeFailure(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeFailure(0x800401F9);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeFailure(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeFailure(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeFailure(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeFailure(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeFailure(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = MakeFailure(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = MakeFailure(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = MakeFailure(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeFailure(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = MakeFailure(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeFailure(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeFailure(0x8002000F);

inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeFailure(0x8002802B);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeFailure(0x8002801D);
inline constexpr HRESULT TYPE_E_CANTLOADLIBRARY = MakeFailure(0x80029C4A);

inline constexpr HRESULT CONNECT_E_NOCONNECTION = MakeFailure(0x80040200);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeFailure(0x80040201);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeFailure(0x80040202);
