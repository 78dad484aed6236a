#include <gtest/gtest.h>

#include "link/hex_text.h"
#include "platform/sys/exception.h"

namespace {

TEST(HexText, WritesTwoUpperCaseDigitsPerByte)
{
    EXPECT_EQ(BytesToHex(std::string("\x00\xAB", 2)), "00AB");
    EXPECT_EQ(BytesToHex(""), "");
    EXPECT_EQ(BytesToHex("\x7F\x80\xFF"), "7F80FF");
}

TEST(HexText, ReadsEitherCaseAndALastSingleDigit)
{
    EXPECT_EQ(HexToBytes("00ab"), std::string("\x00\xAB", 2));
    EXPECT_EQ(HexToBytes("00AB"), std::string("\x00\xAB", 2));
    EXPECT_EQ(HexToBytes("0A1"), std::string("\x0A\x01", 2));
    EXPECT_EQ(HexToBytes(""), "");
}

TEST(HexText, RejectsAPairThatIsNotHexadecimal)
{
    struct Case {
        const char* text;
        const char* message;
    };
    constexpr Case kCases[] = {
        {"00G1", "'$G1' is not a valid integer value"},
        {"0 ", "'$0 ' is not a valid integer value"},
        {"-1", "'$-1' is not a valid integer value"},
        {"00Z", "'$Z' is not a valid integer value"},
    };
    for (const auto& c : kCases) {
        try {
            HexToBytes(c.text);
            ADD_FAILURE() << c.text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST(HexText, UpperCasesAsciiLettersOnly)
{
    EXPECT_EQ(UpperCaseAscii("at+cmgl=4 \xE4x"), "AT+CMGL=4 \xE4X");
}

}  // namespace
