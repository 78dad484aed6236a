#include <gtest/gtest.h>

#include "sim/at_command_line.h"
#include "sim/gsm_alphabet.h"
#include "sim/octet_cursor.h"
#include "sim/tpdu.h"

using namespace sim;

namespace {

std::string Hex(const std::string& text)
{
    std::string octets;
    EXPECT_TRUE(ParseHex(text, octets)) << text;
    return octets;
}

}  // namespace

TEST(GsmAlphabet, PacksSeptetsLowBitsFirst)
{
    // The classic example of the default alphabet's packing.
    EXPECT_EQ(ToHex(PackSeptets(IsoToGsm("hellohello"))), "E8329BFD4697D9EC37");
    EXPECT_EQ(GsmToIso(UnpackSeptets(Hex("E8329BFD4697D9EC37"), 10)), "hellohello");
    // Eight septets fill seven octets exactly.
    EXPECT_EQ(PackSeptets(IsoToGsm("12345678")).size(), 7u);
}

TEST(GsmAlphabet, MapsExtensionAndMissingCharacters)
{
    EXPECT_EQ(ToHex(IsoToGsm("\x80[@")), "1B651B3C00");   // euro, bracket, commercial at
    EXPECT_EQ(GsmToIso(IsoToGsm("\x80[]{}~^|\\")), "\x80[]{}~^|\\");
    EXPECT_EQ(IsoToGsm("\xFF"), "?");                       // y with diaeresis is not in the alphabet
    EXPECT_EQ(GsmToIso("\x10"), "?");                       // capital delta has no 8-bit form
}

TEST(Tpdu, BuildsTheDeliveryOfTheDocumentedExample)
{
    TDeliver deliver;
    deliver.firstOctet = 0x04;
    deliver.originator = TAddress::FromText("+12345678901");
    deliver.timeStamp = Hex("40503241509023");
    deliver.ud = EncodeText("Hi", 0);
    EXPECT_EQ(ToHex(EncodeServiceCentreField(TAddress::FromText("+12345678901")) + BuildDeliver(deliver)),
              "07912143658709F1" "040B912143658709F1000040503241509023" "02C834");
    EXPECT_EQ(TextTimeStamp(deliver.timeStamp), "04/05/23,14:05:09+32");
    const TDeliver back = ParseDeliver(BuildDeliver(deliver));
    EXPECT_EQ(back.originator.Text(), "+12345678901");
    EXPECT_EQ(DecodeText(back.ud, back.dcs, false), "Hi");
}

TEST(Tpdu, ParsesSubmits)
{
    TSubmit plain = ParseSubmit(Hex("010005812143F5000000"));
    EXPECT_EQ(plain.destination.Text(), "12345");
    EXPECT_EQ(plain.destination.type, kToaUnknown);
    EXPECT_EQ(plain.ud.length, 0);

    // VPF relative: one validity octet (167, one day) after the DCS.
    TSubmit relative = ParseSubmit(Hex("1100" "0C91947110325476" "0000A7" "0BC8329BFD069DC3ED761D"));
    EXPECT_EQ(relative.destination.Text(), "+491701234567");
    EXPECT_EQ(ToHex(relative.validity), "A7");
    EXPECT_EQ(DecodeText(relative.ud, relative.dcs, false), "Hello gammu");
    EXPECT_EQ(BuildSubmit(relative), Hex("11000C919471103254760000A70BC8329BFD069DC3ED761D"));
}

TEST(Tpdu, RejectsBrokenSubmitsNamingTheField)
{
    struct TBad {
        const char* hex;
        const char* error;
    };
    const TBad kBad[] = {
        {"", "PDU too short for TP-MTI"},
        {"01", "PDU too short for TP-MR"},
        {"0100", "PDU too short for TP-DA"},
        {"010005812143", "PDU too short for TP-DA"},
        {"000005812143F5000000", "not an SMS-SUBMIT"},
        {"010005812143F5000001", "PDU too short for TP-UD"},
        {"010005812143F500000000", "PDU longer than its TP-UDL"},
        {"010005812143F50000A1", "TP-UDL too large"},
        {"110005812143F50000", "PDU too short for TP-VP"},
    };
    for (const TBad& bad : kBad) {
        try {
            ParseSubmit(Hex(bad.hex));
            ADD_FAILURE() << bad.hex << " was accepted";
        } catch (const EPduError& e) {
            EXPECT_EQ(e.Message(), bad.error) << bad.hex;
        }
    }
}

TEST(Tpdu, SkipsTheUserDataHeaderOfATextWithFillBits)
{
    const std::string header = Hex("050003010201");
    TUserData ud;
    ud.octets = header + PackSeptets(IsoToGsm("Hi"), 1);
    ud.length = 7 + 2;   // 6 header octets and 1 fill bit take 7 septets
    EXPECT_EQ(DecodeText(ud, 0, true), "Hi");
    EXPECT_EQ(DecodeText({2, "\x01\x02"}, 0x04, false), "0102");   // 8-bit data shows as hexadecimal
}

TEST(Tpdu, StatusReportAndCellBroadcastLayouts)
{
    TStatusReport report;
    report.reference = 7;
    report.recipient = TAddress::FromText("+4917");
    report.serviceCentreTime = report.dischargeTime = Hex("40503241509023");
    EXPECT_EQ(ToHex(BuildStatusReport(report)),
              "060704919471" "40503241509023" "40503241509023" "00");
    const std::string page = BuildCellBroadcastPage(0x0010, 50, 0x0F, 1, 1, "Hi");
    ASSERT_EQ(page.size(), 88u);
    EXPECT_EQ(ToHex(page.substr(0, 8)), "001000320F11C874");
}

TEST(AtCommandLine, SplitsBasicAndExtendedCommands)
{
    std::vector<TAtCommand> commands;
    ASSERT_TRUE(SplitCommandLine("E0V1+CMGF=0;+CSCA=\"+49;1\";+CPMS?;+CNMI=?;S7=60&F", commands));
    ASSERT_EQ(commands.size(), 8u);
    EXPECT_EQ(commands[0].name, "E");
    EXPECT_EQ(commands[0].args, "0");
    EXPECT_EQ(commands[1].name, "V");
    EXPECT_EQ(commands[2].name, "+CMGF");
    EXPECT_EQ(commands[2].args, "0");
    EXPECT_EQ(commands[3].args, "\"+49;1\"");
    EXPECT_EQ(commands[4].form, TAtForm::Read);
    EXPECT_EQ(commands[5].form, TAtForm::Test);
    EXPECT_EQ(commands[6].name, "S7");
    EXPECT_EQ(commands[6].args, "60");
    EXPECT_EQ(commands[7].name, "&F");

    for (const char* bad : {"+CSCA=\"open", "#", "+"}) {
        commands.clear();
        EXPECT_FALSE(SplitCommandLine(bad, commands)) << bad;
    }
}

TEST(AtCommandLine, SplitsParametersRespectingQuotesAndLists)
{
    const std::vector<TAtParam> params = SplitParams("\"SM\",3,(0-3,5),\"x,y\",,");
    ASSERT_EQ(params.size(), 6u);
    EXPECT_EQ(params[0].text, "SM");
    EXPECT_TRUE(params[0].quoted);
    EXPECT_EQ(params[2].text, "(0-3,5)");
    EXPECT_EQ(params[3].text, "x,y");
    EXPECT_TRUE(params[4].Empty());
    int value = 0;
    EXPECT_TRUE(ParamToInt(params[1], 0, 9, value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(ParamToInt(params[0], 0, 9, value));   // quoted
    EXPECT_FALSE(ParamToInt(params[1], 4, 9, value));   // out of range
}
