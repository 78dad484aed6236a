#include <gtest/gtest.h>

#include "platform/com/dispatch.h"
#include "platform/com/guid.h"
#include "platform/com/ole_error.h"
#include "platform/com/variant.h"
#include "platform/sys/code_page.h"

namespace {

TEST(Guid, ParsesAndFormatsTheRegistryForm)
{
    constexpr GUID control = MakeGuid("{1B7EF3BB-6790-42B0-8B0E-50446EAB45FF}");
    static_assert(control.Data1 == 0x1B7EF3BB && control.Data2 == 0x6790 && control.Data4[7] == 0xFF);
    EXPECT_EQ(GuidToString(control), "{1B7EF3BB-6790-42B0-8B0E-50446EAB45FF}");
    GUID parsed{};
    ASSERT_TRUE(TryParseGuid("{1b7ef3bb-6790-42b0-8b0e-50446eab45ff}", parsed));
    EXPECT_EQ(parsed, control);
    for (const char* bad : {"", "1B7EF3BB-6790-42B0-8B0E-50446EAB45FF", "{1B7EF3BB-6790-42B0-8B0E-50446EAB45F}",
                            "{1B7EF3BB+6790-42B0-8B0E-50446EAB45FF}", "{1B7EF3BG-6790-42B0-8B0E-50446EAB45FF}"})
        EXPECT_FALSE(TryParseGuid(bad, parsed)) << bad;
}

TEST(CodePage, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    std::u16string wide = WidenCP1252(all);
    EXPECT_EQ(wide[0x80], u'\u20AC');  // euro sign
    EXPECT_EQ(wide[0xE9], u'\u00E9');
    EXPECT_EQ(NarrowCP1252(wide), all);
    EXPECT_EQ(NarrowCP1252(u"a\u0416\u20AC"), "a?\x80");  // Cyrillic has no place in the page
}

TEST(Bstr, IsLengthPrefixedAndMayHoldZeros)
{
    Bstr text(std::u16string_view(u"a\0b", 3));
    EXPECT_EQ(text.Length(), 3u);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(text.Get())[-1], 6u);  // the prefix counts bytes
    EXPECT_EQ(text.Get()[3], u'\0');
    EXPECT_EQ(Bstr::FromNarrow("\x80 5").View(), u"\u20AC 5");
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(NarrowBstr(nullptr), "");
}

struct ConversionCase {
    const char* what;
    Variant from;
    VARTYPE to;
    Variant expected;
};

void ExpectSameValue(const VARIANT& a, const VARIANT& b, const char* what)
{
    ASSERT_EQ(a.vt, b.vt) << what;
    if (a.vt == VT_BSTR)
        EXPECT_EQ(BstrView(a.bstrVal), BstrView(b.bstrVal)) << what;
    else if (a.vt == VT_DATE || a.vt == VT_R8)
        EXPECT_DOUBLE_EQ(a.dblVal, b.dblVal) << what;
    else
        EXPECT_EQ(a.lVal & 0xFFFF, b.lVal & 0xFFFF) << what;
}

TEST(Variant, ConvertsBetweenTheTypesInUse)
{
    const ConversionCase cases[] = {
        {"5 is true", Variant::I4(5), VT_BOOL, Variant::Bool(true)},
        {"0 is false", Variant::UI1(0), VT_BOOL, Variant::Bool(false)},
        {"true is -1", Variant::Bool(true), VT_I4, Variant::I4(-1)},
        {"byte widens", Variant::UI1(200), VT_I4, Variant::I4(200)},
        {"text to number", Variant::Str(u"57600"), VT_I4, Variant::I4(57600)},
        {"text to byte", Variant::Str(u"$1F"), VT_UI1, Variant::UI1(31)},
        {"text to bool", Variant::Str(u"true"), VT_BOOL, Variant::Bool(true)},
        {"number to text", Variant::I2(-12), VT_BSTR, Variant::Str(u"-12")},
        {"bool to text", Variant::Bool(false), VT_BSTR, Variant::Str(u"False")},
        {"real rounds half to even", Variant::R8(2.5), VT_I4, Variant::I4(2)},
        {"integer to date", Variant::I4(2), VT_DATE, Variant::Date(2.0)},
        {"empty is zero", Variant(), VT_I1, Variant::I1(0)},
        {"empty is empty text", Variant(), VT_BSTR, Variant::Str(u"")},
        {"signed byte", Variant::I4(-128), VT_I1, Variant::I1(-128)},
        {"unsigned word", Variant::I4(65535), VT_UI2, Variant::UI2(65535)},
    };
    for (const auto& c : cases) {
        Variant out;
        ASSERT_EQ(VariantChangeType(&out, &c.from, c.to), S_OK) << c.what;
        ExpectSameValue(out, c.expected, c.what);
    }
}

TEST(Variant, RefusesWhatDoesNotFit)
{
    const ConversionCase cases[] = {
        {"256 in a byte", Variant::I4(256), VT_UI1, Variant::I4(DISP_E_OVERFLOW)},
        {"-1 in a byte", Variant::I4(-1), VT_UI1, Variant::I4(DISP_E_OVERFLOW)},
        {"128 in a signed byte", Variant::I4(128), VT_I1, Variant::I4(DISP_E_OVERFLOW)},
        {"not a number", Variant::Str(u"12a"), VT_I4, Variant::I4(DISP_E_TYPEMISMATCH)},
        {"number as object", Variant::I4(1), VT_DISPATCH, Variant::I4(DISP_E_TYPEMISMATCH)},
        {"date as text", Variant::Date(1.5), VT_BSTR, Variant::I4(DISP_E_TYPEMISMATCH)},
    };
    for (const auto& c : cases) {
        Variant out = Variant::I4(7);
        EXPECT_EQ(VariantChangeType(&out, &c.from, c.to), c.expected.lVal) << c.what;
        EXPECT_EQ(out.lVal, 7) << c.what << ": a failed conversion leaves the target alone";
    }
}

TEST(Variant, ReadsThroughAReference)
{
    int32_t stored = 42;
    Variant ref = Variant::ByRef(VT_I4, &stored);
    EXPECT_EQ(ref.ToNarrow(), "42");
    Variant inner = Variant::Narrow("x");
    Variant refToVariant = Variant::ByRef(VT_VARIANT, static_cast<VARIANT*>(&inner));
    EXPECT_EQ(refToVariant.ToNarrow(), "x");
    EXPECT_THROW(Variant::Narrow("x").ToInt(), EOleSysError);
}

TEST(Variant, CopiesOwnTheirStrings)
{
    Variant a = Variant::Narrow("text");
    Variant b = a;
    EXPECT_NE(a.bstrVal, b.bstrVal);
    Variant c = std::move(a);
    EXPECT_EQ(a.vt, VT_EMPTY);
    EXPECT_EQ(c.ToNarrow(), "text");
}

} // namespace
