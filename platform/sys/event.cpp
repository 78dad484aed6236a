#include "platform/sys/event.h"

#include <chrono>

void TEvent::SetEvent()
{
    {
        std::lock_guard lock(mutex_);
        signaled_ = true;
    }
    changed_.notify_all();
}

void TEvent::ResetEvent()
{
    std::lock_guard lock(mutex_);
    signaled_ = false;
}

bool TEvent::IsSet() const
{
    std::lock_guard lock(mutex_);
    return signaled_;
}

TWaitResult TEvent::WaitFor(uint32_t timeoutMs)
{
    std::unique_lock lock(mutex_);
    if (timeoutMs == INFINITE)
        changed_.wait(lock, [this] { return signaled_; });
    else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signaled_; }))
        return TWaitResult::wrTimeout;
    return TWaitResult::wrSignaled;
}
