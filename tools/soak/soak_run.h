#pragma once
#include <array>
#include <memory>
#include <random>
#include <string>

#include "tools/soak/message_ledger.h"
#include "tools/soak/process_figures.h"
#include "tools/soak/station.h"

struct TSoakOptions {
    int messages = 2000;
    int seconds = 3600;        // no new message is sent after 80 % of this
    unsigned seed = 1;
    bool verbose = false;      // one line per fault
};

// Two controls on two joined simulated modems send each other soak messages, one routed to
// its host and one storing them, while faults are injected at random; then the summary.
class TSoak {
public:
    explicit TSoak(TSoakOptions options);
    ~TSoak();
    // Runs and prints the summary; true when nothing was lost, duplicated or garbled, every
    // fault was followed by a working command and memory and descriptors stayed flat.
    bool Run();

    enum class TFault { None, Delay, Split, Garbage, RetriedError, FinalError, ReadError, DeleteError, Silence, HangUp };

private:
    void Cycle(int sender, TFault fault);
    TFault PickFault();
    int Random(int low, int high);   // low..high inclusive
    const char* SendError();         // a final result a device gives a refused send
    // Serves the main thread's queue and collects what arrived, without waiting.
    void Serve();
    // Waits until every sent message has arrived and every report is in; false at the deadline,
    // after sweeping the stores once more.
    bool Quiesce(int deadlineMs);
    void Recovered(TStation& station, const char* fault);
    void Note(const std::string& text);
    void PrintSummary(const TProcessFigures& warm, const TProcessFigures& end, double seconds, bool passed,
                      const std::string& verdict);

    TSoakOptions options_;
    std::mt19937 random_;
    TMessageLedger ledger_;
    std::array<std::unique_ptr<TStation>, 2> stations_;
    int faults_[static_cast<int>(TFault::HangUp) + 1] = {};
    int reportsExpected_ = 0;
    int recoveries_ = 0;
    int recoveryFailures_ = 0;
    int unexpectedFailures_ = 0;   // a send failed where no fault asked for it
    int quiesceTimeouts_ = 0;
    std::string firstProblem_;
};
