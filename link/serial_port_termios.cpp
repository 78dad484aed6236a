// The only file that speaks the kernel's termios2: <asm/termbits.h> clashes with <termios.h>,
// so nothing else of the port may include either here.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>
#include <iterator>
#include <sys/ioctl.h>

#include "link/serial_port.h"

namespace {

// Rates the terminal interface names; any other goes through BOTHER with the rate itself.
struct StandardRate {
    uint32_t rate;
    tcflag_t code;
};
constexpr StandardRate kStandardRates[] = {
    {110, B110},     {300, B300},     {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},   {9600, B9600},   {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

// By the record's byte size; 4 bits has no setting.
struct ByteSize {
    uint8_t bits;
    tcflag_t code;
};
constexpr ByteSize kByteSizes[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};

// By the record's parity code 0-4.
constexpr tcflag_t kParityMask = PARENB | PARODD | CMSPAR;
constexpr tcflag_t kParity[] = {
    0,                          // none
    PARENB | PARODD,            // odd
    PARENB,                     // even
    PARENB | PARODD | CMSPAR,   // mark
    PARENB | CMSPAR,            // space
};

constexpr uint8_t kTwoStopBits = 2;

bool Get(int fd, termios2& tio)
{
    return ioctl(fd, TCGETS2, &tio) == 0;
}

bool Set(int fd, const termios2& tio)
{
    return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace

bool SetReadsReturnAtOnce(int fd)
{
    termios2 tio;
    if (!Get(fd, tio))
        return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return Set(fd, tio);
}

bool GetLineSettings(int fd, TLineSettings& record)
{
    termios2 tio;
    if (!Get(fd, tio))
        return false;
    record.BaudRate = tio.c_ospeed;
    for (const ByteSize& size : kByteSizes)
        if ((tio.c_cflag & CSIZE) == size.code)
            record.ByteSize = size.bits;
    for (size_t code = 0; code < std::size(kParity); ++code)
        if ((tio.c_cflag & kParityMask) == kParity[code])
            record.Parity = uint8_t(code);
    record.StopBits = (tio.c_cflag & CSTOPB) ? kTwoStopBits : 0;

    uint32_t flags = kLineBinary | kLineDtrControlEnable;
    if (tio.c_iflag & INPCK)
        flags |= kLineParityCheck;
    flags |= (tio.c_cflag & CRTSCTS) ? (kLineOutxCtsFlow | kLineRtsControlHandshake) : kLineRtsControlEnable;
    if (tio.c_iflag & IXON)
        flags |= kLineOutX;
    if (tio.c_iflag & IXOFF)
        flags |= kLineInX;
    record.Flags = flags;
    record.XonChar = char(tio.c_cc[VSTART]);
    record.XoffChar = char(tio.c_cc[VSTOP]);
    return true;
}

bool SetLineSettings(int fd, const TLineSettings& record)
{
    const ByteSize* size = nullptr;
    for (const ByteSize& s : kByteSizes)
        if (s.bits == record.ByteSize)
            size = &s;
    if (!size || record.Parity >= std::size(kParity) || record.StopBits > kTwoStopBits || record.BaudRate == 0) {
        errno = EINVAL;
        return false;
    }
    termios2 tio;
    if (!Get(fd, tio))
        return false;

    tcflag_t rateCode = BOTHER;
    for (const StandardRate& r : kStandardRates)
        if (r.rate == record.BaudRate)
            rateCode = r.code;
    // Input speed bits left 0: the input rate follows the output rate.
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= rateCode;
    tio.c_ispeed = record.BaudRate;
    tio.c_ospeed = record.BaudRate;

    tio.c_cflag &= ~(CSIZE | kParityMask | CSTOPB | CRTSCTS);
    tio.c_cflag |= size->code | kParity[record.Parity] | CREAD | CLOCAL;
    if (record.StopBits != 0)
        tio.c_cflag |= CSTOPB;
    if (record.Flags & (kLineOutxCtsFlow | kLineRtsControlHandshake))
        tio.c_cflag |= CRTSCTS;

    // Binary mode: bytes pass untranslated and unechoed.
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | INPCK | IXON | IXOFF);
    if (record.Flags & kLineParityCheck)
        tio.c_iflag |= INPCK;
    if (record.Flags & kLineOutX)
        tio.c_iflag |= IXON;
    if (record.Flags & kLineInX)
        tio.c_iflag |= IXOFF;
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cc[VSTART] = cc_t(record.XonChar);
    tio.c_cc[VSTOP] = cc_t(record.XoffChar);
    return Set(fd, tio);
}

void PurgeSerialPort(int fd, bool input, bool output)
{
    if (input && output)
        ioctl(fd, TCFLSH, TCIOFLUSH);
    else if (input)
        ioctl(fd, TCFLSH, TCIFLUSH);
    else if (output)
        ioctl(fd, TCFLSH, TCOFLUSH);
}
