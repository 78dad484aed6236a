#include "link/serial_port.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenSerialPort(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    // TIOCEXCL alone does not stop root, so a lock keeps two of our own devices off one port.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        errno = reason;
        return -1;
    }
    // Not a terminal: GetFileType decides what to say about it.
    ioctl(fd, TIOCEXCL);
    return fd;
}

bool IsCharacterDevice(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    if (!S_ISCHR(st.st_mode)) {
        errno = ENOTTY;
        return false;
    }
    return true;
}

void CloseSerialPort(int fd)
{
    // The exclusive flag outlives this descriptor on the terminal: clear it for the next opener.
    ioctl(fd, TIOCNXCL);
    close(fd);
}

int InputQueueCount(int fd)
{
    int count = 0;
    return ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

int OutputQueueCount(int fd)
{
    int count = 0;
    return ioctl(fd, TIOCOUTQ, &count) == 0 ? count : -1;
}

bool ReadModemLines(int fd, int& lines)
{
    return ioctl(fd, TIOCMGET, &lines) == 0;
}

bool ReadLineCounters(int fd, TLineCounters& counters)
{
    serial_icounter_struct icount{};
    if (ioctl(fd, TIOCGICOUNT, &icount) != 0)
        return false;
    counters.breaks = uint32_t(icount.brk);
    counters.frame = uint32_t(icount.frame);
    counters.overrun = uint32_t(icount.overrun);
    counters.parity = uint32_t(icount.parity);
    counters.bufferOverrun = uint32_t(icount.buf_overrun);
    return true;
}
