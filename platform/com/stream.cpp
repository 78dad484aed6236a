#include "platform/com/stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/com/com_object.h"
#include "platform/com/error_info.h"
#include "platform/sys/format.h"

namespace {

constexpr IID kMemoryStreamIID = MakeGuid("{5E0B1C47-7A51-4C55-9A0D-3C0E6B1A2F10}");

HRESULT NewPosition(uint64_t current, uint64_t size, int64_t offset, StreamSeek origin, uint64_t& position)
{
    int64_t base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? int64_t(current) : int64_t(size);
    if (origin > STREAM_SEEK_END || base + offset < 0)
        return E_INVALIDARG;
    position = uint64_t(base + offset);
    return S_OK;
}

class MemoryStream : public ComObject<IStream> {
public:
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        // Lets MemoryStreamBytes recognise its own streams.
        if (iid == kMemoryStreamIID && object) {
            *object = this;
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, object);
    }
    HRESULT Read(void* buffer, uint32_t count, uint32_t* read) override
    {
        if (!buffer && count)
            return E_POINTER;
        uint32_t n = position_ < bytes_.size() ? uint32_t(std::min<uint64_t>(count, bytes_.size() - position_)) : 0;
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        if (read)
            *read = n;
        return S_OK;
    }
    HRESULT Write(const void* buffer, uint32_t count, uint32_t* written) override
    {
        if (!buffer && count)
            return E_POINTER;
        if (position_ + count > bytes_.size())
            bytes_.resize(position_ + count);
        std::memcpy(bytes_.data() + position_, buffer, count);
        position_ += count;
        if (written)
            *written = count;
        return S_OK;
    }
    HRESULT Seek(int64_t offset, StreamSeek origin, uint64_t* position) override
    {
        HRESULT hr = NewPosition(position_, bytes_.size(), offset, origin, position_);
        if (position)
            *position = position_;
        return hr;
    }
    HRESULT SetSize(uint64_t size) override
    {
        bytes_.resize(size);
        return S_OK;
    }
    HRESULT Commit(uint32_t) override { return S_OK; }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    uint64_t position_ = 0;
};

class FileStream : public ComObject<IStream> {
public:
    explicit FileStream(int fd) : fd_(fd) {}
    ~FileStream() override { ::close(fd_); }

    HRESULT Read(void* buffer, uint32_t count, uint32_t* read) override
    {
        return Transfer(::read(fd_, buffer, count), read);
    }
    HRESULT Write(const void* buffer, uint32_t count, uint32_t* written) override
    {
        return Transfer(::write(fd_, buffer, count), written);
    }
    HRESULT Seek(int64_t offset, StreamSeek origin, uint64_t* position) override
    {
        static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        if (origin > STREAM_SEEK_END)
            return E_INVALIDARG;
        off_t at = ::lseek(fd_, offset, kWhence[origin]);
        if (at < 0)
            return errno == EINVAL ? E_INVALIDARG : SystemError("seek");
        if (position)
            *position = uint64_t(at);
        return S_OK;
    }
    HRESULT SetSize(uint64_t size) override { return ::ftruncate(fd_, off_t(size)) == 0 ? S_OK : SystemError("resize"); }
    HRESULT Commit(uint32_t) override { return ::fsync(fd_) == 0 ? S_OK : SystemError("commit"); }

private:
    HRESULT Transfer(ssize_t done, uint32_t* count)
    {
        if (done < 0)
            return SystemError("transfer");
        if (count)
            *count = uint32_t(done);
        return S_OK;
    }
    static HRESULT SystemError(const char* what)
    {
        return ReportError(E_FAIL, IStream::kIID, "Stream", Format("Cannot %s: %s", what, std::strerror(errno)));
    }

    int fd_;
};

} // namespace

HRESULT CreateMemoryStream(const std::string& bytes, IStream** stream)
{
    if (!stream)
        return E_POINTER;
    return CreateComObject<MemoryStream>(IStream::kIID, reinterpret_cast<void**>(stream), bytes);
}

HRESULT MemoryStreamBytes(IStream* stream, std::string* bytes)
{
    if (!stream || !bytes)
        return E_POINTER;
    void* own = nullptr;
    if (FAILED(stream->QueryInterface(kMemoryStreamIID, &own)))
        return E_INVALIDARG;
    auto* memory = static_cast<MemoryStream*>(own);
    *bytes = memory->Bytes();
    memory->Release();
    return S_OK;
}

HRESULT CreateFileStream(const std::string& path, FileStreamMode mode, IStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    int flags = mode == FileStreamMode::Read ? O_RDONLY : O_RDWR | O_CREAT | O_TRUNC;
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        return ReportError(E_FAIL, IStream::kIID, "Stream", Format("Cannot open %s: %s", path.c_str(), std::strerror(errno)));
    return CreateComObject<FileStream>(IStream::kIID, reinterpret_cast<void**>(stream), fd);
}
