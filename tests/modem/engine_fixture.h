#pragma once
#include <functional>
#include <string>
#include <vector>

#include "link/comm.h"
#include "modem/gsm.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/tick_count.h"

// An engine that can borrow its serial device without running an open sequence, and feed the
// receive path directly, for tests of single transactions and of line handling.
class TTestGSM : public TGSM {
public:
    using TGSM::Attach;
    using TGSM::Detach;
    using TGSM::ReceiveChunk;
};

// Serves the main thread's queue until pred holds or the deadline passes.
inline bool ServeUntil(const std::function<bool()>& pred, uint32_t deadlineMs = 5000)
{
    const uint32_t start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > deadlineMs)
            return false;
        CheckSynchronize(5);
    }
    return true;
}

// What the engine reports, in order, with the thread each report ran on.
struct TEngineRecorder {
    std::string rxChars;
    std::vector<std::string> lines;
    std::vector<std::string> sms;  // "index" or "index:kind"
    std::vector<int> registrations;
    std::vector<bool> busy;
    bool allOnMainThread = true;

    void Watch(TGSM& gsm)
    {
        gsm.OnRxChar = [this](TObject*, char c) {
            Check();
            rxChars += c;
        };
        gsm.OnUnsolicitedLine = [this](TObject*, const std::string& line) {
            Check();
            lines.push_back(line);
        };
        gsm.OnUnsolicitedSMS = [this](TObject*, int index, TSMS* message) {
            Check();
            sms.push_back(std::to_string(index) + (message ? ":message" : ""));
        };
        gsm.OnNetworkRegistration = [this](TObject*, int status) {
            Check();
            registrations.push_back(status);
        };
        gsm.OnBusyChanged = [this](TObject*, bool on) { busy.push_back(on); };
    }
    void Check() { allOnMainThread = allOnMainThread && IsMainThread(); }
};

// Short waits for tests; the engine's own pauses stay as they are.
inline void UseTestTimeouts(TGSM& gsm)
{
    gsm.SetRecTimeout(400);
    gsm.SetRepeatTimeout(10);
    gsm.SetRepeatCount(2);
}
