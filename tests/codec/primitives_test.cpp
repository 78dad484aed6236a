#include <gtest/gtest.h>

#include <cmath>

#include "codec/address.h"
#include "codec/data_coding_scheme.h"
#include "codec/text_time_stamp.h"
#include "codec/time_stamp.h"
#include "codec/validity_period.h"
#include "platform/sys/exception.h"
#include "tests/codec/codec_test_support.h"

namespace {

TEST(SwappedBCD, PutsTensInTheLowHalf)
{
    EXPECT_EQ(IntToSwappedBCD(7), 0x70);
    EXPECT_EQ(IntToSwappedBCD(45), 0x54);
    EXPECT_EQ(SwappedBCDToInt(0x21), 12);
    for (int v = 0; v <= 99; ++v)
        EXPECT_EQ(SwappedBCDToInt(IntToSwappedBCD(static_cast<uint8_t>(v))), v);
}

struct TimeStampCase {
    const char* octets;  // six octets and the zone
    TDateTime value;
    int zone;
};

const TimeStampCase kTimeStamps[] = {
    {"40 50 32 41 50 90 23", At(2004, 5, 23, 14, 5, 9), 32},
    {"40 50 32 41 50 90 2A", At(2004, 5, 23, 14, 5, 9), -22},  // sign in bit 3
    {"94 10 10 00 00 00 00", At(2049, 1, 1, 0, 0, 0), 0},      // yy 49: this century
    {"05 10 10 00 00 00 00", At(1950, 1, 1, 0, 0, 0), 0},      // yy 50: the last one
    {"99 30 92 51 61 95 80", At(1999, 3, 29, 15, 16, 59), 8},  // a published deliver's stamp
};

TEST(TimeStamp, DecodesAndEncodesWithItsZone)
{
    for (const auto& c : kTimeStamps) {
        const std::string octets = Octets(c.octets);
        OctetReader reader(octets);
        const TZonedTime t = ReadZonedTimeStamp(reader, "SCTS");
        EXPECT_DOUBLE_EQ(t.value, c.value) << c.octets;
        EXPECT_EQ(t.zone, c.zone) << c.octets;
        std::string encoded;
        AppendZonedTimeStamp(encoded, c.value, static_cast<TTimeZone>(c.zone));
        EXPECT_EQ(BytesToHex(encoded), Compact(c.octets));
    }
}

TEST(TimeStamp, DropsMillisecondsWithoutRounding)
{
    const TDateTime t = At(2004, 5, 23, 14, 5, 9) + 999.0 / kMSecsPerDay;
    EXPECT_EQ(BytesToHex(EncodeTimeStamp(t)), "405032415090");
}

TEST(TimeStamp, InvalidFieldsFailWithTheDateTimeErrors)
{
    struct Bad {
        const char* octets;
        const char* error;
    };
    const Bad kBad[] = {
        {"40 31 32 41 50 90", "Invalid argument to date encode"},  // month 13
        {"40 50 23 41 50 90", "Invalid argument to date encode"},  // 32 May
        {"40 50 32 42 50 90", "Invalid argument to time encode"},  // hour 24
        {"40 50 32 41 06 90", "Invalid argument to time encode"},  // minute 60
        {"40 50 32 41 50 0F", "Invalid argument to time encode"},  // second 150
    };
    for (const auto& c : kBad) {
        try {
            DecodeTimeStamp(Octets(c.octets));
            ADD_FAILURE() << c.octets;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.error) << c.octets;
        }
    }
}

TEST(TimeZone, CodesTheSignInBitThree)
{
    for (int z = -79; z <= 79; ++z)
        EXPECT_EQ(DecodeTimeZone(EncodeTimeZone(static_cast<TTimeZone>(z))), z);
    EXPECT_EQ(EncodeTimeZone(-22), 0x2A);
}

TEST(TextTimeStamp, FormatsAndParses)
{
    const TDateTime t = At(2004, 5, 23, 14, 5, 9);
    EXPECT_EQ(FormatTextTimeStamp(t, 8), "04/05/23,14:05:09+08");
    EXPECT_EQ(FormatTextTimeStamp(t, -4), "04/05/23,14:05:09-04");
    const TZonedTime parsed = ParseTextTimeStamp("04/05/23,14:05:09-04");
    EXPECT_DOUBLE_EQ(parsed.value, t);
    EXPECT_EQ(parsed.zone, -4);
    EXPECT_EQ(ParseTextTimeStamp("99/12/31,23:59:59+00").value, At(1999, 12, 31, 23, 59, 59));
}

TEST(TextTimeStamp, MalformedTextFailsWithAConversionError)
{
    struct Bad {
        const char* text;
        const char* error;
    };
    const Bad kBad[] = {
        {"04/05/23,14:05:09", "'' is not a valid integer value"},  // no zone
        {"04/05/23,14:05:09+x1", "'+x1' is not a valid integer value"},
        {"04/05/23", "'' is not a valid integer value"},  // missing time fields read as 0
        {"", "Invalid argument to date encode"},          // month 0
        {"04/05/23,14:05:09$FF", "'$FF' is not a valid integer value"},  // 255 is no zone
        {"04/05/23,14:05:0999999+00", "Invalid argument to time encode"},
    };
    for (const auto& c : kBad) {
        try {
            ParseTextTimeStamp(c.text);
            ADD_FAILURE() << c.text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.error) << c.text;
        }
    }
}

TEST(ScanNumber, StepsOverOneSeparatorAndSaturates)
{
    size_t pos = 0;
    EXPECT_EQ(ScanNumber("12/x", pos), 12);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(ScanNumber("12/x", pos), 0);
    EXPECT_EQ(pos, 4u);
    pos = 0;
    EXPECT_EQ(ScanNumber("9999999", pos), 65535);
}

struct AddressCase {
    const char* text;
    const char* octets;
};

const AddressCase kAddresses[] = {
    {"+123456", "06 91 21 43 65"},
    {"12345", "05 81 21 43 F5"},
    {"#6021", "04 A1 06 12"},
    {"", "00 81"},
    {"+46708251358", "0B 91 64 07 28 15 53 F8"},  // a published submit's destination
};

TEST(Address, EncodesDigitsInSwappedPairs)
{
    for (const auto& c : kAddresses)
        EXPECT_EQ(BytesToHex(EncodeAddress(c.text)), Compact(c.octets)) << c.text;
}

TEST(Address, DecodesWhatItEncodes)
{
    for (const auto& c : kAddresses) {
        const std::string octets = Octets(c.octets);
        OctetReader reader(octets);
        EXPECT_EQ(DecodeAddress(reader, "OA"), c.text);
        EXPECT_TRUE(reader.AtEnd()) << c.text;
    }
}

TEST(Address, CodesTheExtraSemiOctetsBothWays)
{
    // "*#abc" are the standard's names for 10-14; decoding writes them as ":" to ">".
    EXPECT_EQ(BytesToHex(EncodeAddress("1*#abc")), "0681A1CBED");
    EXPECT_EQ(BytesToHex(EncodeAddress("1*#ABC")), "0681A1CBED");
    EXPECT_EQ(BytesToHex(EncodeAddress("1:;<=>")), "0681A1CBED");
    const std::string octets = Octets("06 81 A1 CB ED");
    OctetReader reader(octets);
    EXPECT_EQ(DecodeAddress(reader, "OA"), "1:;<=>");
}

TEST(Address, RefusesCharactersWithoutASemiOctet)
{
    for (const char* text : {"12x4", "+1 2", "Bank"}) {
        try {
            EncodeAddress(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid address");
        }
    }
}

TEST(Address, DecodesOtherTypesAndAlphanumericSenders)
{
    const AddressCase kDecoded[] = {
        {"27838890001", "0B C8 72 38 88 09 00 F1"},  // a published deliver's sender, type 0xC8
        {"Hello", "0A D0 C8 32 9B FD 06"},           // ten semi-octets hold five septets
        {"hellohel", "0E D0 E8 32 9B FD 46 97 D9"},  // fourteen hold eight
    };
    for (const auto& c : kDecoded) {
        const std::string octets = Octets(c.octets);
        OctetReader reader(octets);
        EXPECT_EQ(DecodeAddress(reader, "OA"), c.text);
        EXPECT_TRUE(reader.AtEnd()) << c.text;
    }
}

TEST(ServiceCentre, ReadsTheLeadingField)
{
    FakeOwner owner(true, "+4917");
    const std::string emptyOctets = Octets("00 04");
    OctetReader empty(emptyOctets);
    EXPECT_EQ(DecodeSCA(empty, owner.SCA()), "+4917");
    EXPECT_EQ(empty.Position(), 1u);
    const std::string noneOctets = Octets("00");
    OctetReader none(noneOctets);
    EXPECT_EQ(DecodeSCA(none, ""), "");
    const std::string fullOctets = Octets("07 91 21 43 65 87 09 F1 04");
    OctetReader full(fullOctets);
    EXPECT_EQ(DecodeSCA(full, owner.SCA()), "+12345678901");
    EXPECT_EQ(full.Position(), 8u);
}

TEST(TypeOfAddress, PrefixesTextModeAddresses)
{
    struct Case {
        const char* address;
        const char* type;
        const char* result;
    };
    const Case kCases[] = {
        {"123", "145", "+123"}, {"+123", "145", "+123"}, {"123", "161", "#123"},
        {"123", "129", "123"},  {"123", "abc", "123"},
    };
    for (const auto& c : kCases) {
        std::string address = c.address;
        ApplyTypeOfAddress(address, c.type);
        EXPECT_EQ(address, c.result) << c.address << " " << c.type;
    }
}

TEST(DataCodingScheme, OnlyBitsTwoAndThreeChooseTheAlphabet)
{
    EXPECT_TRUE(IsDefaultAlphabet(0x00));
    EXPECT_TRUE(IsDefaultAlphabet(0xF3));
    EXPECT_TRUE(IsDefaultAlphabet(0x11));
    EXPECT_FALSE(IsDefaultAlphabet(0x04));
    EXPECT_FALSE(IsDefaultAlphabet(0x08));
}

constexpr double kMinute = 1.0 / 1440;

TEST(ValidityPeriod, PeriodToOctetTakesTheLargestStepNotAbove)
{
    struct Case {
        double span;
        int octet;
    };
    const Case kCases[] = {
        {4 * kMinute, 0},       {-1, 0},
        {5 * kMinute, 0},       {730 * kMinute, 143},  // 12 h 10 min is capped
        {0.5, 143},             {1.5, 167},
        {31, 196},              {35, 197},
        {441, 255},             {500, 255},
        {INFINITY, 255},        {NAN, 0},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(DTToValPer(c.span), c.octet) << c.span;
}

TEST(ValidityPeriod, OctetToPeriod)
{
    EXPECT_DOUBLE_EQ(ValPerToDT(0), 5 * kMinute);
    EXPECT_DOUBLE_EQ(ValPerToDT(143), 0.5);
    EXPECT_DOUBLE_EQ(ValPerToDT(144), 0.5 + 30 * kMinute);
    EXPECT_DOUBLE_EQ(ValPerToDT(167), 1);
    EXPECT_DOUBLE_EQ(ValPerToDT(168), 2);
    EXPECT_DOUBLE_EQ(ValPerToDT(255), 441);
}

// Plain double arithmetic lost a step here for several half-hour octets (145, 148, ... 165).
TEST(ValidityPeriod, EveryOctetSurvivesTheRoundTrip)
{
    for (int v = 0; v <= 255; ++v)
        EXPECT_EQ(DTToValPer(ValPerToDT(static_cast<uint8_t>(v))), v);
}

TEST(ValidityPeriod, ASpanAMillisecondShortOfAStepFallsToTheStepBelow)
{
    const double ms = 1 / kMSecsPerDay;
    for (int v = 1; v <= 255; ++v)
        EXPECT_EQ(DTToValPer(ValPerToDT(static_cast<uint8_t>(v)) - ms), v - 1) << v;
}

}  // namespace
