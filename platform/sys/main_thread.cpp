#include "platform/sys/main_thread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

struct Request {
    std::function<void()> fn;
    // Set for Synchronize: the caller waits on it.
    bool waited = false;
    bool done = false;  // guarded by the queue's mutex
    std::exception_ptr error;
};

class MainQueue {
public:
    MainQueue() : mainThread_(pthread_self()), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    bool IsMain() const { return pthread_equal(pthread_self(), mainThread_) != 0; }
    int WakeFd() const { return wakeFd_; }

    void Post(const std::shared_ptr<Request>& request)
    {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(request);
        }
        Wake();
    }

    void Wake()
    {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
    }

    void WaitDone(const std::shared_ptr<Request>& request)
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return request->done; });
    }

    bool Drain(int timeoutMs)
    {
        if (timeoutMs != 0 && Empty()) {
            pollfd pfd{wakeFd_, POLLIN, 0};
            poll(&pfd, 1, timeoutMs);
        }
        uint64_t count;
        [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        bool ran = false;
        // Take the items one by one: a handler may itself queue more, or drain recursively.
        for (;;) {
            std::shared_ptr<Request> request;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty())
                    break;
                request = std::move(queue_.front());
                queue_.pop_front();
            }
            ran = true;
            try {
                request->fn();
            } catch (...) {
                if (!request->waited) {
                    // Nobody else can receive it: the host loop does. What is still queued
                    // must keep the descriptor readable.
                    if (!Empty())
                        Wake();
                    throw;
                }
                request->error = std::current_exception();
            }
            if (request->waited) {
                {
                    std::lock_guard lock(mutex_);
                    request->done = true;
                }
                done_.notify_all();
            }
        }
        return ran;
    }

private:
    bool Empty()
    {
        std::lock_guard lock(mutex_);
        return queue_.empty();
    }

    const pthread_t mainThread_;
    const int wakeFd_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<std::shared_ptr<Request>> queue_;  // guarded by mutex_
};

// Constructed while the library loads, so on the thread that loads it.
MainQueue& Queue()
{
    static MainQueue queue;
    return queue;
}
[[maybe_unused]] const bool kQueueCreatedAtLoad = (Queue(), true);

}  // namespace

bool IsMainThread()
{
    return Queue().IsMain();
}

void Synchronize(std::function<void()> fn)
{
    if (IsMainThread()) {
        fn();
        return;
    }
    auto request = std::make_shared<Request>();
    request->fn = std::move(fn);
    request->waited = true;
    Queue().Post(request);
    Queue().WaitDone(request);
    // Take the failure over, so that this thread alone owns and frees it.
    const std::exception_ptr error = std::move(request->error);
    request.reset();
    if (error)
        std::rethrow_exception(error);
}

void QueueOnMainThread(std::function<void()> fn)
{
    auto request = std::make_shared<Request>();
    request->fn = std::move(fn);
    Queue().Post(request);
}

bool CheckSynchronize(int timeoutMs)
{
    if (!IsMainThread())
        return false;
    return Queue().Drain(timeoutMs);
}

int SynchronizeWakeFd()
{
    return Queue().WakeFd();
}
