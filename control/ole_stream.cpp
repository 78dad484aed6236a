#include "control/ole_stream.h"

#include <limits>

#include "platform/com/ole_error.h"

namespace {

uint32_t Chunk(int64_t count)
{
    return static_cast<uint32_t>(std::min<int64_t>(count, std::numeric_limits<uint32_t>::max()));
}

} // namespace

int64_t TOleStream::Read(void* buffer, int64_t count)
{
    uint32_t read = 0;
    OleCheck(stream_->Read(buffer, Chunk(count), &read));
    return read;
}

int64_t TOleStream::Write(const void* buffer, int64_t count)
{
    uint32_t written = 0;
    OleCheck(stream_->Write(buffer, Chunk(count), &written));
    return written;
}

int64_t TOleStream::Seek(int64_t offset, TSeekOrigin origin)
{
    constexpr StreamSeek kOrigins[] = {STREAM_SEEK_SET, STREAM_SEEK_CUR, STREAM_SEEK_END};
    uint64_t position = 0;
    OleCheck(stream_->Seek(offset, kOrigins[static_cast<int>(origin)], &position));
    return static_cast<int64_t>(position);
}
