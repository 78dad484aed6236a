#include "console/append_to_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "console/file_error.h"
#include "platform/sys/format.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& fileName)
{
    throw EFileError(Format("Cannot %s file \"%s\". %s", what, fileName.c_str(), strerror(errno)));
}

}  // namespace

void AppendToFile(const std::string& fileName, const std::string& text)
{
    if (fileName == kNullFileName)
        return;
    const int fd = open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("open", fileName);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        Fail("open", fileName);
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = errno;
            close(fd);
            errno = error;
            Fail("write", fileName);
        }
        written += static_cast<size_t>(n);
    }
    close(fd);
}
