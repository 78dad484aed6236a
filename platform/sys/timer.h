#pragma once
#include <cstdint>
#include <functional>
#include <memory>

// A timer that ticks on the main thread through its queue (CheckSynchronize). A tick is queued
// at most once at a time: a slow handler delays ticks, it never piles them up.
class TTimer {
public:
    TTimer();
    ~TTimer();  // no tick runs after this returns
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t milliseconds);  // 0 stops ticking, as the platform does
    std::function<void()> OnTimer;

    struct State;  // shared with the timer service; opaque to users

private:
    void Reschedule();

    std::shared_ptr<State> state_;
    bool enabled_ = true;
    uint32_t interval_ = 1000;
};
