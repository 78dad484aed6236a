#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

// One thread that waits in poll(2) on a few descriptors, a wake-up descriptor and the nearest
// timer deadline. Everything registered runs on that thread; Post and Call hand work to it
// from any other thread.
class TEventLoop {
public:
    using TTask = std::function<void()>;
    using TFdHandler = std::function<void(short revents)>;

    TEventLoop();
    ~TEventLoop();
    TEventLoop(const TEventLoop&) = delete;
    TEventLoop& operator=(const TEventLoop&) = delete;

    void Start();
    // Stops the thread and waits for it; tasks not yet run are dropped.
    void Stop();
    bool InLoop() const { return std::this_thread::get_id() == thread_.get_id(); }

    void Post(TTask task);
    // Runs the task on the loop thread and waits for it (at once when called on that thread or
    // when the loop is not running).
    void Call(const TTask& task);

    // Loop thread only.
    void AddTimer(int ms, TTask task);
    void CancelTimers();
    void Watch(int fd, short events, TFdHandler handler);
    void Unwatch(int fd);

private:
    void Run();
    void Wake();

    using TClock = std::chrono::steady_clock;
    int wakeFd_;
    std::thread thread_;
    std::mutex mutex_;                // guards posted_ and running_
    std::condition_variable done_;    // Call waits on it
    std::vector<TTask> posted_;
    bool running_ = false;
    bool stopping_ = false;
    // Loop thread only.
    std::multimap<TClock::time_point, TTask> timers_;
    struct TWatch {
        short events;
        TFdHandler handler;
    };
    std::map<int, TWatch> watches_;
};

}  // namespace sim
