#pragma once
#include "platform/sys/event.h"
#include "platform/sys/thread.h"

class TGSM;

// Hands the processing of received bytes to the main thread, so that every event of the
// engine runs there in byte order. It only waits and hands over; it never processes itself.
class TGSMAsyncThread : public TThread {
public:
    // Created running, one step below normal priority.
    explicit TGSMAsyncThread(TGSM& gsm);
    ~TGSMAsyncThread() override;

    void Wake() { wake_.SetEvent(); }
    void Stop();

protected:
    void Execute() override;

private:
    TGSM& gsm_;
    TEvent wake_;
};
