#include "console/dm_gsm.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "console/append_to_file.h"
#include "console/date_time_text.h"
#include "console/dispatch_call.h"
#include "console/error_box.h"
#include "console/program_dir.h"
#include "console/render_ud.h"
#include "console/settings_file.h"
#include "console/terminal.h"
#include "console/window_messages.h"
#include "platform/com/ole_error.h"
#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"
#include "platform/sys/string_list.h"

namespace {

constexpr const char* kModem = "Modem";
constexpr const char* kModemFiles = "Modem.Files";

// Message list statuses the drain asks for: the models below number the "all messages" status
// 4; every other model takes -1.
constexpr int32_t kListAllByNumber = 4;
constexpr int32_t kListAllOtherModels = -1;
constexpr TGSMEquipment kModelsListingByNumber[] = {eqM20, eqNokia9110, eqWaveCom, eqFasttrack};

// A stored message's status: received and not read yet.
constexpr int32_t kStatusReceivedUnread = 0;
constexpr int32_t kNoIndex = -1;
constexpr int32_t kSavedIndicationMask = 0xFF;
constexpr char kLineFeed = 10;

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

int32_t DrainStatus(int32_t equipment)
{
    const bool byNumber = std::find(std::begin(kModelsListingByNumber), std::end(kModelsListingByNumber),
                                    equipment) != std::end(kModelsListingByNumber);
    return byNumber ? kListAllByNumber : kListAllOtherModels;
}

std::string ShortName(IGlobal* global, int32_t equipment)
{
    return DispatchCall(global, celvane::kGSMEquipmentShortName, {Variant::I4(equipment)}).ToNarrow();
}

template <class I>
ComPtr<I> As(ISMS* sms)
{
    ComPtr<I> kind;
    sms->QueryInterface(IID_PPV_ARGS(kind.Out()));
    return kind;
}

// The SMS log line of a message, or empty for a kind that is not logged.
std::string SMSLogLine(ISMS* sms)
{
    if (ComPtr<ISMSDeliver> deliver = As<ISMSDeliver>(sms)) {
        return Format(">%s, OA: %s, PID: %.2X, UD: %s%s",
                      DateTimeToStr(DispatchGet(deliver.Get(), celvane::kDeliverSCTS).ToDate()).c_str(),
                      DispatchGet(deliver.Get(), celvane::kDeliverOA).ToNarrow().c_str(),
                      DispatchGet(deliver.Get(), celvane::kDeliverPID).ToInt(), "",
                      RenderUD(DispatchGet(deliver.Get(), celvane::kUD).ToNarrow()).c_str());
    }
    if (ComPtr<ISMSSubmit> submit = As<ISMSSubmit>(sms)) {
        return Format("<%s, DA: %s, PID: %.2X, UD: %s%s", DateTimeToStr(Now()).c_str(),
                      DispatchGet(submit.Get(), celvane::kSubmitDA).ToNarrow().c_str(),
                      DispatchGet(submit.Get(), celvane::kSubmitPID).ToInt(), "",
                      RenderUD(DispatchGet(submit.Get(), celvane::kUD).ToNarrow()).c_str());
    }
    if (ComPtr<ISMSStatusReport> report = As<ISMSStatusReport>(sms)) {
        return Format("!%s, OA: %s, Status: %d, DT: %s", DateTimeToStr(Now()).c_str(),
                      DispatchGet(report.Get(), celvane::kReportOA).ToNarrow().c_str(),
                      DispatchGet(report.Get(), celvane::kReportStatus).ToInt(),
                      DateTimeToStr(DispatchGet(report.Get(), celvane::kReportDT).ToDate()).c_str());
    }
    return {};
}

}  // namespace

TGSMDataModule::TGSMDataModule()
{
    RunGuarded([this] { DataModule1Create(); });
}

TGSMDataModule::~TGSMDataModule()
{
    RunGuarded([this] { GSMDataModuleDestroy(); });
}

void TGSMDataModule::DataModule1Create()
{
    GSMControl_ = std::make_unique<TCelvane>();
    GSMControl_->OnRxChar = [this](TCelvane&, uint8_t ch) { GSMRxChar(ch); };
    GSMControl_->OnNetworkRegistration = [this](TCelvane&, int32_t status) { GSMNetworkRegistration(status); };
    GSMControl_->OnBusyChanged = [this](TCelvane&, bool busy) { GSMBusyChanged(busy); };
    GSMControl_->OnUnsolicitedSMS = [this](TCelvane&, int32_t idx, ISMS* sms) { GSMUnsolicitedSMS(idx, sms); };
    {
        std::lock_guard guard(lock_);
        ModemLine.clear();
    }
    LoadSettings();
}

void TGSMDataModule::GSMDataModuleDestroy()
{
    // Without a control there is nothing to save, and the file keeps what it had.
    if (GSMControl_)
        SaveSettings();
}

TCelvane& TGSMDataModule::GSMControl()
{
    if (!GSMControl_)
        throw Exception("The Celvane control is not available");
    return *GSMControl_;
}

void TGSMDataModule::LoadSettings()
{
    TCelvane& control = GSMControl();
    TBufferedIniFile& settings = SettingsFile();
    const ComPtr<IGlobal> global = CoGlobal::Create();

    control.SetDeviceName(settings.ReadString(kModem, "DeviceName", control.DeviceName()));
    const std::string model = settings.ReadString(kModem, "Device", ShortName(global.Get(), control.Equipment()));
    control.SetEquipment(
        DispatchCall(global.Get(), celvane::kStr2GMSEquipment, {Variant::Narrow(UpperCase(model))}).ToInt());
    control.SetPIN(settings.ReadString(kModem, "PIN", control.PIN()));
    control.SetSCA(settings.ReadString(kModem, "SCA", control.SCA()));
    control.SetUnsolicitedIndication(
        settings.ReadInteger(kModem, "UnsolicitedIndication", control.UnsolicitedIndication()));
    control.SetSMSFormat(settings.ReadInteger(kModem, "SMSFormat", 0));
    control.SetDefaults();
    if (const int recTimeout = settings.ReadInteger(kModem, "RecTimeout", 0); recTimeout > 0)
        control.SetRecTimeout(recTimeout);
    // After SetDefaults, so that a valid rate overrides the model's own.
    Variant rate = Variant::I4(0);
    const int baud = settings.ReadInteger(kModem, "Baud", 0);
    if (DispatchCall(global.Get(), celvane::kInt2BaudRate, {Variant::I4(baud), OutArgument(rate)}).ToBool())
        control.SetBaudRate(rate.ToInt());
    SetGSMLogFileName(settings.ReadString(kModemFiles, "GSMLog", ProgramDir() + "gsm.log"));
    SetSMSLogFileName(settings.ReadString(kModemFiles, "SMSLog", ProgramDir() + "sms.log"));
}

void TGSMDataModule::SaveSettings()
{
    TCelvane& control = GSMControl();
    TBufferedIniFile& settings = SettingsFile();
    const ComPtr<IGlobal> global = CoGlobal::Create();

    settings.WriteString(kModem, "DeviceName", control.DeviceName());
    settings.WriteString(kModem, "Device", ShortName(global.Get(), control.Equipment()));
    settings.WriteString(kModem, "PIN", control.PIN());
    settings.WriteString(kModem, "SCA", control.SCA());
    settings.WriteInteger(kModem, "SMSFormat", control.SMSFormat());
    settings.WriteInteger(kModem, "UnsolicitedIndication", control.UnsolicitedIndication() & kSavedIndicationMask);
    settings.WriteString(kModemFiles, "GSMLog", GSMLogFileName());
    settings.WriteString(kModemFiles, "SMSLog", SMSLogFileName());
}

bool TGSMDataModule::IsActive()
{
    return GSMControl().Active();
}

void TGSMDataModule::SetActive(bool value)
{
    TCelvane& control = GSMControl();
    if (!value) {
        control.SetActive(false);
        NotifyForms(WM_DEVICE_STATE, kDeviceDisconnected, 0);
        return;
    }
    SaveSettings();
    NotifyForms(WM_DEVICE_STATE, kDeviceBusy, 0);
    control.SetActive(true);

    // Drain the store: unread messages reach the SMS log, every message is deleted.
    const ComPtr<IStrings2> list = control.GetSMSList(DrainStatus(control.Equipment()));
    if (list) {
        TStringList lines;
        int32_t count = 0;
        OleCheck(list->Count(&count));
        for (int32_t i = 0; i < count; ++i) {
            Bstr line;
            OleCheck(list->get_Item(i, line.Out()));
            lines.Add(line.Narrow());
        }
        for (int i = 0; i < lines.Count(); ++i) {
            const int32_t index = StrToInt(lines.Names(i));
            const int32_t status = StrToInt(lines.ValueFromIndex(i));
            if (status == kStatusReceivedUnread) {
                Variant object;
                OleCheck(list->get_Objects(i, &object));
                ComPtr<ISMS> sms;
                if (object.vt == VT_DISPATCH && object.pdispVal)
                    object.pdispVal->QueryInterface(IID_PPV_ARGS(sms.Out()));
                if (sms)
                    HandleReceivedSMS(sms.Get());
            }
            control.DeleteSMS(index);
        }
    }
    NotifyForms(WM_DEVICE_STATE, kDeviceConnected, 0);
}

void TGSMDataModule::SendSMS(ISMSSubmit* sms)
{
    ComPtr<ISMS2> message;
    OleCheck(sms->QueryInterface(IID_PPV_ARGS(message.Out())));
    GSMControl().SendSMS(message.Get());
}

void TGSMDataModule::LogSMS(ISMS* sms)
{
    const std::string line = SMSLogLine(sms);
    if (line.empty())
        return;
    std::lock_guard guard(lock_);
    if (smsLogTerminal_)
        smsLogTerminal_->AddLine(line);
    AppendToFile(smsLogFileName_, line + "\r\n");
}

void TGSMDataModule::HandleReceivedSMS(ISMS* sms)
{
    LogSMS(sms);
    NotifyForms(WM_SMS_LOGGED, 0, reinterpret_cast<intptr_t>(sms));
}

void TGSMDataModule::GSMRxChar(uint8_t ch)
{
    {
        std::lock_guard guard(lock_);
        if (modemLogTerminal_)
            modemLogTerminal_->AddText(std::string(1, static_cast<char>(ch)));
    }
    LogModemChar(static_cast<char>(ch));
}

void TGSMDataModule::LogModemChar(char ch)
{
    std::lock_guard guard(lock_);
    ModemLine += ch;
    if (ch != kLineFeed)
        return;
    // Cleared first: a line that cannot be written is lost, not glued to the next one.
    const std::string record = Format("%s: %s", DateTimeToStr(Now()).c_str(), ModemLine.c_str());
    ModemLine.clear();
    AppendToFile(gsmLogFileName_, record);
}

void TGSMDataModule::GSMNetworkRegistration(int32_t status)
{
    NotifyForms(WM_NETWORK_REGISTRATION, status, 0);
}

void TGSMDataModule::GSMBusyChanged(bool busy)
{
    NotifyForms(WM_DEVICE_STATE, busy ? kDeviceBusy : kDeviceIdle, 0);
}

void TGSMDataModule::GSMUnsolicitedSMS(int32_t idx, ISMS* sms)
{
    TCelvane& control = GSMControl();
    if (sms) {
        HandleReceivedSMS(sms);
        if (idx != kNoIndex)
            control.DeleteSMS(idx);
        return;
    }
    // Only the index was announced: the stored message is deleted even when reading or logging
    // it fails, or it would be announced again and again.
    try {
        int32_t status = 0;
        const ComPtr<ISMS> message = control.ReadSMS(idx, status);
        if (status == kStatusReceivedUnread && message)
            HandleReceivedSMS(message.Get());
    } catch (...) {
        control.DeleteSMS(idx);
        throw;
    }
    control.DeleteSMS(idx);
}

void TGSMDataModule::SetGSMLogFileName(const std::string& name)
{
    std::lock_guard guard(lock_);
    gsmLogFileName_ = name;
}

void TGSMDataModule::SetSMSLogFileName(const std::string& name)
{
    std::lock_guard guard(lock_);
    smsLogFileName_ = name;
}

std::string TGSMDataModule::GSMLogFileName() const
{
    std::lock_guard guard(lock_);
    return gsmLogFileName_;
}

std::string TGSMDataModule::SMSLogFileName() const
{
    std::lock_guard guard(lock_);
    return smsLogFileName_;
}

void TGSMDataModule::SetModemLogTerminal(TTerminal* terminal)
{
    std::lock_guard guard(lock_);
    modemLogTerminal_ = terminal;
}

void TGSMDataModule::SetSMSLogTerminal(TTerminal* terminal)
{
    std::lock_guard guard(lock_);
    smsLogTerminal_ = terminal;
}
