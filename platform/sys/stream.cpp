#include "platform/sys/stream.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::Size()
{
    const int64_t position = Position();
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    SetPosition(position);
    return size;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t n = std::clamp<int64_t>(int64_t(bytes_.size()) - position_, 0, std::max<int64_t>(count, 0));
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, size_t(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const size_t end = size_t(position_ + count);
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, size_t(count));
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                         : origin == TSeekOrigin::soCurrent ? position_
                                                            : int64_t(bytes_.size());
    position_ = std::clamp<int64_t>(base + offset, 0, int64_t(bytes_.size()));
    return position_;
}

void TMemoryStream::Clear()
{
    bytes_.clear();
    position_ = 0;
}
