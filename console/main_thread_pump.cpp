#include "console/main_thread_pump.h"

#include "console/error_box.h"
#include "platform/sys/main_thread.h"

TMainThreadPump::TMainThreadPump() : notifier_(SynchronizeWakeFd(), QSocketNotifier::Read)
{
    QObject::connect(&notifier_, &QSocketNotifier::activated, [] {
        // A queued item that fails has nobody waiting for it: the user sees it, the loop goes on.
        RunGuarded([] { CheckSynchronize(); });
    });
}
