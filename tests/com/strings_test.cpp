#include <gtest/gtest.h>

#include "platform/com/error_info.h"
#include "platform/com/strings_adapter.h"
#include "tests/com/registry_fixture.h"

namespace {

class StringsAdapterTest : public TemporaryRegistry {
protected:
    HRESULT Call(IDispatch* d, const char16_t* name, uint16_t flags, std::vector<Variant> args, Variant* result,
                 EXCEPINFO* exception = nullptr)
    {
        DISPID id = 0;
        const OLECHAR* names[] = {name};
        if (HRESULT hr = d->GetIDsOfNames(GUID_NULL, names, 1, 0, &id); FAILED(hr))
            return hr;
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID put = DISPID_PROPERTYPUT;
        bool isPut = flags & DISPATCH_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<uint32_t>(reversed.size()), isPut};
        return d->Invoke(id, GUID_NULL, 0, flags, &params, result, exception, nullptr);
    }
    TStringList list_;
};

TEST_F(StringsAdapterTest, NeedsTheStandardTypeLibraryRegistered)
{
    ComPtr<IStrings> adapter;
    EXPECT_EQ(CreateStringsAdapter(list_, adapter.Out()), TYPE_E_LIBNOTREGISTERED);
    EXPECT_FALSE(adapter);
    ASSERT_EQ(RegisterStdTypeLibrary(), S_OK);
    EXPECT_EQ(CreateStringsAdapter(list_, adapter.Out()), S_OK);
    ASSERT_EQ(UnregisterStdTypeLibrary(), S_OK);
    EXPECT_EQ(CreateStringsAdapter(list_, adapter.Out()), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(StringsAdapterTest, IsALiveViewOfTheList)
{
    ASSERT_EQ(RegisterStdTypeLibrary(), S_OK);
    ComPtr<IStrings> adapter;
    ASSERT_EQ(CreateStringsAdapter(list_, adapter.Out()), S_OK);
    IDispatch* d = adapter.Get();
    Variant index;
    ASSERT_EQ(Call(d, u"Add", DISPATCH_METHOD, {Variant::Narrow("OK")}, &index), S_OK);
    ASSERT_EQ(Call(d, u"Add", DISPATCH_METHOD, {Variant::Narrow("\x80 ERROR")}, &index), S_OK);
    EXPECT_EQ(index.lVal, 1);
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(list_[1], "\x80 ERROR");

    list_.Add("+CMS ERROR");
    Variant count, item;
    ASSERT_EQ(Call(d, u"Count", DISPATCH_PROPERTYGET, {}, &count), S_OK);
    EXPECT_EQ(count.lVal, 3);
    ASSERT_EQ(Call(d, u"Item", DISPATCH_PROPERTYPUT, {Variant::I4(0), Variant::Narrow("READY")}, nullptr), S_OK);
    EXPECT_EQ(list_[0], "READY");
    // The default member reads items too.
    DISPPARAMS byIndex{nullptr, nullptr, 0, 0};
    Variant two = Variant::I4(2);
    byIndex.rgvarg = &two;
    byIndex.cArgs = 1;
    ASSERT_EQ(d->Invoke(DISPID_VALUE, GUID_NULL, 0, DISPATCH_PROPERTYGET, &byIndex, &item, nullptr, nullptr), S_OK);
    EXPECT_EQ(item.ToNarrow(), "+CMS ERROR");

    ASSERT_EQ(adapter->Remove(1), S_OK);
    Variant enumerated;
    ASSERT_EQ(Call(d, u"_NewEnum", DISPATCH_PROPERTYGET, {}, &enumerated), S_OK);
    ComPtr<IEnumVARIANT> items = ComPtr<IUnknown>(enumerated.punkVal).Query<IEnumVARIANT>();
    ASSERT_TRUE(items);
    VARIANT out[3];
    uint32_t fetched = 0;
    EXPECT_EQ(items->Next(3, out, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(Variant::Attach(out[0]).ToNarrow(), "READY");
    EXPECT_EQ(Variant::Attach(out[1]).ToNarrow(), "+CMS ERROR");

    ASSERT_EQ(Call(d, u"Clear", DISPATCH_METHOD, {}, nullptr), S_OK);
    EXPECT_EQ(list_.Count(), 0);
}

TEST_F(StringsAdapterTest, AnIndexOutsideTheListFailsWithTheListsMessage)
{
    ASSERT_EQ(RegisterStdTypeLibrary(), S_OK);
    ComPtr<IStrings> adapter;
    ASSERT_EQ(CreateStringsAdapter(list_, adapter.Out()), S_OK);
    EXCEPINFO exception{};
    Variant item;
    EXPECT_EQ(Call(adapter.Get(), u"Item", DISPATCH_PROPERTYGET, {Variant::I4(5)}, &item, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_UNEXPECTED);
    EXPECT_EQ(NarrowBstr(exception.bstrDescription), "List index out of bounds (5)");
    EXPECT_EQ(NarrowBstr(exception.bstrSource), "");
    ClearExcepInfo(&exception);

    EXPECT_EQ(adapter->Remove(-1), E_UNEXPECTED);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Out()), S_OK);
    GUID iid{};
    info->GetGUID(&iid);
    EXPECT_EQ(iid, IStrings::kIID);
}

} // namespace
