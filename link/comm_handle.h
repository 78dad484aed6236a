#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/comm_types.h"
#include "link/communication_connection.h"
#include "link/line_settings.h"
#include "link/serial_port.h"
#include "platform/sys/critical_section.h"

class TCommEventThread;
using TCommErrorEvent = std::function<void(TObject* Sender, int Errors)>;

// A serial port as a connection: line settings applied to the open port, reads and writes,
// and an event thread that turns line events into the events below.
//
// Line settings store a new value only when it differs and re-apply at once while open.
// Buffer sizes and MonitorEvents change only while closed ("Connection is active").
//
// Threads: the owner's thread opens, closes and changes settings. Read and Write may be
// called from it and from the event thread; the I/O lock admits one at a time. With
// DontSynchronize set, the events run on the event thread, which reads the event members
// without a lock: assign them while closed, or while DontSynchronize is clear (the main
// thread then runs every event itself).
class TCommHandle : public TCommunicationConnection {
public:
    ~TCommHandle() override;

    TBaudrate Baudrate() const { return settings_.Baudrate; }
    void SetBaudrate(TBaudrate value) { Change(settings_.Baudrate, value); }
    TParity Parity() const { return settings_.Parity; }
    void SetParity(TParity value) { Change(settings_.Parity, value); }
    TStopbits Stopbits() const { return settings_.Stopbits; }
    void SetStopbits(TStopbits value) { Change(settings_.Stopbits, value); }
    TDatabits Databits() const { return settings_.Databits; }
    void SetDatabits(TDatabits value) { Change(settings_.Databits, value); }
    TFlowControl FlowControl() const { return settings_.FlowControl; }
    void SetFlowControl(TFlowControl value) { Change(settings_.FlowControl, value); }
    TCommOptions Options() const { return settings_.Options; }
    void SetOptions(TCommOptions value) { Change(settings_.Options, value); }
    char XonChar() const { return settings_.SpecialChars[kXon]; }
    void SetXonChar(char value) { Change(settings_.SpecialChars[kXon], value); }
    char XoffChar() const { return settings_.SpecialChars[kXoff]; }
    void SetXoffChar(char value) { Change(settings_.SpecialChars[kXoff], value); }
    char ErrorChar() const { return settings_.SpecialChars[kError]; }
    void SetErrorChar(char value) { Change(settings_.SpecialChars[kError], value); }
    char EofChar() const { return settings_.SpecialChars[kEof]; }
    void SetEofChar(char value) { Change(settings_.SpecialChars[kEof], value); }
    char EvtChar() const { return settings_.SpecialChars[kEvt]; }
    void SetEvtChar(char value) { Change(settings_.SpecialChars[kEvt], value); }

    // Milliseconds. A read never waits: it returns what has arrived. A write returns what the
    // driver took within WriteTimeout, 0 when it took nothing.
    int32_t ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int32_t ms) { readTimeout_ = ms; }
    int32_t WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int32_t ms) { writeTimeout_ = ms; }

    int32_t ReadBufSize() const { return settings_.ReadBufSize; }
    void SetReadBufSize(int32_t bytes);
    int32_t WriteBufSize() const { return writeBufSize_; }
    void SetWriteBufSize(int32_t bytes);
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TCommEventTypes events);

    // -1 while closed; reading the count also clears the port's error state.
    int InQueCount() override;
    // Nothing while closed.
    void PurgeIn() override;
    void PurgeOut() override;
    int Write(const char* buffer, int count) override;
    int Read(char* buffer, int count) override;

    TNotifyEvent OnBreak;
    TNotifyEvent OnCts;
    TNotifyEvent OnDsr;
    // Errors: the kCe* flags of line_events.h.
    TCommErrorEvent OnError;
    TNotifyEvent OnRing;
    TNotifyEvent OnRlsd;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnTxEmpty;

protected:
    explicit TCommHandle(TComponent* owner = nullptr);

    // Starts the event thread and configures the port a derived class has opened with
    // SetPort; does nothing while designing.
    void DoOpen() override;
    // Stops the event thread, then closes the port.
    void DoClose() override;
    virtual void ApplySettings();
    virtual void HandleEvents(uint32_t eventMask);

    int Port() const { return port_; }
    void SetPort(int fd) { port_ = fd; }

private:
    friend class TCommEventThread;
    enum SpecialChar { kXon, kXoff, kError, kEof, kEvt };

    template <typename T>
    void Change(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (Active() && port_ >= 0)
            ApplySettings();
    }
    // ClearCommError: the error flags since the last call, and the input queue count.
    int ClearCommError(uint32_t& errors);

    int port_ = -1;
    TCommSettings settings_;
    std::atomic<int32_t> readTimeout_{1000};
    std::atomic<int32_t> writeTimeout_{1000};
    int32_t writeBufSize_ = 2048;
    TCommEventTypes monitorEvents_ = kAllCommEvents;
    TCriticalSection ioLock_;          // one Read, Write or error check at a time
    TLineCounters reportedCounters_;   // guarded by ioLock_: what ClearCommError last reported
    bool countersKnown_ = false;       // guarded by ioLock_
    std::unique_ptr<TCommEventThread> thread_;
};
