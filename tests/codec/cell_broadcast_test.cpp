#include <gtest/gtest.h>

#include "codec/cell_broadcast.h"
#include "codec/septets.h"
#include "platform/sys/exception.h"
#include "tests/codec/codec_test_support.h"

namespace {

TEST(CellBroadcast, SerialNumberFields)
{
    TCellBroadcast page;
    page.SetGeographicalScope(3);
    page.SetMessageCode(0x2A5);
    page.SetUpdateNumber(7);
    EXPECT_EQ(page.PDU().substr(0, 4), "EA57");
    TCellBroadcast back;
    back.SetPDU(page.PDU());
    EXPECT_EQ(back.GeographicalScope(), 3);
    EXPECT_EQ(back.MessageCode(), 0x2A5);
    EXPECT_EQ(back.UpdateNumber(), 7);
}

TEST(CellBroadcast, BitFieldsAreMaskedToTheirWidth)
{
    TCellBroadcast page;
    page.SetMessageCode(0xFFFF);
    EXPECT_EQ(page.MessageCode(), 0x3FF);
    EXPECT_EQ(page.GeographicalScope(), 0);
    EXPECT_EQ(page.UpdateNumber(), 0);
    page.SetCurrentPageNumber(0x12);
    page.SetTotalPageNumber(0x13);
    EXPECT_EQ(page.CurrentPageNumber(), 2);
    EXPECT_EQ(page.TotalPageNumber(), 3);
    EXPECT_EQ(page.PDU().substr(10, 2), "23");
}

TEST(CellBroadcast, EncodesAndDecodesTheExamplePage)
{
    TCellBroadcast page;
    page.SetMessageId(50);
    page.SetCurrentPageNumber(1);
    page.SetTotalPageNumber(1);
    page.SetUD("\x48\x69");
    const std::string pdu = page.PDU();
    ASSERT_EQ(pdu.size(), 88u * 2);
    EXPECT_EQ(pdu.substr(0, 24), Compact("00 00 00 32 00 11 C8 74 A3 D1 68 34"));
    EXPECT_EQ(pdu.substr(pdu.size() - 2), "00");
    TCellBroadcast back;
    back.SetPDU(pdu);
    EXPECT_EQ(back.MessageId(), 50);
    EXPECT_EQ(back.CurrentPageNumber(), 1);
    EXPECT_EQ(back.TotalPageNumber(), 1);
    EXPECT_EQ(back.UD(), "\x48\x69");
}

TEST(CellBroadcast, TrailingCarriageReturnsAreStrippedUnderEitherAlphabet)
{
    TCellBroadcast page;
    std::string full(92, 'a');
    full.push_back('\r');
    page.SetUD(full);
    TCellBroadcast back;
    back.SetPDU(page.PDU());
    EXPECT_EQ(back.UD(), std::string(92, 'a'));
    // A UCS2 page whose last character ends in 0x0D loses that octet.
    page.SetDCS(0x08);
    page.SetWideUD(u"\u010D");
    back.SetPDU(page.PDU());
    EXPECT_EQ(BytesToHex(back.UD()), "01");
}

TEST(CellBroadcast, EightBitContentIsCutOrPadded)
{
    TCellBroadcast page;
    page.SetDCS(0x04);
    page.SetUD(std::string(100, 'x'));
    EXPECT_EQ(HexToBytes(page.PDU()).substr(6), std::string(82, 'x'));
    page.SetUD(std::string(10, 'x'));
    EXPECT_EQ(HexToBytes(page.PDU()).substr(6), std::string(10, 'x') + std::string(72, '\r'));
}

TEST(CellBroadcast, TheTwoBitRuleChoosesTheAlphabet)
{
    // 0x11 is UCS2 with a language for cell broadcast, yet packs as septets here.
    TCellBroadcast page;
    page.SetDCS(0x11);
    page.SetUD("\x48\x69");
    EXPECT_EQ(page.PDU().substr(12, 12), "C874A3D16834");
}

TEST(CellBroadcast, AShortPageGivesAShorterText)
{
    TCellBroadcast page;
    page.SetPDU(Compact("00 00 00 32 00 11 E8 32 9B FD 06"));  // "hello" and nothing more
    EXPECT_EQ(page.UD(), "hello");
    page.SetPDU(Compact("00 00 00 32 00 11"));
    EXPECT_EQ(page.UD(), "");
    try {
        page.SetPDU("0000003200");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "PDU too short for page parameter");
    }
}

}  // namespace
