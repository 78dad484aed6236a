#include <gtest/gtest.h>

#include "codec/codec_error.h"
#include "codec/default_alphabet.h"
#include "codec/septets.h"
#include "codec/ucs2.h"
#include "codec/user_data.h"
#include "tests/codec/codec_test_support.h"

namespace {

struct AlphabetCase {
    const char* iso;    // ISO 8859-1 text, as octets
    const char* codes;  // septet codes, as octets
};

// Characters that map one way only are in the tables below this one.
const AlphabetCase kBothWays[] = {
    {"61 7B 62", "61 1B 28 62"},  // a{b: an extension character
    {"40", "00"},                 // commercial at
    {"80", "1B 65"},              // the euro sign of code page 1252
    {"0C 5E 7D 5C 5B 7E 5D 7C", "1B 0A 1B 14 1B 29 1B 2F 1B 3C 1B 3D 1B 3E 1B 40"},
    {"0A 0D 20 41 7A", "0A 0D 20 41 7A"},
    {"A3 24 A5 E8 E9 F9 EC F2 C7 D8 F8 C5 E5 5F", "01 02 03 04 05 06 07 08 09 0B 0C 0E 0F 11"},
    {"C6 E6 DF C9 A4 A1 C4 D6 D1 DC A7 BF E4 F6 F1 FC E0",
     "1C 1D 1E 1F 24 40 5B 5C 5D 5E 5F 60 7B 7C 7D 7E 7F"},
    {"B7", "10"},  // the first of the Greek capitals
};

TEST(DefaultAlphabet, MapsTheTableBothWays)
{
    for (const auto& c : kBothWays) {
        EXPECT_EQ(BytesToHex(ISOToSMS(Octets(c.iso))), Compact(c.codes)) << c.iso;
        EXPECT_EQ(BytesToHex(SMSToISO(Octets(c.codes))), Compact(c.iso)) << c.codes;
    }
}

TEST(DefaultAlphabet, DropsCharactersWithoutAnEntry)
{
    EXPECT_EQ(ISOToSMS("\xE1"), "");       // a acute
    EXPECT_EQ(ISOToSMS("`\x7F\x01"), "");  // grave accent, delete, a control character
    EXPECT_EQ(BytesToHex(ISOToSMS("\x1B")), "1B");  // escape passes through
}

TEST(DefaultAlphabet, ReadsEscapesAndOddCodes)
{
    const AlphabetCase kOneWay[] = {
        {"20", "1B 41"},           // an escape before a code without extension is a space
        {"", "1B"},                // a trailing escape
        {"7B", "1B 1B 28"},        // two escapes act as one
        {"B7 B7", "12 1A"},        // the other Greek capitals
        {"7B", "A8"},              // 128 and above: the extension column, 128 lower
        {"7B", "1B A8"},           // the same after an escape
    };
    for (const auto& c : kOneWay)
        EXPECT_EQ(BytesToHex(SMSToISO(Octets(c.codes))), Compact(c.iso)) << c.codes;
}

TEST(Septets, PackAndUnpack)
{
    EXPECT_EQ(BytesToHex(PackSeptets("hellohello")), "0AE8329BFD4697D9EC37");
    EXPECT_EQ(UnpackSeptets(Octets("0A E8 32 9B FD 46 97 D9 EC 37")), "hellohello");
    EXPECT_EQ(BytesToHex(PackSeptets("")), "00");
    EXPECT_EQ(UnpackSeptets(""), "");
    // Eight codes fill seven octets exactly.
    EXPECT_EQ(BytesToHex(PackSeptets("hellohel")), "08E8329BFD4697D9");
}

TEST(Septets, EveryLengthRoundTrips)
{
    std::string codes;
    for (int n = 0; n <= 160; ++n) {
        EXPECT_EQ(UnpackSeptets(PackSeptets(codes)), codes) << n;
        codes.push_back(static_cast<char>((n * 37 + 11) & 0x7F));
    }
}

TEST(Septets, UnpackStopsWhenTheOctetsRunOut)
{
    // Ten codes announced, two octets given: two whole septets.
    EXPECT_EQ(UnpackSeptets(Octets("0A E8 32")), "he");
    EXPECT_EQ(UnpackSeptetBits(Octets("E8 32 9B"), 93), "hel");
}

TEST(Septets, CodesAbove127KeepToTheirOwnSeven)
{
    EXPECT_EQ(PackSeptets("\xC8\x69"), PackSeptets("\x48\x69"));
}

struct UserDataCase {
    const char* name;
    const char* ud;
    uint8_t dcs;
    bool udhi;
    const char* encoded;  // UDL and user data
};

const UserDataCase kUserData[] = {
    {"Hi", "48 69", 0x00, false, "02 C8 34"},
    {"empty", "", 0x00, false, "00"},
    {"concatenation header", "05 00 03 A7 02 01 48 69", 0x00, true, "09 05 00 03 A7 02 01 90 69"},
    {"empty header", "00", 0x00, true, "02 00 00"},
    {"8-bit with header", "05 00 03 A7 02 01 41", 0x04, true, "07 05 00 03 A7 02 01 41"},
    {"UCS2", "00 41 01 0D", 0x08, false, "04 00 41 01 0D"},
};

TEST(UserData, EncodesAndDecodes)
{
    for (const auto& c : kUserData) {
        const std::string ud = Octets(c.ud);
        EXPECT_EQ(BytesToHex(EncodeUserData(ud, c.dcs, c.udhi)), Compact(c.encoded)) << c.name;
        EXPECT_EQ(BytesToHex(DecodeUserData(Octets(c.encoded), c.dcs, c.udhi)), Compact(c.ud)) << c.name;
    }
}

TEST(UserData, CutsOverlongContent)
{
    const std::string septets(170, 'a');
    const std::string encoded = EncodeUserData(septets, 0x00, false);
    EXPECT_EQ(static_cast<uint8_t>(encoded[0]), 160);
    EXPECT_EQ(encoded.size(), 1u + 140u);
    const std::string octets(150, 'a');
    EXPECT_EQ(EncodeUserData(octets, 0x04, false).size(), 1u + 140u);
    // With a header, header, fill and text septets share the 160.
    std::string withHeader = Octets("05 00 03 A7 02 01") + std::string(170, 'a');
    const std::string packed = EncodeUserData(withHeader, 0x00, true);
    EXPECT_EQ(static_cast<uint8_t>(packed[0]), 160);
    EXPECT_EQ(DecodeUserData(packed, 0x00, true), withHeader.substr(0, 6 + 153));
}

TEST(UserData, RefusesABadHeader)
{
    const char* kBad[] = {"", "05 00 03", "8C"};  // empty, short, header length 140
    for (const char* ud : kBad) {
        for (uint8_t dcs : {0x00, 0x04}) {
            try {
                EncodeUserData(Octets(ud), dcs, true);
                ADD_FAILURE() << ud;
            } catch (const EGSMError& e) {
                EXPECT_EQ(e.Message(), "Bad UDH") << ud;
            }
        }
    }
    std::string longest = Octets("8B") + std::string(139, '\0');  // header length 139 fits
    EXPECT_NO_THROW(EncodeUserData(longest, 0x00, true));
    EXPECT_NO_THROW(EncodeUserData(longest, 0x04, true));
}

TEST(UserData, DecodingShortDataGivesAShorterField)
{
    // The header claims ten octets, the septets announce nine but two octets follow.
    EXPECT_EQ(BytesToHex(DecodeUserData(Octets("09 0A 00"), 0x00, true)), "0A00");
    EXPECT_EQ(DecodeUserData(Octets("09"), 0x00, true), "");
    EXPECT_EQ(DecodeUserData(Octets("09"), 0x04, false), "");
    // Octets beyond UDL are kept for 8-bit data: the length does not limit them.
    EXPECT_EQ(BytesToHex(DecodeUserData(Octets("01 41 42"), 0x04, false)), "4142");
}

TEST(UCS2, ConvertsBigEndianPairs)
{
    EXPECT_EQ(BytesToHex(WideToUCS2(u"A\u010D")), "0041010D");
    EXPECT_EQ(UCS2ToWide(Octets("00 41 01 0D 7F")), u"A\u010D");  // odd last octet ignored
}

TEST(UserData, TextAfterTheHeader)
{
    EXPECT_EQ(BytesToHex(UserDataText(Octets("02 AA BB 00 41"))), "0041");
    EXPECT_EQ(UserDataText(Octets("02 AA BB")), "");
    EXPECT_EQ(UserDataText(Octets("09 AA")), "");
}

}  // namespace
