#pragma once
#include <QSocketNotifier>

// Drives the main thread's queue (hand-overs from other threads, timer ticks) from the Qt event
// loop: its wake descriptor sits on a socket notifier. One per program, made on the GUI thread
// after the application object.
class TMainThreadPump {
public:
    TMainThreadPump();

private:
    QSocketNotifier notifier_;
};
