#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sim/at_command_line.h"
#include "sim/device_profile.h"
#include "sim/message_store.h"
#include "sim/tpdu.h"

namespace sim {

enum class TOutputKind { Echo, Reply, Unsolicited };

// What the device needs from its surroundings; every call happens on the device's own thread.
class TAtDeviceHost {
public:
    virtual ~TAtDeviceHost() = default;
    virtual void Emit(TOutputKind kind, std::string bytes) = 0;
    // Runs fn after ms milliseconds, on the device's thread.
    virtual void After(int ms, std::function<void()> fn) = 0;
    // A message the device has sent; the network delivers it.
    virtual void Send(const TSubmit& submit, const TAddress& sender) = 0;
};

struct TDeviceSettings {
    const TDeviceProfile* profile = nullptr;
    std::string pin;                  // empty: the SIM asks for no PIN
    std::string puk = "12345678";
    std::string ownNumber = "+491701234567";
    std::string serviceCentre = "+491710760000";
    std::string imei = "490154203237518";
    std::string imsi = "262019876543210";
    bool listAllByDefault = false;    // +CMGL without a status lists every message
    int simCapacity = 20;
    int phoneCapacity = 50;
    int broadcastCapacity = 10;
    int readyDelayMs = 200;           // from the PIN entry to +WIND: 4
    int reportDelayMs = 100;          // from the send to the status report
    int ackTimeoutMs = 15000;         // an unacknowledged routed message after this turns routing off
};

// A message arriving from the network for this device.
struct TIncomingSms {
    TAddress originator;
    uint8_t flags = 0;   // kUdhi, kReplyPath, kStatusReportFlag of the delivery
    uint8_t pid = 0;
    uint8_t dcs = 0;
    TUserData ud;
};

enum class TSimState { Ready, SimPin, SimPuk, Blocked };

// The AT side of a GSM device: takes the bytes a terminal writes and answers like the device
// of its profile would. It owns no thread and no descriptor; the host carries the bytes.
class TAtDevice {
public:
    TAtDevice(TDeviceSettings settings, TAtDeviceHost& host);

    void Receive(std::string_view bytes);

    // From the network and the radio side.
    void ReceiveSms(const TIncomingSms& sms);
    void ReceiveCellBroadcast(const std::string& page);
    void SetRegistration(int status, const std::string& lac, const std::string& cellId);
    void SetSignal(int rssi, int ber);
    // The next `times` executions of the command answer with `result` ("ERROR",
    // "+CMS ERROR: 330") instead of running.
    void FailCommand(const std::string& name, const std::string& result, int times);

    const TDeviceSettings& Settings() const { return settings_; }
    TSimState SimState() const { return simState_; }
    bool PoweredOff() const { return poweredOff_; }
    int UnacknowledgedCount() const { return static_cast<int>(unacknowledged_.size()); }
    TMessageStore* Store(const std::string& name);

private:
    struct TFinal {
        enum Kind { Ok, Error, Cme, Cms, Prompt, Text, Silent } kind = Ok;
        int code = 0;
        std::string text;   // Kind Text: a final result line chosen by a fault
        TFinal() = default;
        TFinal(Kind k, int c = 0, std::string t = {}) : kind(k), code(c), text(std::move(t)) {}
    };
    using TLines = std::vector<std::string>;
    using THandler = TFinal (TAtDevice::*)(const TAtCommand&, TLines&);
    struct THandlerEntry {
        const char* name;
        THandler handler;
        bool needsSim;       // refused until the SIM is unlocked
        bool smsCommand;     // reports failures as +CMS ERROR
    };
    static const THandlerEntry kHandlers[];

    struct TPendingSend {
        bool command = false;   // +CMGC
        int length = 0;
        TAddress destination;   // text mode
        int firstOctet = 0;     // text-mode +CMGC
        int commandType = 0;
        std::string body;
    };

    void ReceiveCommandByte(char c);
    void ReceivePromptByte(char c);
    void ExecuteLine(const std::string& line);
    TFinal Execute(const TAtCommand& command, TLines& lines);
    void FinishSend();
    TFinal SendPdu(const std::string& hex, int& reference);
    TFinal SendText(int& reference);
    int Dispatch(const TSubmit& submit);   // hands the message to the network; its reference
    int TakeReference();
    void Output(TOutputKind kind, std::string bytes);
    void FlushEcho();
    void EmitLines(const TLines& lines);
    void EmitFinal(const TFinal& final);
    void Unsolicited(std::string text);
    void FlushUnsolicited();
    void ReportStatus(const TStatusReport& report);
    void StoreIncoming(TStoredMessage message, bool announce);
    void RouteDeliver(const std::string& tpdu);
    void ExpectAcknowledgement(const std::string& tpdu);
    void SimBecameReady();
    TFinal CmeError(int code) const;

    std::string PduWithServiceCentre(const TStoredMessage& message) const;
    std::string StorageIndication(const TMessageStore& store, int index) const;
    void ListEntry(TMessageStore& store, int index, TLines& lines, bool header);
    TMessageStore* Mem(int which);

    TFinal Basic(const TAtCommand&, TLines&);
    TFinal Identity(const TAtCommand&, TLines&);
    TFinal SerialNumber(const TAtCommand&, TLines&);
    TFinal Imsi(const TAtCommand&, TLines&);
    TFinal Pin(const TAtCommand&, TLines&);
    TFinal Registration(const TAtCommand&, TLines&);
    TFinal SignalQuality(const TAtCommand&, TLines&);
    TFinal PreferredStorage(const TAtCommand&, TLines&);
    TFinal MessageService(const TAtCommand&, TLines&);
    TFinal ServiceCentre(const TAtCommand&, TLines&);
    TFinal MessageFormat(const TAtCommand&, TLines&);
    TFinal ShowTextParameters(const TAtCommand&, TLines&);
    TFinal ErrorReporting(const TAtCommand&, TLines&);
    TFinal Indications(const TAtCommand&, TLines&);
    TFinal SendMessage(const TAtCommand&, TLines&);
    TFinal ReadMessage(const TAtCommand&, TLines&);
    TFinal ListMessages(const TAtCommand&, TLines&);
    TFinal DeleteMessage(const TAtCommand&, TLines&);
    TFinal TextParameters(const TAtCommand&, TLines&);
    TFinal Acknowledge(const TAtCommand&, TLines&);
    TFinal Wind(const TAtCommand&, TLines&);
    TFinal SwitchOff(const TAtCommand&, TLines&);
    TFinal Functionality(const TAtCommand&, TLines&);
    TFinal CharacterSet(const TAtCommand&, TLines&);
    TFinal OwnNumber(const TAtCommand&, TLines&);
    TFinal Operator(const TAtCommand&, TLines&);
    TFinal ActivityStatus(const TAtCommand&, TLines&);

    TDeviceSettings settings_;
    const TDeviceProfile& profile_;
    TAtDeviceHost& host_;

    // Command interpreter.
    std::string line_;
    std::string echoPending_;   // echo of the bytes of the current Receive, sent in one piece
    bool prompt_ = false;
    bool executing_ = false;    // a command line runs: indications wait for its result
    TPendingSend pending_;
    bool echo_ = true;
    bool verbose_ = true;
    bool quiet_ = false;
    int cmee_ = 0;
    bool poweredOff_ = false;
    std::map<std::string, std::pair<std::string, int>> failures_;   // name -> result, times

    // SIM.
    TSimState simState_;
    int pinAttempts_ = 3;
    int pukAttempts_ = 10;

    // Network side.
    int cregMode_ = 0;
    int registration_ = 1;
    std::string lac_ = "1A2B";
    std::string cellId_ = "3C4D";
    int rssi_ = 21;
    int ber_ = 99;
    int windMask_ = 0;

    // Message service.
    int format_;
    bool showText_ = false;
    int service_ = 0;
    int cnmi_[5] = {0, 0, 0, 0, 0};
    std::vector<std::string> buffered_;   // indications held while +CNMI mode is 0
    std::deque<std::string> deferred_;    // indications held while a send prompt is open
    TAddress serviceCentre_;
    int smp_[4] = {17, 167, 0, 0};        // fo, vp, pid, dcs of text-mode sends
    std::string charset_ = "GSM";
    int nextReference_ = 0;
    std::map<std::string, TMessageStore> stores_;
    std::string mem_[3] = {"SM", "SM", "SM"};
    std::deque<TStoredMessage> waiting_;  // deliveries the full storage could not take yet
    std::map<int, std::string> unacknowledged_;   // routed and not yet acknowledged, by sequence
    int ackSequence_ = 0;
};

}  // namespace sim
