#include <gtest/gtest.h>

#include "platform/sys/date_time.h"
#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

struct IntCase {
    const char* text;
    int value;
};
constexpr IntCase kIntegers[] = {
    {"0", 0},           {"42", 42},         {"-7", -7},          {"+7", 7},
    {"  12", 12},       {"$1F", 31},        {"$ff", 255},        {"-$10", -16},
    {"2147483647", 2147483647},             {"-2147483648", -2147483647 - 1},
    {"$FFFFFFFF", -1},
};

TEST(StrToInt, ConvertsDecimalAndDollarHex)
{
    for (const auto& c : kIntegers)
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

constexpr const char* kNotIntegers[] = {"", " ", "-", "$", "12 ", "1a", "$G1", "2147483648", "$100000000",
                                        "0x10", "1.5", "--1"};

TEST(StrToInt, RejectsEverythingElseWithThePlatformText)
{
    for (const char* text : kNotIntegers) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), Format("'%s' is not a valid integer value", text));
        }
    }
}

TEST(Format, FillsPrintfStyleTexts)
{
    EXPECT_EQ(Format("Error %d %s in function: %s", 2, "No such file", "CreateFile"),
              "Error 2 No such file in function: CreateFile");
    EXPECT_EQ(Format("%.2x", 0xAB), "ab");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(DateTime, EncodesTheAutomationDate)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DateTime, DecodesWhatItEncodes)
{
    for (int year : {1, 1600, 1899, 1900, 2000, 2024, 9999})
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 28, DaysInMonth(year, month)}) {
                int y, m, d;
                // Before 1899 the time of day is subtracted, not added, so test the date alone there.
                const TDateTime time = year >= 1900 ? EncodeTime(23, 59, 59, 999) : 0.0;
                DecodeDate(EncodeDate(year, month, day) + time, y, m, d);
                ASSERT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day);
            }
    int h, mi, s, ms;
    DecodeTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 14, 15, 16), h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{h, mi, s, ms}), (std::vector<int>{13, 14, 15, 16}));
}

struct BadDate {
    int year, month, day;
};
constexpr BadDate kBadDates[] = {{2024, 0, 1}, {2024, 13, 1}, {2023, 2, 29}, {2024, 4, 31}, {0, 1, 1}, {10000, 1, 1},
                                 {2024, 1, 0}};
struct BadTime {
    int hour, minute, second, msec;
};
constexpr BadTime kBadTimes[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};

TEST(DateTime, RejectsFieldsOutOfRangeWithThePlatformTexts)
{
    for (const auto& c : kBadDates) {
        try {
            EncodeDate(c.year, c.month, c.day);
            ADD_FAILURE() << c.year << "-" << c.month << "-" << c.day;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    for (const auto& c : kBadTimes) {
        try {
            EncodeTime(c.hour, c.minute, c.second, c.msec);
            ADD_FAILURE() << c.hour << ":" << c.minute << ":" << c.second;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to time encode");
        }
    }
}

}  // namespace
