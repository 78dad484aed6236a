#pragma once
#include <cstdint>
#include <vector>

#include "platform/sys/exception.h"
#include "platform/sys/object.h"

// A stream that cannot deliver or take the bytes asked for: "Stream read error",
// "Stream write error".
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A byte stream with a position.
class TStream : public TObject {
public:
    // Move up to count bytes; return how many moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    // All count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    int64_t Size();
};

// A stream in memory that grows as it is written.
class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    // The position is kept within 0 and the size.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    void Clear();

private:
    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
};
