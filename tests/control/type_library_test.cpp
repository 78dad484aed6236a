#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "control/celvane_type_library.h"
#include "control/dispatch_tables.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reviewers read the listing against the interface documentation; any change shows here.
TEST(CelvaneTypeLibrary, ListsAsExpected)
{
    EXPECT_EQ(DumpTypeLibrary(kCelvaneTypeLibrary), ReadFile(GW_EXPECTED_DIR "/celvane.expected.idl"));
}

TEST(CelvaneTypeLibrary, NoDispatchIdIsDeclaredTwiceInAnInterfaceChain)
{
    for (const InterfaceDescription* iface : kCelvaneTypeLibrary.interfaces) {
        std::set<DISPID> seen;
        for (const InterfaceDescription* i = iface; i; i = i->base)
            for (const auto& member : i->members)
                EXPECT_TRUE(seen.insert(member.id).second) << iface->name << " " << member.name;
    }
}

TEST(CelvaneTypeLibrary, EveryTableMatchesItsDeclarations)
{
    const DispatchTable* tables[] = {
        &CelvaneTable(),
        &GlobalTable(),
        &SMSListTable(),
        &GSM2::DeliverTable(),
        &GSM2::SubmitTable(),
        &GSM2::StatusReportTable(),
        &GSM2::CommandTable(),
        &GSM2::DeliverReportTable(),
        &GSM2::SubmitReportTable(),
        &GSM2::CellBroadcastTable(),
    };
    for (const DispatchTable* table : tables)
        EXPECT_EQ(table->Problems(), std::vector<std::string>{}) << table->Interface().name;
}

} // namespace
