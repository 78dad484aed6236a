#pragma once
#include <atomic>
#include <exception>
#include <pthread.h>

enum class TThreadPriority { tpLower, tpNormal, tpHigher };

// A thread object: Execute runs on its own thread once Start is called.
// Unlike the platform's constructor flag, starting is a separate call so that a derived class
// is fully constructed before its Execute can run. For the same reason a derived class whose
// Execute uses its own members stops the thread in its own destructor (Terminate, then wake
// whatever Execute waits on, then WaitFor): by the time the base destructor runs, those members
// and the override are gone.
class TThread {
public:
    TThread();
    virtual ~TThread();  // terminates and waits when still running
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until Execute has returned. On the main thread it keeps serving the main thread's
    // queue meanwhile, so a Synchronize from this thread cannot deadlock the wait.
    void WaitFor();
    // Best effort: a nice value for the thread; raising may need privileges and is then ignored.
    void SetPriority(TThreadPriority priority);
    // What Execute raised, if anything.
    std::exception_ptr FatalException() const { return fatal_; }

protected:
    virtual void Execute() = 0;

private:
    static void* Run(void* self);
    std::exception_ptr Join();
    void ApplyPriority();

    pthread_t handle_{};
    bool started_ = false;
    bool joined_ = false;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> tid_{0};
    std::atomic<TThreadPriority> priority_{TThreadPriority::tpNormal};
    std::exception_ptr fatal_;
    int finishedFd_ = -1;  // eventfd, readable once Execute has returned
};
