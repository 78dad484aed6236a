#include "sim/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

struct TRate {
    speed_t code;
    int rate;
};
constexpr TRate kRates[] = {
    {B300, 300},     {B1200, 1200},   {B2400, 2400},     {B4800, 4800},     {B9600, 9600},
    {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
};

}  // namespace

TPseudoTerminal::TPseudoTerminal()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        Fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        close(master_);
        Fail("grantpt");
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        close(master_);
        Fail("ptsname");
    }
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        close(master_);
        Fail("open pty");
    }
    // Raw until a client sets its own line: no echo or line editing by the terminal driver.
    termios settings;
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

TPseudoTerminal::~TPseudoTerminal()
{
    HangUp();
}

int TPseudoTerminal::PendingForClient() const
{
    int count = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &count) != 0)
        return 0;
    return count;
}

int TPseudoTerminal::ClientRate() const
{
    termios settings;
    if (slave_ < 0 || tcgetattr(slave_, &settings) != 0)
        return 0;
    const speed_t code = cfgetospeed(&settings);
    for (const TRate& rate : kRates)
        if (rate.code == code)
            return rate.rate;
    return 0;
}

void TPseudoTerminal::HangUp()
{
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
    slave_ = master_ = -1;
}

}  // namespace sim
