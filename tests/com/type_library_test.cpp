#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/com/strings_interface.h"
#include "platform/com/type_library.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The listing is what reviewers read against the interface documentation: any change to the
// description shows here first.
TEST(TypeLibrary, TheStandardLibraryListsAsExpected)
{
    EXPECT_EQ(DumpTypeLibrary(kStdVclTypeLibrary), ReadFile(GW_EXPECTED_DIR "/stdvcl.expected.idl"));
}

TEST(TypeLibrary, TheStringsTableMatchesItsDeclarations)
{
    EXPECT_TRUE(StringsDispatchTable().Problems().empty());
}

struct IBroken : IDispatch {
    static constexpr IID kIID = MakeGuid("{3D5A8C21-6B0E-4F7A-9C11-2E4B7D90A0D0}");
    using Base = IDispatch;
    virtual HRESULT get_Count(uint8_t* count) = 0;  // declared long
    virtual HRESULT Extra() = 0;                     // not declared
};

TEST(TypeLibrary, ATableNamesEveryMismatchWithItsDeclaration)
{
    static constexpr MemberDescription members[] = {
        {.id = 1, .name = "Count", .kind = MemberKind::Property, .type = kLongType},
        {.id = 2, .name = "Clear", .kind = MemberKind::Method},
    };
    static constexpr InterfaceDescription broken{"IBroken", IBroken::kIID, nullptr, InterfaceKind::Dual, nullptr, members};
    static constexpr DispatchBinding bindings[] = {
        BindGet<&IBroken::get_Count>("Count"),
        BindMethod<&IBroken::Extra>("Extra"),
    };
    DispatchTable table(broken, {bindings});
    EXPECT_EQ(table.Problems(), (std::vector<std::string>{
                                    "IBroken: get Count does not match its declaration",
                                    "IBroken: method Extra is not declared",
                                    "IBroken: put Count has no binding",
                                    "IBroken: method Clear has no binding",
                                }));
}

} // namespace
