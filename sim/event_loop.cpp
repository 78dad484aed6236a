#include "sim/event_loop.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace sim {

TEventLoop::TEventLoop() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (wakeFd_ < 0)
        throw std::runtime_error("eventfd failed");
}

TEventLoop::~TEventLoop()
{
    Stop();
    close(wakeFd_);
}

void TEventLoop::Start()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_)
        return;
    running_ = true;
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
}

void TEventLoop::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_)
            return;
        stopping_ = true;
    }
    Wake();
    if (thread_.joinable() && !InLoop())
        thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
    posted_.clear();
    done_.notify_all();
}

void TEventLoop::Wake()
{
    const uint64_t one = 1;
    // A full counter already means "wake up"; nothing is lost when this write fails.
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void TEventLoop::Post(TTask task)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_ || stopping_)
            return;
        posted_.push_back(std::move(task));
    }
    Wake();
}

void TEventLoop::Call(const TTask& task)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!running_ || InLoop()) {
        lock.unlock();
        task();
        return;
    }
    bool finished = false;
    posted_.push_back([&] {
        task();
        std::lock_guard<std::mutex> doneLock(mutex_);
        finished = true;
        done_.notify_all();
    });
    lock.unlock();
    Wake();
    lock.lock();
    done_.wait(lock, [&] { return finished || !running_ || stopping_; });
}

void TEventLoop::AddTimer(int ms, TTask task)
{
    timers_.emplace(TClock::now() + std::chrono::milliseconds(ms), std::move(task));
}

void TEventLoop::CancelTimers()
{
    timers_.clear();
}

void TEventLoop::Watch(int fd, short events, TFdHandler handler)
{
    watches_[fd] = {events, std::move(handler)};
}

void TEventLoop::Unwatch(int fd)
{
    watches_.erase(fd);
}

void TEventLoop::Run()
{
    for (;;) {
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        for (const auto& [fd, watch] : watches_)
            fds.push_back({fd, watch.events, 0});
        int timeout = -1;
        if (!timers_.empty()) {
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                timers_.begin()->first - TClock::now());
            timeout = wait.count() < 0 ? 0 : static_cast<int>(wait.count()) + 1;
        }
        if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        }
        std::vector<TTask> tasks;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_)
                return;
            tasks.swap(posted_);
        }
        for (TTask& task : tasks)
            task();
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!fds[i].revents)
                continue;
            // A handler may have removed or replaced this watch meanwhile.
            auto it = watches_.find(fds[i].fd);
            if (it != watches_.end() && (it->second.events & fds[i].events)) {
                TFdHandler handler = it->second.handler;
                handler(fds[i].revents);
            }
        }
        const auto now = TClock::now();
        while (!timers_.empty() && timers_.begin()->first <= now) {
            TTask task = std::move(timers_.begin()->second);
            timers_.erase(timers_.begin());
            task();
        }
    }
}

}  // namespace sim
