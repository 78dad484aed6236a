#include "link/comm_event_thread.h"

#include <cerrno>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "link/comm_handle.h"
#include "link/line_events.h"
#include "platform/sys/main_thread.h"

namespace {

struct LineEvent {
    int line;  // TIOCM_* bit
    uint32_t event;
};
constexpr LineEvent kLineEvents[] = {
    {TIOCM_CTS, kEvCts},
    {TIOCM_DSR, kEvDsr},
    {TIOCM_CAR, kEvRlsd},
    {TIOCM_RNG, kEvRing},
};
constexpr uint32_t kLineEventMask = kEvCts | kEvDsr | kEvRlsd | kEvRing;
constexpr uint32_t kCounterEventMask = kEvBreak | kEvErr;

}  // namespace

TCommEventThread::TCommEventThread(TCommHandle* owner, int port, TCommEventTypes events)
    : port_(port),
      eventMask_(PlatformEventMask(events)),
      owner_(owner),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      epollFd_(epoll_create1(EPOLL_CLOEXEC))
{
    epoll_event wake{};
    wake.events = EPOLLIN;
    wake.data.fd = wakeFd_;
    epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &wake);
    if (eventMask_ & kEvRxChar) {
        epoll_event received{};
        received.events = EPOLLIN | EPOLLET;
        received.data.fd = port_;
        epoll_ctl(epollFd_, EPOLL_CTL_ADD, port_, &received);
    }
    watchLines_ = (eventMask_ & kLineEventMask) && ReadModemLines(port_, lines_);
    watchCounters_ = (eventMask_ & kCounterEventMask) && ReadLineCounters(port_, counters_);
    SetPriority(TThreadPriority::tpHigher);
    Start();
}

TCommEventThread::~TCommEventThread()
{
    Stop();
    close(epollFd_);
    close(wakeFd_);
}

void TCommEventThread::Stop()
{
    Terminate();
    Wake();
    WaitFor();
}

void TCommEventThread::OutputQueued()
{
    if (!(eventMask_ & kEvTxEmpty))
        return;
    outputPending_ = true;
    Wake();
}

void TCommEventThread::Wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void TCommEventThread::Execute()
{
    while (!Terminated()) {
        const bool periodic = watchLines_ || watchCounters_ || outputPending_;
        epoll_event ready[2];
        const int n = epoll_wait(epollFd_, ready, 2, periodic ? kLineCheckPeriodMs : -1);
        if (n < 0 && errno != EINTR)
            continue;
        uint32_t mask = 0;
        for (int i = 0; i < n; ++i) {
            if (ready[i].data.fd == wakeFd_) {
                uint64_t count;
                [[maybe_unused]] ssize_t r = read(wakeFd_, &count, sizeof count);
            } else if (ready[i].events & EPOLLIN) {
                mask |= kEvRxChar;
            }
        }
        // A stop is not a line event: nothing more is dispatched once it is asked for.
        if (Terminated())
            break;
        mask |= LineChanges();
        if (outputPending_ && OutputQueueCount(port_) <= 0) {
            outputPending_ = false;
            mask |= kEvTxEmpty;
        }
        mask &= eventMask_;
        if (mask)
            Dispatch(mask);
    }
    PurgeSerialPort(port_, true, true);
}

uint32_t TCommEventThread::LineChanges()
{
    uint32_t mask = 0;
    int lines = 0;
    if (watchLines_ && ReadModemLines(port_, lines)) {
        for (const LineEvent& e : kLineEvents)
            if ((lines ^ lines_) & e.line)
                mask |= e.event;
        lines_ = lines;
    }
    TLineCounters counters;
    if (watchCounters_ && ReadLineCounters(port_, counters)) {
        if (counters.breaks != counters_.breaks)
            mask |= kEvBreak;
        if (counters.frame != counters_.frame || counters.overrun != counters_.overrun ||
            counters.parity != counters_.parity || counters.bufferOverrun != counters_.bufferOverrun)
            mask |= kEvErr;
        counters_ = counters;
    }
    return mask;
}

void TCommEventThread::Dispatch(uint32_t mask)
{
    try {
        if (owner_->DontSynchronize())
            owner_->HandleEvents(mask);
        else
            Synchronize([this, mask] { owner_->HandleEvents(mask); });
    } catch (...) {
        // A failing event handler is the host's business; the port must keep reporting.
    }
}
