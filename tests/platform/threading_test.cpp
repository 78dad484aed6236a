#include <gtest/gtest.h>

#include <atomic>
#include <poll.h>
#include <stdexcept>
#include <thread>

#include "platform/sys/event.h"
#include "platform/sys/exception.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/thread.h"
#include "platform/sys/tick_count.h"
#include "platform/sys/timer.h"

namespace {

// Serves the main thread's queue until pred holds or the deadline passes.
template <typename Pred>
bool ServeUntil(Pred pred, uint32_t deadlineMs = 5000)
{
    const uint32_t start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > deadlineMs)
            return false;
        CheckSynchronize(10);
    }
    return true;
}

class LambdaThread : public TThread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> body) : body_(std::move(body)) {}
    ~LambdaThread() override
    {
        Terminate();
        WaitFor();
    }
    using TThread::Terminated;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
};

TEST(MainThread, TestsRunOnTheThreadThatLoadedThePlatform)
{
    EXPECT_TRUE(IsMainThread());
    bool other = true;
    std::thread([&] { other = IsMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(Synchronize, RunsOnTheMainThreadAndBlocksTheCaller)
{
    std::atomic<bool> ranOnMain{false}, returned{false};
    LambdaThread worker([&](LambdaThread&) {
        Synchronize([&] { ranOnMain = IsMainThread(); });
        returned = true;
    });
    worker.Start();
    pollfd pfd{SynchronizeWakeFd(), POLLIN, 0};
    ASSERT_EQ(poll(&pfd, 1, 5000), 1) << "the wake descriptor must become readable";
    EXPECT_FALSE(returned);
    ASSERT_TRUE(ServeUntil([&] { return returned.load(); }));
    EXPECT_TRUE(ranOnMain);
    worker.WaitFor();
}

TEST(Synchronize, ReRaisesTheFailureInTheCallingThread)
{
    std::string caught;
    LambdaThread worker([&](LambdaThread&) {
        try {
            Synchronize([] { throw Exception("boom"); });
        } catch (const Exception& e) {
            caught = e.Message();
        }
    });
    worker.Start();
    worker.WaitFor();  // serves the queue, so the hand-over completes
    EXPECT_EQ(caught, "boom");
}

TEST(Synchronize, OnTheMainThreadRunsAtOnce)
{
    bool ran = false;
    Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(Thread, WaitForOnTheMainThreadServesAPendingHandOver)
{
    int handOvers = 0;
    LambdaThread worker([&](LambdaThread& self) {
        while (!self.Terminated())
            Synchronize([&] { ++handOvers; });
    });
    worker.Start();
    ASSERT_TRUE(ServeUntil([&] { return handOvers >= 3; }));
    worker.Terminate();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
}

TEST(Thread, DestructorStopsAndJoins)
{
    std::atomic<bool> left{false};
    {
        TEvent never;
        LambdaThread worker([&](LambdaThread& self) {
            while (!self.Terminated())
                never.WaitFor(5);
            left = true;
        });
        worker.Start();
    }
    EXPECT_TRUE(left);
}

TEST(Event, ManualResetReleasesEveryWaiterUntilReset)
{
    TEvent event;
    EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
    std::atomic<int> released{0};
    std::thread a([&] { released += event.WaitFor(INFINITE) == TWaitResult::wrSignaled; });
    std::thread b([&] { released += event.WaitFor(INFINITE) == TWaitResult::wrSignaled; });
    event.SetEvent();
    a.join();
    b.join();
    EXPECT_EQ(released, 2);
    EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
    event.ResetEvent();
    EXPECT_EQ(event.WaitFor(1), TWaitResult::wrTimeout);
}

TEST(Timer, TicksOnTheMainThreadThroughTheQueue)
{
    TTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    bool allOnMain = true;
    timer.OnTimer = [&] {
        ++ticks;
        allOnMain = allOnMain && IsMainThread();
    };
    ASSERT_TRUE(ServeUntil([&] { return ticks >= 3; }));
    EXPECT_TRUE(allOnMain);
}

TEST(Timer, NoTickAfterDisableOrDestruction)
{
    int ticks = 0;
    {
        TTimer timer;
        timer.SetInterval(1);
        timer.OnTimer = [&] { ++ticks; };
        // Let a tick get queued, then stop the timer before the queue is served.
        pollfd pfd{SynchronizeWakeFd(), POLLIN, 0};
        ASSERT_EQ(poll(&pfd, 1, 5000), 1);
        timer.SetEnabled(false);
    }
    CheckSynchronize();
    EXPECT_EQ(ticks, 0);
}

}  // namespace
