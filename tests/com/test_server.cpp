// A small server library with one creatable class, for the registration, creation and
// dispatch tests: entry points, type library and table-driven IDispatch as the control has.
#include <map>

#include "platform/com/connection_point.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "platform/com/server_module.h"
#include "platform/com/type_library_loader.h"
#include "platform/sys/exception.h"
#include "tests/com/test_interfaces.h"

namespace {

constexpr Enumerator kModes[] = {{"tmOff", tmOff}, {"tmOn", tmOn}, {"tmAuto", tmAuto}};
constexpr EnumDescription kEnums[] = {{"TTestMode", kModes}};

constexpr MemberDescription kBaseMembers[] = {
    {.id = 1, .name = "Name", .kind = MemberKind::Property, .type = kStringType},
    {.id = 2, .name = "Flag", .kind = MemberKind::Property, .type = kBoolType},
};
constexpr ParamDescription kAddParams[] = {{"A", kLongType}, {"B", kLongType}};
constexpr ParamDescription kSplitParams[] = {
    {"Text", kStringType},
    {"Length", kLongType, kParamOut},
    {"Start", kLongType, kParamOptional, 1},
};
constexpr ParamDescription kFailParams[] = {{"Message", kStringType}};
constexpr ParamDescription kIndexParams[] = {{"Index", kLongType}};
constexpr ParamDescription kPingParams[] = {{"Code", kLongType}};
constexpr MemberDescription kDerivedMembers[] = {
    {.id = 3, .name = "Value", .kind = MemberKind::Property, .type = kLongType},
    {.id = 4, .name = "Small", .kind = MemberKind::Property, .type = kByteType},
    {.id = 5, .name = "Add", .kind = MemberKind::Method, .type = kLongType, .params = kAddParams},
    {.id = 6, .name = "Split", .kind = MemberKind::Method, .type = kStringType, .params = kSplitParams},
    {.id = 7, .name = "Fail", .kind = MemberKind::Method, .params = kFailParams},
    {.id = 8, .name = "Item", .kind = MemberKind::Property, .type = kStringType, .params = kIndexParams},
    {.id = 9, .name = "Day", .kind = MemberKind::Property, .type = kDateType},
    {.id = 10, .name = "Mode", .kind = MemberKind::Property, .type = EnumType("TTestMode")},
    {.id = 11, .name = "Peer", .kind = MemberKind::Property, .type = InterfaceType("ITestBase")},
    {.id = 12, .name = "Ping", .kind = MemberKind::Method, .params = kPingParams},
};
constexpr MemberDescription kEventMembers[] = {
    {.id = kOnPing, .name = "OnPing", .kind = MemberKind::Method, .params = kPingParams},
};

constexpr InterfaceDescription kBase{"ITestBase", ITestBase::kIID, nullptr, InterfaceKind::Dual, "Base", kBaseMembers};
constexpr InterfaceDescription kDerived{"ITestDerived", ITestDerived::kIID, &kBase, InterfaceKind::Dual, "Derived",
                                        kDerivedMembers};
constexpr InterfaceDescription kEvents{"ITestEvents", kTestEventsIID, nullptr, InterfaceKind::DispatchOnly, "Events",
                                       kEventMembers};
constexpr const InterfaceDescription* kInterfaces[] = {&kBase, &kDerived, &kEvents};
constexpr CoclassDescription kCoclasses[] = {
    {"TestObject", kTestObjectClass, "Test object", kCoclassCreatable, &kDerived, &kEvents}};
constexpr TypeLibraryDescription kLibrary{"GwComTest", kTestLibrary, 1, 0, 1033, "Object model test library",
                                          kEnums, kInterfaces, kCoclasses};

constexpr DispatchBinding kBaseBindings[] = {
    BindGet<&ITestBase::get_Name>("Name"), BindPut<&ITestBase::put_Name>("Name"),
    BindGet<&ITestBase::get_Flag>("Flag"), BindPut<&ITestBase::put_Flag>("Flag"),
};
constexpr DispatchBinding kDerivedBindings[] = {
    BindGet<&ITestDerived::get_Value>("Value"), BindPut<&ITestDerived::put_Value>("Value"),
    BindGet<&ITestDerived::get_Small>("Small"), BindPut<&ITestDerived::put_Small>("Small"),
    BindFunction<&ITestDerived::Add>("Add"),    BindFunction<&ITestDerived::Split>("Split"),
    BindMethod<&ITestDerived::Fail>("Fail"),    BindGet<&ITestDerived::get_Item>("Item"),
    BindPut<&ITestDerived::put_Item>("Item"),   BindGet<&ITestDerived::get_Day>("Day"),
    BindPut<&ITestDerived::put_Day>("Day"),     BindGet<&ITestDerived::get_Mode>("Mode"),
    BindPut<&ITestDerived::put_Mode>("Mode"),   BindGet<&ITestDerived::get_Peer>("Peer"),
    BindPut<&ITestDerived::put_Peer>("Peer"),   BindMethod<&ITestDerived::Ping>("Ping"),
};

const DispatchTable& DerivedTable()
{
    static const DispatchTable table(kDerived, {kBaseBindings, kDerivedBindings});
    return table;
}

constexpr const char* kSource = "GwComTest.TestObject";

class TestObject : public ComObject<DispatchImpl<ITestDerived, &DerivedTable>, SupportErrorInfo<ITestDerived>,
                                    SingleEventSource<kTestEventsIID, ConnectionKind::Multiple>> {
public:
    HRESULT get_Name(BSTR* value) override { return Give(Bstr(name_).Detach(), value); }
    HRESULT put_Name(BSTR value) override { return Take(Bstr(BstrView(value)), name_); }
    HRESULT get_Flag(VARIANT_BOOL* value) override { return Give(ToVariantBool(flag_), value); }
    HRESULT put_Flag(VARIANT_BOOL value) override { return Take(value != VARIANT_FALSE, flag_); }
    HRESULT get_Value(int32_t* value) override { return Give(value_, value); }
    HRESULT put_Value(int32_t value) override { return Take(value, value_); }
    HRESULT get_Small(uint8_t* value) override { return Give(small_, value); }
    HRESULT put_Small(uint8_t value) override { return Take(value, small_); }
    HRESULT Add(int32_t a, int32_t b, int32_t* sum) override { return Give(a + b, sum); }
    HRESULT Split(BSTR text, int32_t* length, int32_t start, BSTR* rest) override
    {
        return SafeCall(ITestDerived::kIID, kSource, [&] {
            std::u16string_view all = BstrView(text);
            if (start < 1 || size_t(start) > all.size() + 1)
                throw Exception("Start out of range");
            *rest = Bstr(all.substr(start - 1)).Detach();
            *length = static_cast<int32_t>(all.size() - (start - 1));
        });
    }
    HRESULT Fail(BSTR message) override
    {
        return SafeCall(ITestDerived::kIID, kSource, [&] { throw Exception(NarrowBstr(message)); });
    }
    HRESULT get_Item(int32_t index, BSTR* value) override { return Give(Bstr(items_[index]).Detach(), value); }
    HRESULT put_Item(int32_t index, BSTR value) override { return Take(std::u16string(BstrView(value)), items_[index]); }
    HRESULT get_Day(DATE* value) override { return Give(day_, value); }
    HRESULT put_Day(DATE value) override { return Take(value, day_); }
    HRESULT get_Mode(TTestMode* value) override { return Give(mode_, value); }
    HRESULT put_Mode(TTestMode value) override { return Take(value, mode_); }
    HRESULT get_Peer(ITestBase** value) override
    {
        if (!value)
            return E_POINTER;
        *value = ComPtr<ITestBase>(peer_).Detach();
        return S_OK;
    }
    HRESULT put_Peer(ITestBase* value) override { return Take(ComPtr<ITestBase>(value), peer_); }
    HRESULT Ping(int32_t code) override
    {
        Variant argument = Variant::I4(code);
        Events().Fire(kOnPing, std::span<VARIANT>(static_cast<VARIANT*>(&argument), 1));
        return S_OK;
    }

private:
    template <class T>
    static HRESULT Give(T value, T* out)
    {
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }
    template <class T>
    static HRESULT Take(T value, T& field)
    {
        field = std::move(value);
        return S_OK;
    }
    HRESULT Take(Bstr value, std::u16string& field)
    {
        field = std::u16string(value.View());
        return S_OK;
    }

    std::u16string name_;
    bool flag_ = false;
    int32_t value_ = 0;
    uint8_t small_ = 0;
    std::map<int32_t, std::u16string> items_;
    DATE day_ = 0;
    TTestMode mode_ = tmOff;
    ComPtr<ITestBase> peer_;
};

HRESULT CreateTestObject(const IID& iid, void** object)
{
    return CreateComObject<TestObject>(iid, object);
}

constexpr ClassRegistration kClasses[] = {
    {kTestObjectClass, "Test object", kSource, "Both", 0x12400, 1, false, &CreateTestObject},
};

ServerModule module(kClasses, &kLibrary);

} // namespace

extern "C" {
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object)
{
    return module.GetClassObject(clsid, iid, object);
}
HRESULT DllRegisterServer()
{
    return module.Register();
}
HRESULT DllUnregisterServer()
{
    return module.Unregister();
}
HRESULT DllCanUnloadNow()
{
    return module.CanUnloadNow();
}
// For the test of the table itself: an unsound table is a fault of the server.
int TestServerTableProblems()
{
    return static_cast<int>(DerivedTable().Problems().size());
}
}
