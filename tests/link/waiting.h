#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/sys/main_thread.h"

// What handlers on any thread record, and a wait for it with a deadline. On the main thread
// the wait serves the main thread's queue, so events handed over by Synchronize can arrive.
template <typename Record>
class Recorder {
public:
    void Add(Record record)
    {
        {
            std::lock_guard lock(mutex_);
            records_.push_back(std::move(record));
        }
        changed_.notify_all();
        // A main-thread wait sleeps in CheckSynchronize: an empty item wakes it.
        if (!IsMainThread())
            QueueOnMainThread([] {});
    }

    std::vector<Record> Snapshot() const
    {
        std::lock_guard lock(mutex_);
        return records_;
    }

    void Clear()
    {
        std::lock_guard lock(mutex_);
        records_.clear();
    }

    // True once done(records) holds; false when the deadline passed first.
    bool WaitFor(const std::function<bool(const std::vector<Record>&)>& done, int timeoutMs = 2000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::unique_lock lock(mutex_);
        while (!done(records_)) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline)
                return false;
            if (IsMainThread()) {
                lock.unlock();
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
                CheckSynchronize(int(std::min<long>(left, 50)) + 1);
                lock.lock();
            } else {
                changed_.wait_until(lock, deadline);
            }
        }
        return true;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Record> records_;  // guarded by mutex_
};
