#pragma once
#include <atomic>
#include <cstdint>

#include "link/comm_types.h"
#include "link/serial_port.h"
#include "platform/sys/thread.h"

class TCommHandle;

// How often the modem status lines and the error counters are read, where the driver has
// them. Pseudo-terminals have neither: there the thread sleeps until bytes arrive or it is
// woken.
constexpr int kLineCheckPeriodMs = 100;

// Waits for line events of one open port and hands them to the owner's HandleEvents: on this
// thread when the owner's DontSynchronize is set, otherwise on the main thread through
// Synchronize.
//
// A received-bytes event is an edge: the descriptor is watched edge-triggered, so bytes that
// the owner leaves unread raise no further event until more arrive, and nothing spins. The
// event character cannot be seen without consuming the bytes, so evRxFlag is never reported.
//
// A stop request cannot be lost: the terminate flag is set before the wake-up descriptor is
// signalled, the descriptor stays readable until the thread has drained it after a wait, and
// the flag is checked after every wait. Bytes are read and written by the owner's own calls,
// never by an operation left outstanding, so nothing completes into memory after a stop or a
// time-out.
class TCommEventThread final : public TThread {
public:
    // Starts at once, one priority step above normal.
    TCommEventThread(TCommHandle* owner, int port, TCommEventTypes events);
    ~TCommEventThread() override;

    // Ends the loop and waits until it has; on the main thread the wait keeps serving
    // Synchronize, so a dispatch in progress completes.
    void Stop();
    // The owner has queued output: report the queue running empty.
    void OutputQueued();

protected:
    void Execute() override;

private:
    uint32_t LineChanges();
    void Wake();
    void Dispatch(uint32_t mask);

    const int port_;  // not owned; closed only after this thread has ended
    const uint32_t eventMask_;
    TCommHandle* const owner_;
    const int wakeFd_;  // eventfd: the wake-up event
    const int epollFd_;
    std::atomic<bool> outputPending_{false};
    // Thread's own, from the last check.
    bool watchLines_ = false;
    bool watchCounters_ = false;
    int lines_ = 0;
    TLineCounters counters_;
};
