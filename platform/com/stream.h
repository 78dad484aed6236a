#pragma once
#include <cstdint>
#include <string>

#include "platform/com/unknown.h"

// Byte streams: what containers save a control's properties into.
struct ISequentialStream : IUnknown {
    static constexpr IID kIID = MakeGuid("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
    using Base = IUnknown;
    // Fewer bytes than asked, with S_OK, at the end of the stream.
    virtual HRESULT Read(void* buffer, uint32_t count, uint32_t* read) = 0;
    virtual HRESULT Write(const void* buffer, uint32_t count, uint32_t* written) = 0;

protected:
    ~ISequentialStream() = default;
};

enum StreamSeek : uint32_t { STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2 };

struct IStream : ISequentialStream {
    static constexpr IID kIID = MakeGuid("{0000000C-0000-0000-C000-000000000046}");
    using Base = ISequentialStream;
    virtual HRESULT Seek(int64_t offset, StreamSeek origin, uint64_t* position) = 0;
    virtual HRESULT SetSize(uint64_t size) = 0;
    virtual HRESULT Commit(uint32_t flags) = 0;

protected:
    ~IStream() = default;
};

struct IPersist : IUnknown {
    static constexpr IID kIID = MakeGuid("{0000010C-0000-0000-C000-000000000046}");
    using Base = IUnknown;
    virtual HRESULT GetClassID(CLSID* clsid) = 0;

protected:
    ~IPersist() = default;
};

struct IPersistStreamInit : IPersist {
    static constexpr IID kIID = MakeGuid("{7FD52380-4E07-101B-AE2D-08002B2EC713}");
    using Base = IPersist;
    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(IStream* stream) = 0;
    virtual HRESULT Save(IStream* stream, int32_t clearDirty) = 0;
    virtual HRESULT GetSizeMax(uint64_t* size) = 0;
    virtual HRESULT InitNew() = 0;

protected:
    ~IPersistStreamInit() = default;
};

// A stream in memory holding bytes, positioned at the start.
HRESULT CreateMemoryStream(const std::string& bytes, IStream** stream);
// Everything a memory stream holds; E_INVALIDARG for a stream of another kind.
HRESULT MemoryStreamBytes(IStream* stream, std::string* bytes);

enum class FileStreamMode { Read, Create };
// E_FAIL with the system's reason as the error description when the file cannot be opened.
HRESULT CreateFileStream(const std::string& path, FileStreamMode mode, IStream** stream);
