#include <gtest/gtest.h>

#include "link/stream_string.h"

namespace {

TEST(StreamString, RoundTripsWithATwoByteLittleEndianLength)
{
    const std::string kCases[] = {"", "A", std::string(300, 'q'), std::string(0xFFFF, '\xFF')};
    for (const std::string& s : kCases) {
        TMemoryStream stream;
        WriteStreamString(stream, s);
        ASSERT_EQ(stream.Size(), int64_t(s.size() + 2)) << s.size();
        EXPECT_EQ(stream.Bytes()[0], s.size() & 0xFF);
        EXPECT_EQ(stream.Bytes()[1], s.size() >> 8);
        stream.SetPosition(0);
        std::string back = "stale";
        ReadStreamString(stream, back);
        EXPECT_EQ(back, s);
    }
}

TEST(StreamString, AStreamThatEndsEarlyRaisesTheReadError)
{
    TMemoryStream stream;
    stream.WriteBuffer("\x05\x00" "abc", 5);  // five announced, three there
    stream.SetPosition(0);
    std::string s;
    EXPECT_THROW(ReadStreamString(stream, s), EReadError);
    TMemoryStream oneByte;
    oneByte.WriteBuffer("\x01", 1);
    oneByte.SetPosition(0);
    EXPECT_THROW(ReadStreamString(oneByte, s), EReadError);
}

TEST(StreamString, ATooLongStringIsRefusedBeforeAnythingIsWritten)
{
    TMemoryStream stream;
    EXPECT_THROW(WriteStreamString(stream, std::string(0x10000, 'x')), EWriteError);
    EXPECT_EQ(stream.Size(), 0);
}

}  // namespace
