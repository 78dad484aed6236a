#pragma once
#include "platform/com/com_ptr.h"
#include "platform/com/stream.h"
#include "platform/sys/stream.h"

// A container's IStream seen as a stream of this platform, so the stream string helpers work
// on it. A failing call of the IStream raises EOleSysError.
class TOleStream : public TStream {
public:
    explicit TOleStream(IStream* stream) : stream_(stream) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

private:
    ComPtr<IStream> stream_;
};
