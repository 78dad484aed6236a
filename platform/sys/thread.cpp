#include "platform/sys/thread.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/main_thread.h"

namespace {

int NiceValue(TThreadPriority priority)
{
    switch (priority) {
    case TThreadPriority::tpLower:
        return 1;
    case TThreadPriority::tpHigher:
        return -1;
    case TThreadPriority::tpNormal:
        break;
    }
    return 0;
}

}  // namespace

TThread::TThread() : finishedFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TThread::~TThread()
{
    if (started_) {
        Terminate();
        Join();
    }
    close(finishedFd_);
}

void TThread::Start()
{
    if (started_)
        return;
    const int error = pthread_create(&handle_, nullptr, &TThread::Run, this);
    if (error != 0)
        throw Exception(Format("Thread creation error: %s", strerror(error)));
    started_ = true;
}

void* TThread::Run(void* self)
{
    auto* thread = static_cast<TThread*>(self);
    thread->tid_ = static_cast<int>(syscall(SYS_gettid));
    thread->ApplyPriority();
    try {
        thread->Execute();
    } catch (...) {
        thread->fatal_ = std::current_exception();
    }
    thread->finished_ = true;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(thread->finishedFd_, &one, sizeof one);
    return nullptr;
}

void TThread::WaitFor()
{
    if (const std::exception_ptr error = Join())
        std::rethrow_exception(error);
}

std::exception_ptr TThread::Join()
{
    if (!started_ || joined_)
        return nullptr;
    std::exception_ptr firstError;
    if (IsMainThread()) {
        // Keep serving the main thread's queue: the thread may be blocked in Synchronize.
        pollfd fds[2] = {{finishedFd_, POLLIN, 0}, {SynchronizeWakeFd(), POLLIN, 0}};
        while (!finished_) {
            if (poll(fds, 2, -1) < 0 && errno != EINTR)
                break;
            if (fds[1].revents & POLLIN) {
                try {
                    CheckSynchronize();
                } catch (...) {
                    // A queued item's failure belongs to the host loop; hand the first one
                    // back once the thread is joined.
                    if (!firstError)
                        firstError = std::current_exception();
                }
            }
        }
    }
    pthread_join(handle_, nullptr);
    joined_ = true;
    return firstError;
}

void TThread::SetPriority(TThreadPriority priority)
{
    priority_ = priority;
    if (tid_ != 0)
        ApplyPriority();
}

void TThread::ApplyPriority()
{
    // Relative to the process: a lower priority is a higher nice value. Raising above the
    // process needs privileges; without them the call fails and the thread stays as it is.
    const int base = getpriority(PRIO_PROCESS, 0);
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid_.load()), base + NiceValue(priority_));
}
