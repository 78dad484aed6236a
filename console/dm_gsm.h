#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "console/celvane_tlb.h"

class TTerminal;

// The console's non-visual core: owns the one control instance, loads and saves its settings,
// connects and disconnects (draining the device's message store), handles the control's events,
// writes the modem log and the SMS log and mirrors them into the window's two terminals, and
// tells the windows about registration, device state and logged messages (NotifyForms).
// GUI thread unless said otherwise.
class TGSMDataModule {
public:
    // Creates the control, binds its events and loads the settings. A failure (the control not
    // installed, an unknown model name in the settings) is shown in the error box and creation
    // goes on with what was done so far.
    TGSMDataModule();
    // Saves the settings, then releases the control.
    ~TGSMDataModule();
    TGSMDataModule(const TGSMDataModule&) = delete;
    TGSMDataModule& operator=(const TGSMDataModule&) = delete;

    void LoadSettings();
    void SaveSettings();

    bool IsActive();
    // Connect (true): save the settings, connect, drain the message store. Disconnect (false).
    void SetActive(bool value);
    void SendSMS(ISMSSubmit* sms);
    // One SMS log line for a received or sent message; other kinds write nothing.
    void LogSMS(ISMS* sms);

    // "NUL" switches a log off; a new name takes effect for the next line written. Any thread.
    void SetGSMLogFileName(const std::string& name);
    void SetSMSLogFileName(const std::string& name);
    std::string GSMLogFileName() const;
    std::string SMSLogFileName() const;

    // The terminals the logs are mirrored into; null for none. The window sets them when it is
    // created and clears them before they are destroyed: raw modem traffic reaches the modem
    // log terminal from the serial port's thread. Any thread.
    void SetModemLogTerminal(TTerminal* terminal);
    void SetSMSLogTerminal(TTerminal* terminal);

    // The control; raises when it could not be created.
    TCelvane& GSMControl();
    bool HasControl() const { return GSMControl_ != nullptr; }

private:
    void DataModule1Create();
    void GSMDataModuleDestroy();

    void HandleReceivedSMS(ISMS* sms);
    // Event handlers. GSMRxChar may run on the serial port's thread (raw typing).
    void GSMRxChar(uint8_t ch);
    void GSMNetworkRegistration(int32_t status);
    void GSMBusyChanged(bool busy);
    void GSMUnsolicitedSMS(int32_t idx, ISMS* sms);
    void LogModemChar(char ch);

    // Raw typing feeds the modem log from the serial port's thread while the GUI thread may
    // change a log's name or a terminal: these fields are guarded by lock_, which is held for
    // whole log writes so records keep their order, and never while the control is called.
    mutable std::recursive_mutex lock_;
    std::string ModemLine;       // guarded by lock_
    std::string gsmLogFileName_;  // guarded by lock_
    std::string smsLogFileName_;  // guarded by lock_
    TTerminal* modemLogTerminal_ = nullptr;  // guarded by lock_
    TTerminal* smsLogTerminal_ = nullptr;    // guarded by lock_

    std::unique_ptr<TCelvane> GSMControl_;
};
