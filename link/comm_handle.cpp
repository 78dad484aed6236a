#include "link/comm_handle.h"

#include <cerrno>
#include <chrono>
#include <mutex>
#include <poll.h>
#include <unistd.h>

#include "link/comm_error.h"
#include "link/comm_event_thread.h"
#include "link/line_events.h"
#include "platform/sys/main_thread.h"

TCommHandle::TCommHandle(TComponent* owner) : TCommunicationConnection(owner) {}

TCommHandle::~TCommHandle()
{
    CloseForDestruction();
}

void TCommHandle::SetReadBufSize(int32_t bytes)
{
    CheckInactive();
    settings_.ReadBufSize = bytes;
}

void TCommHandle::SetWriteBufSize(int32_t bytes)
{
    CheckInactive();
    writeBufSize_ = bytes;
}

void TCommHandle::SetMonitorEvents(TCommEventTypes events)
{
    CheckInactive();
    monitorEvents_ = events;
}

void TCommHandle::DoOpen()
{
    if (HasState(TComponentState::csDesigning))
        return;
    thread_ = std::make_unique<TCommEventThread>(this, port_, monitorEvents_);
    if (!SetReadsReturnAtOnce(port_))
        RaiseLastCommError("SetCommTimeouts");
    ApplySettings();
    // The kernel's queues have a fixed size: the buffer sizes only set the XON/XOFF limits.
}

void TCommHandle::DoClose()
{
    if (port_ < 0)
        return;
    std::exception_ptr handoverError;
    if (thread_) {
        try {
            thread_->Stop();
        } catch (...) {
            // Raised by some other queued main-thread item the wait ran: it belongs to the
            // host loop, which gets it back, and the port still closes.
            handoverError = std::current_exception();
        }
        thread_.reset();
    }
    {
        std::lock_guard lock(ioLock_);
        CloseSerialPort(port_);
        port_ = -1;
        countersKnown_ = false;
    }
    if (handoverError)
        QueueOnMainThread([handoverError] { std::rethrow_exception(handoverError); });
}

void TCommHandle::ApplySettings()
{
    TLineSettings current;
    GetLineSettings(port_, current);  // unchecked: a failure shows when the record is written
    if (!SetLineSettings(port_, ComposeLineSettings(current, settings_)))
        RaiseLastCommError("SetCommState");
}

int TCommHandle::ClearCommError(uint32_t& errors)
{
    std::lock_guard lock(ioLock_);
    errors = 0;
    if (port_ < 0)
        return -1;
    TLineCounters now;
    if (ReadLineCounters(port_, now)) {
        if (countersKnown_) {
            const TLineCounters& was = reportedCounters_;
            if (now.bufferOverrun != was.bufferOverrun)
                errors |= kCeRxOver;
            if (now.overrun != was.overrun)
                errors |= kCeOverrun;
            if (now.parity != was.parity)
                errors |= kCeRxParity;
            if (now.frame != was.frame)
                errors |= kCeFrame;
            if (now.breaks != was.breaks)
                errors |= kCeBreak;
        }
        reportedCounters_ = now;
        countersKnown_ = true;
    }
    return InputQueueCount(port_);
}

int TCommHandle::InQueCount()
{
    if (!Active())
        return -1;
    uint32_t errors;
    return ClearCommError(errors);
}

void TCommHandle::PurgeIn()
{
    if (Active() && port_ >= 0)
        PurgeSerialPort(port_, true, false);
}

void TCommHandle::PurgeOut()
{
    if (Active() && port_ >= 0)
        PurgeSerialPort(port_, false, true);
}

int TCommHandle::Write(const char* buffer, int count)
{
    std::lock_guard lock(ioLock_);
    if (port_ < 0)
        RaiseCommError(EBADF, "WriteFile");
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeout_.load());
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(port_, buffer + written, size_t(count - written));
        if (n > 0) {
            written += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            RaiseLastCommError("WriteFile");
        // The output queue is full: wait for room, but not past the time-out.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd room{port_, POLLOUT, 0};
        poll(&room, 1, int(left));
    }
    if (written > 0 && thread_)
        thread_->OutputQueued();
    return written;
}

int TCommHandle::Read(char* buffer, int count)
{
    std::lock_guard lock(ioLock_);
    if (port_ < 0)
        RaiseCommError(EBADF, "ReadFile");
    if (count <= 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(port_, buffer, size_t(count));
        if (n >= 0)
            return int(n);
        if (errno == EAGAIN)
            return 0;
        if (errno != EINTR)
            RaiseLastCommError("ReadFile");
    }
}

void TCommHandle::HandleEvents(uint32_t eventMask)
{
    uint32_t errors = 0;
    const int inQueue = ClearCommError(errors);
    if ((eventMask & kEvBreak) && OnBreak)
        OnBreak(this);
    if ((eventMask & kEvCts) && OnCts)
        OnCts(this);
    if ((eventMask & kEvDsr) && OnDsr)
        OnDsr(this);
    if ((eventMask & kEvErr) && OnError)
        OnError(this, int(errors));
    if ((eventMask & kEvRing) && OnRing)
        OnRing(this);
    if ((eventMask & kEvRlsd) && OnRlsd)
        OnRlsd(this);
    if ((eventMask & kEvRxChar) && inQueue > 0)
        DoRxChar(inQueue);
    if ((eventMask & kEvRxFlag) && OnRxFlag)
        OnRxFlag(this);
    if ((eventMask & kEvTxEmpty) && OnTxEmpty)
        OnTxEmpty(this);
}
