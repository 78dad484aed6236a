#pragma once
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "sim/at_device.h"
#include "sim/event_loop.h"
#include "sim/network.h"
#include "sim/pseudo_terminal.h"

namespace sim {

struct TSimulatorOptions {
    std::string model = "TC35";   // a short name of the model table
    std::string link;             // "com2": publish the port as that link in the port directory
    TDeviceSettings device;       // its profile is taken from `model`
};

enum class TLogDirection { FromClient, ToClient, Event };

// A simulated GSM device on a pseudo-terminal, answering on its own thread from construction
// to destruction. Every public member may be called from any thread.
class TSimulator : private TAtDeviceHost, private TSubscriber {
public:
    using TLogHandler = std::function<void(TLogDirection, std::string_view)>;

    // Raises std::invalid_argument for an unknown model, std::system_error without a pty.
    explicit TSimulator(TSimulatorOptions options, TLogHandler log = nullptr);
    ~TSimulator() override;

    const std::string& Path() const { return path_; }
    const std::string& LinkPath() const { return linkPath_; }
    const TDeviceProfile& Profile() const { return *options_.device.profile; }

    // Network and radio.
    void InjectSms(const std::string& from, const std::string& text, uint8_t dcs = 0);
    void InjectCellBroadcast(uint16_t messageId, const std::string& text);
    void SetRegistration(int status, const std::string& lac = "1A2B", const std::string& cellId = "3C4D");
    void SetSignal(int rssi, int ber = 99);
    // What this simulator sends to the other's number reaches the other, and back.
    void Join(TSimulator& other);

    // Faults.
    void SetSilent(bool silent);                 // reads everything, answers nothing
    void SetDelay(int ms);                       // answers this much later
    void SetSplit(int chunk, int gapMs);         // writes at most chunk bytes, then pauses; 0: off
    void InjectGarbage(const std::string& bytes);   // sent in front of the next answer
    void InjectBytes(const std::string& bytes);     // sent now
    void FailCommand(const std::string& name, const std::string& result, int times = 1);
    void HangUpAfter(int bytes);                 // the next answer stops after that many bytes

    // Observation.
    TSimState SimState();
    bool PoweredOff();
    bool HungUp();
    int UnacknowledgedCount();
    int StoredCount(const std::string& storage);

private:
    // TAtDeviceHost, on the loop thread.
    void Emit(TOutputKind kind, std::string bytes) override;
    void After(int ms, std::function<void()> fn) override;
    void Send(const TSubmit& submit, const TAddress& sender) override;
    // TSubscriber.
    const std::string& Number() const override { return options_.device.ownNumber; }
    void Deliver(const TIncomingSms& sms) override;

    void ReadClient();
    void Pump();
    void HangUpWhenDrained(int checksLeft);
    void Log(TLogDirection direction, std::string_view text);
    void PublishLink();

    using TClock = std::chrono::steady_clock;
    struct TChunk {
        std::string bytes;
        TClock::time_point notBefore;
        bool hangUpAfter = false;
    };

    TSimulatorOptions options_;
    TLogHandler log_;
    TPseudoTerminal pty_;
    std::string path_;
    std::string linkPath_;
    std::unique_ptr<TAtDevice> device_;
    std::shared_ptr<TNetwork> network_;   // replaced by Join; guarded by the loop thread
    // Loop thread only.
    std::deque<TChunk> output_;
    bool pumpScheduled_ = false;
    bool silent_ = false;
    int delayMs_ = 0;
    int splitChunk_ = 0;
    int splitGapMs_ = 0;
    std::string garbage_;
    int hangUpAfter_ = -1;
    bool hangingUp_ = false;
    int lastRate_ = 0;
    TEventLoop loop_;   // last: stopped first
};

}  // namespace sim
