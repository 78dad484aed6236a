#pragma once
#include <mutex>

// A recursive lock, as the platform's critical sections are: the owning thread may enter again.
class TCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    // For std::lock_guard / std::unique_lock.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::recursive_mutex mutex_;
};
