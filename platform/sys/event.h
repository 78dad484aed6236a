#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

constexpr uint32_t INFINITE = 0xFFFFFFFF;

enum class TWaitResult { wrSignaled, wrTimeout };

// A manual-reset event: once set it stays set, releasing every waiter, until reset.
class TEvent {
public:
    explicit TEvent(bool initiallySignaled = false) : signaled_(initiallySignaled) {}
    void SetEvent();
    void ResetEvent();
    bool IsSet() const;
    // Plain wait: it does not serve the main thread's queue (see Synchronize).
    TWaitResult WaitFor(uint32_t timeoutMs);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signaled_;  // guarded by mutex_
};
