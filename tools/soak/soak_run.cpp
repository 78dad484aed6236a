#include "tools/soak/soak_run.h"

#include <chrono>
#include <cstdio>
#include <iterator>

#include "platform/sys/main_thread.h"

namespace {

using TFault = TSoak::TFault;
using TClock = std::chrono::steady_clock;

struct TFaultKind {
    TFault fault;
    const char* name;
    int weight;
};
// Silence and hang-ups cost a quiet line and several time-outs each: rarer.
constexpr TFaultKind kFaults[] = {
    {TFault::Delay, "delay", 6},
    {TFault::Split, "split", 6},
    {TFault::Garbage, "garbage", 6},
    {TFault::RetriedError, "send error, retried", 3},
    {TFault::FinalError, "send error, final", 2},
    {TFault::ReadError, "read error", 3},
    {TFault::DeleteError, "delete error", 3},
    {TFault::Silence, "silence", 1},
    {TFault::HangUp, "hang-up", 1},
};
constexpr int kFaultOneIn = 6;   // messages per fault, on average

// What a noisy line puts in front of an answer: no byte of it forms a result code.
const std::string kGarbage[] = {
    std::string("\x00\xFF\xFE", 3),
    "#~@%&\r\n",
    "\r\n\r\n\r\n",
    "\n",
    "\x1A\x1B",
    "noise without an end",
    "\xA7\xB6\xC3\xD4\r\n",
    "\r\n+ZZZZ: 1,2\r\n",
};

const char* const kSendErrors[] = {"+CMS ERROR: 330", "+CMS ERROR: 500", "ERROR"};

constexpr int kRecTimeoutMs = 2000;
constexpr int kRepeatCount = 2;
constexpr int kMaxDelayMs = kRecTimeoutMs / 4;   // a slow answer, not a missing one
constexpr int kQuietDeadlineMs = 20000;
constexpr int kFinalDeadlineMs = 30000;
// Resident memory may settle a little after warm-up; growth beyond this is a leak.
constexpr int64_t kRssSlackKiB = 4096;
// The sanitizers keep shadow memory and histories that grow with the run: under them the
// resident size says nothing about leaks (AddressSanitizer reports those itself).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kJudgeMemory = false;
#else
constexpr bool kJudgeMemory = true;
#endif

const TStationSettings kStations[] = {
    // Routed deliveries and status reports to the host.
    {"A", "TC35", 11, "1234", "com31", "+491701110001",
     celvane::kIndicationSMSDeliver | celvane::kIndicationSMSStatusReport, kRecTimeoutMs, kRepeatCount},
    // Stored messages, announced by their index.
    {"B", "Nokia6210", 4, "", "com32", "+491702220002",
     celvane::kIndicationSMSDeliver | celvane::kIndicationOnlyIndication, kRecTimeoutMs, kRepeatCount},
};

const char* FaultName(TFault fault)
{
    for (const TFaultKind& kind : kFaults)
        if (kind.fault == fault)
            return kind.name;
    return "none";
}

}  // namespace

TSoak::TSoak(TSoakOptions options) : options_(options), random_(options.seed)
{
    for (int i = 0; i < 2; ++i)
        stations_[i] = std::make_unique<TStation>(kStations[i], i, ledger_);
}

TSoak::~TSoak() = default;

int TSoak::Random(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random_);
}

const char* TSoak::SendError()
{
    return kSendErrors[Random(0, static_cast<int>(std::size(kSendErrors)) - 1)];
}

TFault TSoak::PickFault()
{
    if (Random(1, kFaultOneIn) != 1)
        return TFault::None;
    int total = 0;
    for (const TFaultKind& kind : kFaults)
        total += kind.weight;
    int pick = Random(1, total);
    for (const TFaultKind& kind : kFaults)
        if ((pick -= kind.weight) <= 0)
            return kind.fault;
    return TFault::None;
}

void TSoak::Note(const std::string& text)
{
    if (firstProblem_.empty())
        firstProblem_ = text;
    std::fprintf(stderr, "gwsoak: %s\n", text.c_str());
}

void TSoak::Serve()
{
    while (CheckSynchronize(0)) {
    }
    for (auto& station : stations_)
        station->Collect();
}

bool TSoak::Quiesce(int deadlineMs)
{
    const auto deadline = TClock::now() + std::chrono::milliseconds(deadlineMs);
    while (TClock::now() < deadline) {
        Serve();
        if (ledger_.Outstanding() == 0 && stations_[0]->StatusReports() >= reportsExpected_ &&
            !stations_[0]->HasUncollected() && !stations_[1]->HasUncollected())
            return true;
        CheckSynchronize(20);
    }
    // Indications may have been lost with a fault: what is stored is taken from the list.
    for (auto& station : stations_)
        station->Sweep();
    Serve();
    ++quiesceTimeouts_;
    return ledger_.Outstanding() == 0;
}

void TSoak::Recovered(TStation& station, const char* fault)
{
    std::string error;
    if (station.Probe(error)) {
        ++recoveries_;
        return;
    }
    ++recoveryFailures_;
    Note(std::string("after ") + fault + " on " + station.Settings().name + " the next command failed: " + error);
}

void TSoak::Cycle(int sender, TFault fault)
{
    TStation& from = *stations_[sender];
    TStation& to = *stations_[1 - sender];
    TStation& target = *stations_[Random(0, 1)];   // for faults that may hit either side
    const int id = ledger_.Add(to.Index());
    ++faults_[static_cast<int>(fault)];
    if (options_.verbose && fault != TFault::None)
        std::fprintf(stderr, "gwsoak: message %d: %s\n", id, FaultName(fault));

    bool mayFail = false;
    TStation* probed = &from;
    switch (fault) {
    case TFault::None:
        break;
    case TFault::Delay:
        target.Sim().SetDelay(Random(50, kMaxDelayMs));
        probed = &target;
        break;
    case TFault::Split:
        target.Sim().SetSplit(Random(1, 8), Random(0, 2));
        probed = &target;
        break;
    case TFault::Garbage:
        target.Sim().InjectGarbage(kGarbage[Random(0, static_cast<int>(std::size(kGarbage)) - 1)]);
        probed = &target;
        break;
    case TFault::RetriedError:
        from.Sim().FailCommand("+CMGS", SendError(), kRepeatCount - 1);
        break;
    case TFault::FinalError:
        from.Sim().FailCommand("+CMGS", SendError(), kRepeatCount);
        mayFail = true;
        break;
    case TFault::ReadError:
        to.Sim().FailCommand("+CMGR", "+CMS ERROR: 321", 1);
        probed = &to;
        break;
    case TFault::DeleteError:
        to.Sim().FailCommand("+CMGD", "+CMS ERROR: 321", 1);
        probed = &to;
        break;
    case TFault::Silence: {
        Quiesce(kQuietDeadlineMs);
        from.Sim().SetSilent(true);
        std::string error;
        if (from.Probe(error))
            Note("a silent device answered a command");
        from.Sim().SetSilent(false);
        break;
    }
    case TFault::HangUp:
        Quiesce(kQuietDeadlineMs);
        from.Sim().HangUpAfter(Random(0, 8));
        mayFail = true;
        break;
    }

    std::string error;
    if (from.Send(id, to.Settings().number, sender == 0, error)) {
        ledger_.Sent(id);
        reportsExpected_ += sender == 0;
    } else {
        ledger_.Failed(id);
        if (!mayFail) {
            ++unexpectedFailures_;
            Note("message " + std::to_string(id) + " from " + from.Settings().name + " failed after " +
                 FaultName(fault) + ": " + error);
        }
    }

    if (fault == TFault::HangUp) {
        try {
            from.Reappear(to);
        } catch (const std::exception& e) {
            ++recoveryFailures_;
            Note(std::string("reopening after a hang-up failed: ") + e.what());
            throw;
        }
    }
    Serve();
    if (fault == TFault::Delay)
        target.Sim().SetDelay(0);
    if (fault == TFault::Split)
        target.Sim().SetSplit(0, 0);
    if (fault != TFault::None)
        Recovered(*probed, FaultName(fault));
}

bool TSoak::Run()
{
    const auto start = TClock::now();
    for (auto& station : stations_)
        station->Open();
    stations_[0]->Sim().Join(stations_[1]->Sim());

    const int warmUp = std::max(20, options_.messages / 10);
    const auto sendUntil = start + std::chrono::milliseconds(options_.seconds * 800);
    TProcessFigures warm = TProcessFigures::Now();
    int i = 0;
    for (; i < options_.messages && TClock::now() < sendUntil; ++i) {
        Cycle(i % 2, PickFault());
        if (i + 1 == warmUp) {
            Quiesce(kQuietDeadlineMs);
            warm = TProcessFigures::Now();
        }
        if (options_.messages >= 10 && (i + 1) % (options_.messages / 10) == 0)
            std::fprintf(stderr, "gwsoak: %d messages, %d outstanding, %.0f s\n", i + 1, ledger_.Outstanding(),
                         std::chrono::duration<double>(TClock::now() - start).count());
    }
    const bool stoppedEarly = i < options_.messages;
    Quiesce(kFinalDeadlineMs);
    const TProcessFigures end = TProcessFigures::Now();
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();

    std::string verdict;
    auto fail = [&](const std::string& why) { verdict += (verdict.empty() ? "" : "; ") + why; };
    if (ledger_.Outstanding() > 0)
        fail(std::to_string(ledger_.Outstanding()) + " lost");
    if (ledger_.Duplicates() > 0)
        fail(std::to_string(ledger_.Duplicates()) + " duplicates");
    if (ledger_.Foreign() > 0)
        fail(std::to_string(ledger_.Foreign()) + " garbled or misdelivered");
    if (recoveryFailures_ > 0)
        fail(std::to_string(recoveryFailures_) + " faults not recovered from");
    if (unexpectedFailures_ > 0)
        fail(std::to_string(unexpectedFailures_) + " sends failed without a fault asking for it");
    if (kJudgeMemory && end.residentKiB - warm.residentKiB > kRssSlackKiB)
        fail("resident memory grew by " + std::to_string(end.residentKiB - warm.residentKiB) + " KiB");
    if (end.descriptors != warm.descriptors)
        fail("descriptors went from " + std::to_string(warm.descriptors) + " to " + std::to_string(end.descriptors));
    if (stoppedEarly)
        std::fprintf(stderr, "gwsoak: time limit reached after %d of %d messages\n", i, options_.messages);
    const bool passed = verdict.empty();
    PrintSummary(warm, end, seconds, passed, verdict);
    return passed;
}

void TSoak::PrintSummary(const TProcessFigures& warm, const TProcessFigures& end, double seconds, bool passed,
                         const std::string& verdict)
{
    int faults = 0;
    std::string kinds;
    for (const TFaultKind& kind : kFaults) {
        const int n = faults_[static_cast<int>(kind.fault)];
        faults += n;
        kinds += (kinds.empty() ? "" : ", ") + std::string(kind.name) + " " + std::to_string(n);
    }
    const TStation& a = *stations_[0];
    const TStation& b = *stations_[1];
    std::printf("gwsoak summary (seed %u, %.0f s)\n", options_.seed, seconds);
    std::printf("  messages     %d: sent %d, failed with an error %d (of which the device had sent %d)\n",
                ledger_.Messages(), ledger_.Count(TMessageLedger::TOutcome::Sent),
                ledger_.Count(TMessageLedger::TOutcome::Failed), ledger_.FailedButDelivered());
    std::printf("  faults       %d: %s\n", faults, kinds.c_str());
    std::printf("  recovered    %d of %d faults: the next command worked\n", recoveries_, faults);
    std::printf("  lost         %d\n", ledger_.Outstanding());
    std::printf("  duplicates   %d\n", ledger_.Duplicates());
    std::printf("  garbled      %d\n", ledger_.Foreign());
    std::printf("  reports      %d status reports for %d reported sends\n", a.StatusReports(), reportsExpected_);
    std::printf("  retries      %d reads, %d deletes failed and were tried again; %d quiet waits timed out\n",
                a.FailedReads() + b.FailedReads(), a.FailedDeletes() + b.FailedDeletes(), quiesceTimeouts_);
    std::printf("  peak RSS     %ld KiB (after warm-up %ld KiB, at the end %ld KiB)\n", end.peakKiB,
                warm.residentKiB, end.residentKiB);
    std::printf("  descriptors  %d (after warm-up %d)\n", end.descriptors, warm.descriptors);
    if (passed)
        std::printf("PASS\n");
    else if (firstProblem_.empty())
        std::printf("FAIL: %s\n", verdict.c_str());
    else
        std::printf("FAIL: %s (first: %s)\n", verdict.c_str(), firstProblem_.c_str());
}
