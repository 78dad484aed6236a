#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "codec/gsm_equipment.h"
#include "codec/sms_owner.h"
#include "link/connection.h"
#include "modem/gsm_error.h"
#include "platform/sys/critical_section.h"
#include "platform/sys/event.h"
#include "platform/sys/string_list.h"

class TComm;
class TSMS;
class TSMS2;
class TGSMAsyncThread;
struct ModelRules;

// Completion flags of a transaction, combined into one byte.
enum TSendATCommandWaitFor : uint8_t {
    atrCode = 1,           // a final result line, which must be OK
    atrParams = 2,         // a collected reply line (a final result counts as one)
    atrBothNecessary = 4,  // a final result line, whatever it says
    atrPDU = 8,            // two-phase send: the text after ">" follows the device's prompt
    atrATResponse = 16,    // collect only "<command>: ..." lines, without that prefix
    atrCRLF = 32,          // any CR or LF byte
    atrErrorCode = 64,     // an ERROR result still ends the attempt successfully
};

enum TGSMUnsolicitedIndication : uint8_t {
    uindSMSDeliver = 0,
    uindSMSStatusReport = 1,
    uindCellBroadcast = 2,
    uindOnlyIndication = 3,  // announce messages by storage index instead of routing them
};
// Bit n stands for the indication of ordinal n.
using TGSMUnsolicitedIndications = uint8_t;
constexpr TGSMUnsolicitedIndications Indication(TGSMUnsolicitedIndication member)
{
    return static_cast<TGSMUnsolicitedIndications>(1u << member);
}

enum TSMSFormat : uint8_t { smsfPDU = 0, smsfText = 1 };

using TRxCharEvent = std::function<void(TObject* Sender, char aChar)>;
using TUnsolicitedLineEvent = std::function<void(TObject* Sender, const std::string& aLine)>;
// aSMS belongs to the engine and is freed when the event returns.
using TUnsolicitedSMSEvent = std::function<void(TObject* Sender, int Idx, TSMS* aSMS)>;
using TNetworkRegistrationEvent = std::function<void(TObject* Sender, int aNewStatus)>;
using TBusyChangedEvent = std::function<void(TObject* Sender, bool aBusy)>;

// The modem engine: drives a GSM modem or phone through the serial device in COMDevice.
//
// Threads: host calls and transactions run on the caller's thread (normally the main thread)
// and block it. The serial device's event thread runs the receive handler, which feeds a
// waiting transaction. The background thread hands the processing of received bytes to the
// main thread, where every event of the engine runs.
class TGSM : public TConnection, public TSMSOwner {
public:
    explicit TGSM(TComponent* owner = nullptr);
    ~TGSM() override;

    // --- Transactions -------------------------------------------------------------------
    // Runs one command; returns LastError of the successful attempt (0 after OK). RepCount 0
    // means RepeatCount attempts. Reply lines are appended to Response, never cleared.
    int SendATCommand(const std::string& Cmd, uint8_t WaitFor, int RepCount = 0, TStrings* Response = nullptr);
    // EGSMError "Error was returned: %s" with LastErrorMsg when code is not 0.
    void CheckResult(int code) const;

    void Busy();
    void Unbusy();
    bool IsBusy() const { return busyCount_ != 0; }

    int LastError() const;
    std::string LastErrorMsg() const;
    // The result-code table: name=value lines, names without regard to case.
    TStrings& ErrorCodes() { return errorCodes_; }

    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int value) { repeatCount_ = value; }
    int RecTimeout() const { return recTimeout_; }
    void SetRecTimeout(int value) { recTimeout_ = value; }
    int RepeatTimeout() const { return repeatTimeout_; }
    void SetRepeatTimeout(int value) { repeatTimeout_ = value; }
    bool ExtendedErrorMsg() const { return extendedErrorMsg_; }
    void SetExtendedErrorMsg(bool value) { extendedErrorMsg_ = value; }

    // --- Settings -----------------------------------------------------------------------
    TGSMEquipment Equipment() const { return equipment_; }
    void SetEquipment(TGSMEquipment value);
    uint8_t SMSFormat() const { return smsFormat_; }
    void SetSMSFormat(uint8_t value);
    // Bit 0: PDU mode, bit 1: text mode, as the model supports them.
    uint8_t SupportedSMSFormats() const;
    TGSMUnsolicitedIndications UnsolicitedIndication() const { return unsolicitedIndication_; }
    void SetUnsolicitedIndication(TGSMUnsolicitedIndications value);
    const std::string& PIN() const { return pin_; }
    void SetPIN(const std::string& value);
    std::string SCA() const override { return sca_; }
    void SetSCA(const std::string& value);
    TComm* COMDevice() const { return comDevice_; }
    void SetCOMDevice(TComm* device);
    bool CommandEcho() const { return commandEcho_; }
    void SetCommandEcho(bool value);
    // The preferred message storage with its double quotes, such as "\"SM\"".
    const std::string& Mem1() const { return mem1_; }
    void SetMem1(const std::string& value);
    // The last reported registration state; 0 while closed.
    int NetworkRegistration() const { return networkRegistration_; }

    void SetDefaults();
    void SwitchOff();

    std::string ManufacturerId() { return Identity("AT+CGMI"); }
    std::string ModelId() { return Identity("AT+CGMM"); }
    std::string RevisionId() { return Identity("AT+CGMR"); }
    std::string SerialNumberId() { return Identity("AT+CGSN"); }

    bool PDUHasSCA() const override;

    // --- Message store ------------------------------------------------------------------
    // An SMS-SUBMIT or SMS-COMMAND; the reference the device reports, or -1.
    int SendSMS(const TSMS2& message);
    // The stored message, or none for a reply of another shape; Stat gets its status.
    std::unique_ptr<TSMS2> ReadSMS(int Index, int& Stat);
    void DeleteSMS(int Index);
    // One "index=status" entry per stored message, each carrying its message (owned by the
    // list) or none; Stat -1 lists without a status filter.
    std::unique_ptr<TStringList> GetSMSList(int Stat);

    // --- Receive path -------------------------------------------------------------------
    // Reports received bytes and dispatches complete lines; main thread only.
    void ProcessReceived();

    TRxCharEvent OnRxChar;
    TUnsolicitedLineEvent OnUnsolicitedLine;
    TUnsolicitedSMSEvent OnUnsolicitedSMS;
    TNetworkRegistrationEvent OnNetworkRegistration;
    TBusyChangedEvent OnBusyChanged;

protected:
    void DoOpen() override;
    void DoClose() override;

    virtual void DoRxChar(char aChar);
    virtual void HandleUnsolicitedLine(const std::string& line);
    virtual void DoUnsolicitedLine(const std::string& line);
    virtual void DoUnsolicitedSMS(int index, TSMS* message);
    virtual void DoNetworkRegistration(int status);
    virtual void DoBusyChanged(bool busy);
    // The length argument of a PDU-mode send.
    virtual int GetSubmitLength(const TSMS2& message);
    // The wanted indications the device does not allow.
    virtual TGSMUnsolicitedIndications SetupIndications(TGSMUnsolicitedIndications wanted);

    // Borrow the serial device (its received-data event, its open state) and give it back.
    void Attach();
    void Detach(bool restoreHandler);
    // What the receive handler does with the bytes it has read, on whatever thread it runs.
    void ReceiveChunk(const std::string& chunk);

private:
    friend class TGSMAsyncThread;

    const ModelRules& Rules() const;

    // Transaction steps.
    bool RunAttempt(const std::string& cmd, uint8_t waitFor, bool& cancelled);
    void EndTransaction();
    bool WaitForReply(uint32_t timeoutMs);
    void RecogniseReply(const std::string& chunk);
    void ClassifyLine(const std::string& line);
    bool FinalResultOK() const;

    // Receive path.
    void ReceiveHandler(int count);
    void ReportReceived();
    void HandleRoutedHeader(const std::string& line);
    void HandleRoutedBody(const std::string& line);
    void AcknowledgeMessage();
    std::string Extract(int from, int to);
    char RxByte(int position);
    int RxLength();

    // Lifecycle.
    void RunOpenSequence();
    void EnterPin(const ModelRules& rules);
    void WaitForWind4();
    std::string Identity(const std::string& command);
    bool OnMainThread() const;

    // Settings.
    TGSMEquipment equipment_ = eqM1;
    std::string pin_;
    std::string sca_;
    uint8_t smsFormat_ = smsfPDU;
    TComm* comDevice_ = nullptr;
    int networkRegistration_ = 0;  // main thread
    int repeatCount_ = 5;
    int recTimeout_ = 6000;
    int repeatTimeout_ = 500;
    bool extendedErrorMsg_ = false;
    TStringList errorCodes_;
    TGSMUnsolicitedIndications unsolicitedIndication_ = 0;
    std::string mem1_ = "\"SM\"";
    int csmsService_ = 0;
    bool commandEcho_ = true;
    TStringList identityCache_;

    // Transaction state shared with the receive side. The waiting thread sets it up and reads
    // it; the event thread's reply recognition writes it. replyLock_ makes each side's access
    // whole; ReplyEvent orders them.
    mutable std::mutex replyLock_;
    int lastError_ = 0;                  // guarded by replyLock_
    std::string lastErrorMsg_;           // guarded by replyLock_
    std::string commandName_;            // guarded by replyLock_
    TStrings* responseList_ = nullptr;   // guarded by replyLock_
    uint32_t lastActivity_ = 0;          // guarded by replyLock_
    std::string lineBuffer_;             // guarded by replyLock_
    uint8_t receivedFlags_ = 0;          // guarded by replyLock_
    std::atomic<uint8_t> waitFlags_{0};  // written by the waiting thread, read by both
    std::atomic<bool> lineIncomplete_{false};  // written by the event thread
    std::atomic<bool> wind4Seen_{false};       // +WIND: 4 arrived since the PIN was entered
    TEvent replyEvent_;
    int busyCount_ = 0;

    // Receive path.
    TCriticalSection rxLock_;
    std::string rxLog_;   // guarded by rxLock_
    std::atomic<int> rxPos_{0};  // main thread writes; the event thread only compares
    std::unique_ptr<TSMS> pendingSMS_;   // main thread
    int bodyLength_ = 0;                 // main thread
    int bodyStart_ = 0;                  // main thread
    bool processing_ = false;            // main thread: a pass is cutting lines

    // The serial device's state before the engine attached.
    std::function<void(TObject*, int)> savedRxChar_;
    bool savedActive_ = false;
    bool savedDontSynchronize_ = false;

    std::unique_ptr<TGSMAsyncThread> asyncThread_;
};
