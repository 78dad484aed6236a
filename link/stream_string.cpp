#include "link/stream_string.h"

#include <cstdint>

namespace {
constexpr size_t kMaxLength = 0xFFFF;
}

void ReadStreamString(TStream& stream, std::string& S)
{
    uint8_t length[2];
    stream.ReadBuffer(length, sizeof length);
    S.assign(size_t(length[0] | length[1] << 8), '\0');
    stream.ReadBuffer(S.data(), int64_t(S.size()));
}

void WriteStreamString(TStream& stream, const std::string& S)
{
    // A longer string cannot be told in two bytes; writing it would corrupt the stream.
    if (S.size() > kMaxLength)
        throw EWriteError("Stream write error");
    const uint8_t length[2] = {uint8_t(S.size() & 0xFF), uint8_t(S.size() >> 8 & 0xFF)};
    stream.WriteBuffer(length, sizeof length);
    stream.WriteBuffer(S.data(), int64_t(S.size()));
}
