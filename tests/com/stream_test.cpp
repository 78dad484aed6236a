#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/com/com_ptr.h"
#include "platform/com/stream.h"

namespace {

void WriteAll(IStream* s, const std::string& bytes)
{
    uint32_t written = 0;
    ASSERT_EQ(s->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written), S_OK);
    ASSERT_EQ(written, bytes.size());
}

std::string ReadUpTo(IStream* s, uint32_t count)
{
    std::string bytes(count, '\0');
    uint32_t read = 0;
    EXPECT_EQ(s->Read(bytes.data(), count, &read), S_OK);
    bytes.resize(read);
    return bytes;
}

// Both kinds behave alike: written bytes read back, a read at the end comes back short.
void ExerciseStream(IStream* s)
{
    WriteAll(s, std::string("\x00\x01\xFF\xFF", 4) + "tail");
    uint64_t position = 99;
    ASSERT_EQ(s->Seek(0, STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(ReadUpTo(s, 4), std::string("\x00\x01\xFF\xFF", 4));
    EXPECT_EQ(ReadUpTo(s, 10), "tail");
    EXPECT_EQ(ReadUpTo(s, 10), "");
    ASSERT_EQ(s->Seek(-4, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position, 4u);
    EXPECT_EQ(s->Seek(-1, STREAM_SEEK_SET, nullptr), E_INVALIDARG);
    ASSERT_EQ(s->SetSize(2), S_OK);
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(ReadUpTo(s, 10), std::string("\x00\x01", 2));
}

TEST(Stream, MemoryStreamReadsBackWhatWasWritten)
{
    ComPtr<IStream> s;
    ASSERT_EQ(CreateMemoryStream("", s.Out()), S_OK);
    ExerciseStream(s.Get());
    std::string bytes;
    ASSERT_EQ(MemoryStreamBytes(s.Get(), &bytes), S_OK);
    EXPECT_EQ(bytes, std::string("\x00\x01", 2));
}

TEST(Stream, FileStreamReadsBackWhatWasWritten)
{
    char path[] = "/tmp/gwstream-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ComPtr<IStream> s;
    ASSERT_EQ(CreateFileStream(path, FileStreamMode::Create, s.Out()), S_OK);
    ExerciseStream(s.Get());
    ASSERT_EQ(s->Commit(0), S_OK);
    s.Reset();
    ASSERT_EQ(CreateFileStream(path, FileStreamMode::Read, s.Out()), S_OK);
    EXPECT_EQ(ReadUpTo(s.Get(), 10), std::string("\x00\x01", 2));
    std::string bytes;
    EXPECT_EQ(MemoryStreamBytes(s.Get(), &bytes), E_INVALIDARG);
    s.Reset();
    unlink(path);
    EXPECT_EQ(CreateFileStream(path, FileStreamMode::Read, s.Out()), E_FAIL);
}

} // namespace
