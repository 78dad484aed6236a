#include <gtest/gtest.h>

#include "platform/sys/stream.h"

namespace {

TEST(MemoryStream, ReadsBackWhatWasWrittenAndStopsAtTheEnd)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(2);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    // Overwriting in the middle keeps the size.
    stream.SetPosition(1);
    stream.WriteBuffer("XY", 2);
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), "aXYdef");
}

TEST(MemoryStream, ShortReadBufferRaisesTheReadError)
{
    TMemoryStream stream;
    stream.WriteBuffer("ab", 2);
    stream.SetPosition(0);
    char buffer[3];
    try {
        stream.ReadBuffer(buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

}  // namespace
