#pragma once
#include <functional>

// The main thread is the thread that loaded the platform library (normally the program's
// first thread). Other threads hand work to it through its queue, which any host loop drains
// with CheckSynchronize(): the console hangs SynchronizeWakeFd() on a socket notifier, tests
// and command-line hosts call CheckSynchronize() in their waits.

bool IsMainThread();

// Runs fn on the main thread and blocks until it has run; on the main thread it runs at once.
// An exception fn raises is re-raised in the calling thread.
void Synchronize(std::function<void()> fn);

// Queues fn for the main thread without waiting for it.
void QueueOnMainThread(std::function<void()> fn);

// Runs everything queued for the main thread; waits up to timeoutMs for the first item when
// the queue is empty. Returns true when something ran. Main thread only.
bool CheckSynchronize(int timeoutMs = 0);

// Readable while work is queued for the main thread.
int SynchronizeWakeFd();
