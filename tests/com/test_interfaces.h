#pragma once
// What a client of the test server knows: its interfaces and identifiers.
#include "platform/com/dispatch.h"

enum TTestMode : int32_t { tmOff = 0, tmOn = 1, tmAuto = 2 };

inline constexpr CLSID kTestObjectClass = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0C1}");
inline constexpr CLSID kUnregisteredClass = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0FF}");
inline constexpr GUID kTestLibrary = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0B0}");

struct ITestBase : IDispatch {
    static constexpr IID kIID = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A001}");
    using Base = IDispatch;
    virtual HRESULT get_Name(BSTR* value) = 0;
    virtual HRESULT put_Name(BSTR value) = 0;
    virtual HRESULT get_Flag(VARIANT_BOOL* value) = 0;
    virtual HRESULT put_Flag(VARIANT_BOOL value) = 0;

protected:
    ~ITestBase() = default;
};

struct ITestDerived : ITestBase {
    static constexpr IID kIID = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A002}");
    using Base = ITestBase;
    virtual HRESULT get_Value(int32_t* value) = 0;
    virtual HRESULT put_Value(int32_t value) = 0;
    virtual HRESULT get_Small(uint8_t* value) = 0;
    virtual HRESULT put_Small(uint8_t value) = 0;
    virtual HRESULT Add(int32_t a, int32_t b, int32_t* sum) = 0;
    // The text from position Start (counting from 1), and its length in Length.
    virtual HRESULT Split(BSTR text, int32_t* length, int32_t start, BSTR* rest) = 0;
    virtual HRESULT Fail(BSTR message) = 0;
    virtual HRESULT get_Item(int32_t index, BSTR* value) = 0;
    virtual HRESULT put_Item(int32_t index, BSTR value) = 0;
    virtual HRESULT get_Day(DATE* value) = 0;
    virtual HRESULT put_Day(DATE value) = 0;
    virtual HRESULT get_Mode(TTestMode* value) = 0;
    virtual HRESULT put_Mode(TTestMode value) = 0;
    virtual HRESULT get_Peer(ITestBase** value) = 0;
    virtual HRESULT put_Peer(ITestBase* value) = 0;
    virtual HRESULT Ping(int32_t code) = 0;

protected:
    ~ITestDerived() = default;
};

// Events, called through IDispatch only.
inline constexpr IID kTestEventsIID = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0E0}");
inline constexpr DISPID kOnPing = 1;
