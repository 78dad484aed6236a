#include <gtest/gtest.h>

#include <string_view>

#include "modem/at_response.h"
#include "modem/error_texts.h"

namespace {

using namespace std::literals;

TEST(IsATResponse, WantsAPrefixAndAColonBlank)
{
    struct Case {
        const char* line;
        bool response;
    };
    constexpr Case kCases[] = {
        {"+CMTI: \"SM\",3", true}, {"OK", false},         {"+CME ERROR: 10", true}, {"^SYSINFO: 2", true},
        {"+CSQ", false},           {"+CSQ:17", false},    {"", false},              {"CSQ: 17", false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(IsATResponse(c.line), c.response) << c.line;
}

TEST(StripATResponse, KeepsTheTrimmedParameters)
{
    EXPECT_EQ(StripATResponse("+CSQ: 17,99"), "17,99");
    EXPECT_EQ(StripATResponse("+CPMS:  \"SM\",1,10 \r"), "\"SM\",1,10");
    EXPECT_EQ(StripATResponse("OK"), "OK");
}

TEST(ExtractParam, SplitsAtCommasOutsideQuotesAndParentheses)
{
    const std::string s = "\"SM\", 3,(0-3,5),\"x,y\"";
    int pos = 1;
    std::vector<std::string> params;
    while (pos <= static_cast<int>(s.size()))
        params.push_back(ExtractParam(s, pos));
    EXPECT_EQ(params, (std::vector<std::string>{"\"SM\"", "3", "(0-3,5)", "\"x,y\""}));
    EXPECT_EQ(pos, static_cast<int>(s.size()) + 1);
}

TEST(ExtractParam, PastTheEndGivesEmptyAndKeepsThePosition)
{
    int pos = 4;
    EXPECT_EQ(ExtractParam("1,2", pos), "");
    EXPECT_EQ(pos, 4);
    pos = 3;
    EXPECT_EQ(ExtractParam("1,", pos), "");
    EXPECT_EQ(pos, 3);
    pos = 1;
    EXPECT_EQ(ExtractParam(",x", pos), "");
    EXPECT_EQ(pos, 2);
}

TEST(TrimQuotes, RemovesQuotesAtBothEndsOnly)
{
    EXPECT_EQ(TrimQuotes("\"\"SM\"\""), "SM");
    EXPECT_EQ(TrimQuotes("S\"M"), "S\"M");
    EXPECT_EQ(TrimQuotes("\"\""), "");
}

TEST(ParseRangeList, ReadsValueListsOfTestCommands)
{
    struct Case {
        const char* text;
        std::vector<int> values;
    };
    const Case kCases[] = {
        {"(0-3,5)", {0, 1, 2, 3, 5}},
        {"(1,2)", {1, 2}},
        {"(300)", {}},
        {"(2-1)", {1, 2}},
        {"(-3)", {0, 1, 2, 3}},
        {"(1- 3)", {1, 3}},
        {"(250-300)", {250, 251, 252, 253, 254, 255}},
        {"(99999999999)", {}},
        {"", {}},
    };
    for (const auto& c : kCases) {
        int pos = 1;
        const TByteSet set = ParseRangeList(c.text, pos);
        std::vector<int> values;
        for (int v = 0; v < 256; ++v)
            if (set.test(static_cast<size_t>(v)))
                values.push_back(v);
        EXPECT_EQ(values, c.values) << c.text;
    }
}

TEST(ParseRangeList, AdvancesOneParameterPerCall)
{
    const std::string test = "(0-2),(0-3),(0,2),(0-2),(0,1)";
    int pos = 1;
    ParseRangeList(test, pos);
    EXPECT_TRUE(ParseRangeList(test, pos).test(3));
    const TByteSet bm = ParseRangeList(test, pos);
    EXPECT_TRUE(bm.test(2));
    EXPECT_FALSE(bm.test(1));
}

TEST(ReturnedErrorText, AddsTheQuotedDetailOfKnownCodes)
{
    struct Case {
        std::string_view line;
        std::string_view message;
        std::string_view command = "AT+CPIN?";
    };
    constexpr Case kCases[] = {
        {"+CME ERROR: 10", "+CME ERROR: 10 \"SIM not inserted\" was returned on AT command: AT+CPIN?"},
        {"+cme error: 32", "+cme error: 32 \"Network not allowed   emergency calls only\" was returned on AT command: AT+CPIN?"},
        {"+CMS ERROR: 330", "+CMS ERROR: 330 \"SMSC address unknown\" was returned on AT command: AT+CPIN?"},
        {"+CME ERROR: 999", "+CME ERROR: 999 was returned on AT command: AT+CPIN?"},
        {"+CME ERROR: x", "+CME ERROR: x was returned on AT command: AT+CPIN?"},
        {"+CMS ERROR: 2147483647", "+CMS ERROR: 2147483647 was returned on AT command: AT+CPIN?"},
        {"ERROR", "ERROR was returned on AT command: AT+CPIN?"},
        // Found by fuzzing: NUL bytes in the command cut the text short.
        {"+CNMI", "+CNMI was returned on AT command: \0\0: (0-2),(0-3)"sv, "\0\0: (0-2),(0-3)"sv},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ReturnedErrorText(c.line, c.command), c.message) << c.line;
}

TEST(ErrorTextByKey, CoversBothTables)
{
    EXPECT_STREQ(ErrorTextByKey(5000), "phone failure");
    EXPECT_STREQ(ErrorTextByKey(5262), "SIM blocked");
    EXPECT_STREQ(ErrorTextByKey(6001), "Unassigned (unallocated) number");
    EXPECT_STREQ(ErrorTextByKey(6521), "timer expired");
    EXPECT_EQ(ErrorTextByKey(6000), nullptr);
    EXPECT_EQ(ErrorTextByKey(42), nullptr);
}

}  // namespace
