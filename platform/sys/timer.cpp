#include "platform/sys/timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "platform/sys/main_thread.h"

using Clock = std::chrono::steady_clock;

struct TTimer::State {
    TTimer* owner;
    std::atomic<bool> alive{true};   // false once the timer is gone or stopped
    std::atomic<bool> queued{false}; // a tick waits in the main thread's queue
};

namespace {

// One thread keeps every timer's deadline and queues due ticks for the main thread.
class TimerService {
public:
    ~TimerService()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void Schedule(const std::shared_ptr<TTimer::State>& state, uint32_t intervalMs)
    {
        {
            std::lock_guard lock(mutex_);
            timers_[state] = {Clock::now() + std::chrono::milliseconds(intervalMs), intervalMs};
            if (!thread_.joinable())
                thread_ = std::thread([this] { Run(); });
        }
        changed_.notify_all();
    }

    void Cancel(const std::shared_ptr<TTimer::State>& state)
    {
        std::lock_guard lock(mutex_);
        timers_.erase(state);
    }

private:
    struct Entry {
        Clock::time_point due;
        uint32_t intervalMs;
    };

    void Run()
    {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            auto next = Clock::time_point::max();
            const auto now = Clock::now();
            for (auto& [state, entry] : timers_) {
                if (entry.due <= now) {
                    entry.due = now + std::chrono::milliseconds(entry.intervalMs);
                    if (!state->queued.exchange(true))
                        QueueOnMainThread([state = state] {
                            state->queued = false;
                            if (state->alive && state->owner->OnTimer)
                                state->owner->OnTimer();
                        });
                }
                next = std::min(next, entry.due);
            }
            if (next == Clock::time_point::max())
                changed_.wait(lock);
            else
                changed_.wait_until(lock, next);
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;                                        // guarded by mutex_
    std::map<std::shared_ptr<TTimer::State>, Entry> timers_;       // guarded by mutex_
    std::thread thread_;
};

TimerService& Service()
{
    static TimerService service;
    return service;
}

}  // namespace

TTimer::TTimer()
{
    Reschedule();
}

TTimer::~TTimer()
{
    if (state_) {
        state_->alive = false;
        Service().Cancel(state_);
    }
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Reschedule();
}

void TTimer::SetInterval(uint32_t milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    Reschedule();
}

void TTimer::Reschedule()
{
    // A fresh state per schedule: a tick already queued for the old one is dropped.
    if (state_) {
        state_->alive = false;
        Service().Cancel(state_);
        state_.reset();
    }
    if (!enabled_ || interval_ == 0)
        return;
    state_ = std::make_shared<State>();
    state_->owner = this;
    Service().Schedule(state_, interval_);
}
