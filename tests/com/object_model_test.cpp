#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/com/co_create.h"
#include "platform/com/connection_point.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "tests/com/registry_fixture.h"
#include "tests/com/test_interfaces.h"

namespace {

class ObjectModel : public TemporaryRegistry {
protected:
    void SetUp() override
    {
        TemporaryRegistry::SetUp();
        baseline_ = LiveComObjects();
        ASSERT_EQ(CallServer("DllRegisterServer"), S_OK);
        object_ = CreateComInstance<ITestDerived>(kTestObjectClass);
        ASSERT_TRUE(object_);
        dispatch_ = object_.Query<IDispatch>();
    }
    void TearDown() override
    {
        object_.Reset();
        dispatch_.Reset();
        EXPECT_EQ(LiveComObjects(), baseline_) << "an object outlived its last reference";
        TemporaryRegistry::TearDown();
    }

    DISPID IdOf(const char16_t* name)
    {
        DISPID id = DISPID_UNKNOWN;
        const OLECHAR* names[] = {name};
        EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), S_OK) << NarrowBstr(Bstr(name).Get());
        return id;
    }
    // Arguments in natural order; Invoke receives them reversed, as a real caller sends them.
    HRESULT Call(DISPID id, uint16_t flags, std::vector<Variant> args, Variant* result = nullptr,
                 EXCEPINFO* exception = nullptr, uint32_t* argumentError = nullptr)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID put = DISPID_PROPERTYPUT;
        bool isPut = flags & DISPATCH_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<uint32_t>(reversed.size()),
                          isPut ? 1u : 0u};
        return dispatch_->Invoke(id, GUID_NULL, 0, flags, &params, result, exception, argumentError);
    }

    int32_t baseline_ = 0;
    ComPtr<ITestDerived> object_;
    ComPtr<IDispatch> dispatch_;
};

TEST_F(ObjectModel, QueryInterfaceKeepsIdentitySymmetryAndTransitivity)
{
    ComPtr<IUnknown> identity = object_.Query<IUnknown>();
    const IID chain[] = {IUnknown::kIID, IDispatch::kIID, ITestBase::kIID, ITestDerived::kIID,
                         ISupportErrorInfo::kIID, IConnectionPointContainer::kIID};
    for (const IID& from : chain) {
        ComPtr<IUnknown> a;
        ASSERT_EQ(identity->QueryInterface(from, reinterpret_cast<void**>(a.Out())), S_OK) << GuidToString(from);
        EXPECT_EQ(a.Query<IUnknown>(), identity) << "identity through " << GuidToString(from);
        for (const IID& to : chain) {
            ComPtr<IUnknown> b;
            EXPECT_EQ(a->QueryInterface(to, reinterpret_cast<void**>(b.Out())), S_OK)
                << GuidToString(from) << " -> " << GuidToString(to);
        }
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(identity->QueryInterface(kTestEventsIID, reinterpret_cast<void**>(none.Out())), E_NOINTERFACE);
    EXPECT_FALSE(none);
    EXPECT_EQ(identity->QueryInterface(IUnknown::kIID, nullptr), E_POINTER);
}

TEST_F(ObjectModel, ReferencesAreCountedAndTheLastReleaseFrees)
{
    ITestDerived* raw = object_.Get();
    EXPECT_EQ(raw->AddRef(), 3u);  // object_, dispatch_, this one
    EXPECT_EQ(raw->Release(), 2u);
    int32_t live = LiveComObjects();
    {
        ComPtr<ITestDerived> second = CreateComInstance<ITestDerived>(kTestObjectClass);
        object_->put_Peer(second.Query<ITestBase>().Get());
        EXPECT_EQ(LiveComObjects(), live + 1);
    }
    EXPECT_EQ(LiveComObjects(), live + 1) << "the peer holds it";
    object_->put_Peer(nullptr);
    EXPECT_EQ(LiveComObjects(), live);
}

TEST_F(ObjectModel, InvokeFindsMembersByNameWithoutRegardToCase)
{
    EXPECT_EQ(IdOf(u"Name"), 1);
    EXPECT_EQ(IdOf(u"name"), 1);  // a base interface's member
    EXPECT_EQ(IdOf(u"ADD"), 5);
    DISPID id = 0;
    const OLECHAR* unknown[] = {u"Nothing"};
    EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(ObjectModel, InvokeConvertsArgumentsInReverseOrder)
{
    Variant sum;
    ASSERT_EQ(Call(IdOf(u"Add"), DISPATCH_METHOD, {Variant::Narrow("40"), Variant::UI1(2)}, &sum), S_OK);
    EXPECT_EQ(sum.vt, VT_I4);
    EXPECT_EQ(sum.lVal, 42);

    // Split(Text, Length, Start): the order matters, so a reversal would show.
    int32_t length = 0;
    Variant rest;
    ASSERT_EQ(Call(6, DISPATCH_METHOD, {Variant::Narrow("abcdef"), Variant::ByRef(VT_I4, &length), Variant::I4(3)},
                   &rest), S_OK);
    EXPECT_EQ(rest.ToNarrow(), "cdef");
    EXPECT_EQ(length, 4);
}

TEST_F(ObjectModel, PropertyPutTakesTheNamedValueArgument)
{
    ASSERT_EQ(Call(3, DISPATCH_PROPERTYPUT, {Variant::Narrow("17")}), S_OK);
    int32_t value = 0;
    object_->get_Value(&value);
    EXPECT_EQ(value, 17);

    ASSERT_EQ(Call(2, DISPATCH_PROPERTYPUT, {Variant::I4(5)}), S_OK);  // 5 counts as true
    Variant flag;
    ASSERT_EQ(Call(2, DISPATCH_PROPERTYGET, {}, &flag), S_OK);
    EXPECT_EQ(flag.vt, VT_BOOL);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);

    // Indexed property: index first, the value as the named argument.
    ASSERT_EQ(Call(8, DISPATCH_PROPERTYPUT, {Variant::I4(3), Variant::Narrow("three")}), S_OK);
    Variant item;
    ASSERT_EQ(Call(8, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {Variant::I4(3)}, &item), S_OK);
    EXPECT_EQ(item.ToNarrow(), "three");

    // A put without the named argument is refused.
    Variant value2 = Variant::I4(1);
    DISPPARAMS unnamed{&value2, nullptr, 1, 0};
    EXPECT_EQ(dispatch_->Invoke(3, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
}

TEST_F(ObjectModel, InvokeCarriesEnumerationsDatesAndObjects)
{
    ASSERT_EQ(Call(10, DISPATCH_PROPERTYPUT, {Variant::I2(tmAuto)}), S_OK);
    TTestMode mode = tmOff;
    object_->get_Mode(&mode);
    EXPECT_EQ(mode, tmAuto);

    ASSERT_EQ(Call(9, DISPATCH_PROPERTYPUT, {Variant::R8(36526.5)}), S_OK);
    Variant day;
    ASSERT_EQ(Call(9, DISPATCH_PROPERTYGET, {}, &day), S_OK);
    EXPECT_EQ(day.vt, VT_DATE);
    EXPECT_DOUBLE_EQ(day.date, 36526.5);

    ComPtr<ITestDerived> peer = CreateComInstance<ITestDerived>(kTestObjectClass);
    ASSERT_EQ(Call(11, DISPATCH_PROPERTYPUT, {Variant::Dispatch(peer.Query<IDispatch>().Get())}), S_OK);
    Variant back;
    ASSERT_EQ(Call(11, DISPATCH_PROPERTYGET, {}, &back), S_OK);
    ASSERT_EQ(back.vt, VT_DISPATCH);
    EXPECT_EQ(ComPtr<IDispatch>(back.pdispVal).Query<IUnknown>(), peer.Query<IUnknown>());
    ASSERT_EQ(Call(11, DISPATCH_PROPERTYPUT, {Variant()}), S_OK);  // empty clears it
    ComPtr<ITestBase> cleared;
    object_->get_Peer(cleared.Out());
    EXPECT_FALSE(cleared);
}

TEST_F(ObjectModel, OutParametersAcceptAReferenceToAVariant)
{
    Variant length;  // empty, as a script passes a fresh variable
    Variant rest;
    ASSERT_EQ(Call(6, DISPATCH_METHOD, {Variant::Narrow("abc"), Variant::ByRef(VT_VARIANT, static_cast<VARIANT*>(&length))},
                   &rest), S_OK);
    EXPECT_EQ(rest.ToNarrow(), "abc") << "Start left out takes its default 1";
    EXPECT_EQ(length.vt, VT_I4);
    EXPECT_EQ(length.lVal, 3);

    // An out parameter passed by value cannot receive anything.
    uint32_t argumentError = 99;
    EXPECT_EQ(Call(6, DISPATCH_METHOD, {Variant::Narrow("abc"), Variant::I4(0)}, &rest, nullptr, &argumentError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argumentError, 0u);  // reversed position of the second of two arguments
}

TEST_F(ObjectModel, BadCallsGetTheDispatchCodes)
{
    Variant result;
    uint32_t argumentError = 99;
    EXPECT_EQ(Call(99, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(5, DISPATCH_METHOD, {Variant::I4(1)}), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Call(5, DISPATCH_METHOD, {Variant::I4(1), Variant::I4(2), Variant::I4(3)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(5, DISPATCH_METHOD, {Variant::I4(1), Variant::Narrow("x")}, &result, nullptr, &argumentError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argumentError, 0u);
    EXPECT_EQ(Call(4, DISPATCH_PROPERTYPUT, {Variant::I4(300)}), DISP_E_OVERFLOW);
    EXPECT_EQ(Call(12, DISPATCH_PROPERTYGET, {}), DISP_E_MEMBERNOTFOUND) << "Ping is no property";
}

TEST_F(ObjectModel, AFailedMemberReachesTheDispatchCallerAsExcepInfo)
{
    EXCEPINFO exception{};
    EXPECT_EQ(Call(7, DISPATCH_METHOD, {Variant::Narrow("No reply on AT command: AT")}, nullptr, &exception),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_UNEXPECTED);
    EXPECT_EQ(NarrowBstr(exception.bstrDescription), "No reply on AT command: AT");
    EXPECT_EQ(NarrowBstr(exception.bstrSource), "GwComTest.TestObject");
    ClearExcepInfo(&exception);

    // Through the vtable the caller gets the code and the thread's error description.
    EXPECT_EQ(object_->Fail(Bstr::FromNarrow("Connection is active").Get()), E_UNEXPECTED);
    EXPECT_EQ(object_.Query<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(ITestBase::kIID), S_OK);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Out()), S_OK);
    Bstr description;
    info->GetDescription(description.Out());
    EXPECT_EQ(description.Narrow(), "Connection is active");
    GUID iid{};
    info->GetGUID(&iid);
    EXPECT_EQ(iid, ITestDerived::kIID);
    EXPECT_EQ(GetErrorInfo(0, info.Out()), S_FALSE) << "reading takes it away";
}

class PingSink : public ComObject<IDispatch> {
public:
    HRESULT GetTypeInfoCount(uint32_t* count) override { return *count = 0, S_OK; }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, const OLECHAR**, uint32_t, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t, DISPPARAMS* params, VARIANT*, EXCEPINFO*, uint32_t*) override
    {
        if (id != kOnPing || params->cArgs != 1)
            return DISP_E_MEMBERNOTFOUND;
        codes.push_back(Variant(params->rgvarg[0]).ToInt());
        return raise ? E_UNEXPECTED : S_OK;
    }
    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        if (iid == kTestEventsIID)  // the sink implements the event interface through IDispatch
            return ComObject::QueryInterface(IDispatch::kIID, object);
        return ComObject::QueryInterface(iid, object);
    }
    std::vector<int> codes;
    bool raise = false;
};

TEST_F(ObjectModel, EventsReachEveryAdvisedSinkUntilUnadvised)
{
    ComPtr<IConnectionPoint> point;
    auto container = object_.Query<IConnectionPointContainer>();
    ASSERT_EQ(container->FindConnectionPoint(kTestEventsIID, point.Out()), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(ITestBase::kIID, point.Out()), CONNECT_E_NOCONNECTION);
    container->FindConnectionPoint(kTestEventsIID, point.Out());

    auto first = MakeComObject<PingSink>();
    auto second = MakeComObject<PingSink>();
    first->raise = true;  // a raising sink does not keep the event from the others
    uint32_t cookie1 = 0, cookie2 = 0;
    ASSERT_EQ(point->Advise(first->Identity(), &cookie1), S_OK);
    ASSERT_EQ(point->Advise(second->Identity(), &cookie2), S_OK);
    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.Out()), S_OK);
    CONNECTDATA data[3]{};
    uint32_t fetched = 0;
    EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (uint32_t i = 0; i < fetched; ++i)
        data[i].pUnk->Release();

    object_->Ping(7);
    ASSERT_EQ(point->Unadvise(cookie1), S_OK);
    EXPECT_EQ(point->Unadvise(cookie1), CONNECT_E_NOCONNECTION);
    object_->Ping(8);
    EXPECT_EQ(first->codes, std::vector<int>{7});
    EXPECT_EQ(second->codes, (std::vector<int>{7, 8}));

    auto notASink = MakeComObject<PingSink>();
    uint32_t cookie3 = 0;
    ComPtr<IUnknown> plain = object_.Query<IUnknown>();  // answers no event interface
    EXPECT_EQ(point->Advise(plain.Get(), &cookie3), CONNECT_E_CANNOTCONNECT);
    point->Unadvise(cookie2);
}

TEST_F(ObjectModel, TheConnectionPointLivesAsLongAsItsObject)
{
    ComPtr<IConnectionPoint> point;
    object_.Query<IConnectionPointContainer>()->FindConnectionPoint(kTestEventsIID, point.Out());
    object_.Reset();
    dispatch_.Reset();
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(point->GetConnectionPointContainer(container.Out()), S_OK);
    EXPECT_TRUE(container.Query<ITestDerived>());
}

TEST_F(ObjectModel, TheDispatchTableMatchesItsDeclarations)
{
    void* handle = dlopen(GW_TEST_SERVER, RTLD_NOW | RTLD_LOCAL);
    auto problems = reinterpret_cast<int (*)()>(dlsym(handle, "TestServerTableProblems"));
    ASSERT_NE(problems, nullptr);
    EXPECT_EQ(problems(), 0);
}

using Registration = TemporaryRegistry;

TEST_F(Registration, CreatesOnlyWhatIsRegistered)
{
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(kTestObjectClass, nullptr, IUnknown::kIID, reinterpret_cast<void**>(object.Out())),
              REGDB_E_CLASSNOTREG);

    ASSERT_EQ(CallServer("DllRegisterServer"), S_OK);
    std::optional<ClassEntry> entry = Registry().FindClass(kTestObjectClass);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->library, std::filesystem::canonical(GW_TEST_SERVER).string());
    EXPECT_EQ(entry->threadingModel, "Both");
    EXPECT_EQ(entry->miscStatus, 0x12400u);
    EXPECT_EQ(entry->toolboxBitmap, 1);
    EXPECT_EQ(entry->typeLibrary, kTestLibrary);
    EXPECT_TRUE(Registry().FindTypeLibrary(kTestLibrary, 1, 0));

    ASSERT_EQ(CoCreateInstance(kTestObjectClass, nullptr, IUnknown::kIID, reinterpret_cast<void**>(object.Out())), S_OK);
    EXPECT_EQ(CoCreateInstance(kUnregisteredClass, nullptr, IUnknown::kIID, reinterpret_cast<void**>(object.Out())),
              REGDB_E_CLASSNOTREG);
    ComPtr<IUnknown> aggregate;
    ComPtr<IUnknown> outer = CreateComInstance<IUnknown>(kTestObjectClass);
    EXPECT_EQ(CoCreateInstance(kTestObjectClass, outer.Get(), IUnknown::kIID, reinterpret_cast<void**>(aggregate.Out())),
              CLASS_E_NOAGGREGATION);

    ASSERT_EQ(CallServer("DllUnregisterServer"), S_OK);
    EXPECT_EQ(CoCreateInstance(kTestObjectClass, nullptr, IUnknown::kIID, reinterpret_cast<void**>(object.Out())),
              REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(Registry().FindTypeLibrary(kTestLibrary, 1, 0));
    EXPECT_EQ(CallServer("DllCanUnloadNow"), S_FALSE) << "an object is alive";
    outer.Reset();
    SetErrorInfo(0, nullptr);  // the failures above left a description, itself an object
    EXPECT_EQ(CallServer("DllCanUnloadNow"), S_OK);
}

TEST_F(Registration, AClassWhoseLibraryIsGoneSaysWhy)
{
    Registry::Update([](Registry& r) {
        ClassEntry e;
        e.clsid = kUnregisteredClass;
        e.library = "/nonexistent/libgone.so";
        r.PutClass(e);
    });
    ComPtr<IUnknown> object;
    HRESULT hr = CoCreateInstance(kUnregisteredClass, nullptr, IUnknown::kIID, reinterpret_cast<void**>(object.Out()));
    EXPECT_EQ(hr, CO_E_DLLNOTFOUND);
    try {
        OleCheck(hr);
        FAIL();
    } catch (const EOleSysError& e) {
        EXPECT_NE(e.Message().find("/nonexistent/libgone.so"), std::string::npos) << e.Message();
    }
}

TEST_F(Registration, TheFileIsReadableTextAndSurvivesDamage)
{
    ASSERT_EQ(CallServer("DllRegisterServer"), S_OK);
    std::ifstream in(file_);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("[class {3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0C1}]\nname = Test object\n"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("threading = Both\nmiscstatus = $12400\ntoolbox = 1\n"), std::string::npos);

    // Garbage before a section and a broken line inside it hide nothing else.
    std::ofstream(file_) << "garbage without section\n" << text.str() << "\nthis line has no equals sign\n";
    EXPECT_TRUE(Registry().FindClass(kTestObjectClass));
    EXPECT_FALSE(std::filesystem::exists(file_.string() + "." + std::to_string(getpid()) + ".tmp"));
}

#ifdef GW_REGSVR
TEST_F(Registration, TheRegistrationProgramRegistersAndUnregisters)
{
    std::string command = std::string(GW_REGSVR) + " " + GW_TEST_SERVER + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(Registry().FindClass(kTestObjectClass));
    command = std::string(GW_REGSVR) + " -u " + GW_TEST_SERVER + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(Registry().FindClass(kTestObjectClass));
    command = std::string(GW_REGSVR) + " /nonexistent/lib.so 2> /dev/null > /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
#endif

} // namespace
