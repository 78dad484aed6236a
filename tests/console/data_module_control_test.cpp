// The data module through the real control, registered in a registry of the test's own and
// driving the simulated modem published as "Com2".
#include <QTest>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "console/celvane_tlb.h"
#include "console/date_time_text.h"
#include "console/dispatch_call.h"
#include "console/dm_gsm.h"
#include "console/error_box.h"
#include "console/form.h"
#include "console/program_dir.h"
#include "console/qt_text.h"
#include "console/settings_file.h"
#include "console/terminal.h"
#include "console/window_messages.h"
#include "platform/com/strings_interface.h"
#include "sim/simulator.h"
#include "tests/console/registered_control.h"
#include "tests/sim/pty_client.h"

namespace {

constexpr int kDeadlineMs = 5000;

bool WaitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, kDeadlineMs);
}

std::string Read(const std::filesystem::path& path)
{
    std::stringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Records every message the data module sends the windows.
class RecordingForm : public TForm {
public:
    void WndProc(TMessage& message) override
    {
        messages.push_back({message.Msg, message.WParam});
        if (message.Msg == WM_SMS_LOGGED)
            loggedUD.push_back(DispatchGet(reinterpret_cast<ISMS*>(message.LParam), celvane::kUD).ToNarrow());
    }
    std::vector<intptr_t> Of(uint32_t msg) const
    {
        std::vector<intptr_t> values;
        for (const auto& [m, w] : messages)
            if (m == msg)
                values.push_back(w);
        return values;
    }

    std::vector<std::pair<uint32_t, intptr_t>> messages;
    std::vector<std::string> loggedUD;
};

class DataModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterControlInTemporaryRegistry("/tmp/console-dm-XXXXXX", dir_);
        if (HasFatalFailure())
            return;
        previousHandler_ = SetErrorBoxHandler([this](const std::string& text) { errors_.push_back(text); });
    }
    void TearDown() override
    {
        CloseSettingsFile();
        SetErrorBoxHandler(previousHandler_);
        unsetenv("GATEWAY_REGISTRY");
        unsetenv("GATEWAY_PORT_DIR");
        std::filesystem::remove_all(dir_);
    }

    void Settings(const std::string& text)
    {
        settingsPath_ = dir_ / "pelorin.ini";
        std::ofstream(settingsPath_, std::ios::binary) << text;
        OpenSettingsFile(settingsPath_.string());
    }
    // A device on Com2 with its logs in the test's directory.
    void DeviceSettings(const std::string& more = "", const std::string& model = "TC35")
    {
        Settings("[Modem]\nDeviceName=Com2\nDevice=" + model + "\n" + more + "[Modem.Files]\nGSMLog=" +
                 (dir_ / "gsm.log").string() + "\nSMSLog=" + (dir_ / "sms.log").string() + "\n");
    }
    sim::TSimulator& Simulator(const std::string& model = "TC35")
    {
        if (!sim_) {
            sim::TSimulatorOptions options;
            options.model = model;
            options.link = "com2";
            sim_ = std::make_unique<sim::TSimulator>(options, [this](sim::TLogDirection direction, std::string_view text) {
                if (direction != sim::TLogDirection::FromClient)
                    return;
                std::lock_guard guard(written_lock_);
                written_ += text;
            });
        }
        return *sim_;
    }
    std::string Written()
    {
        std::lock_guard guard(written_lock_);
        return written_;
    }

    std::filesystem::path dir_;
    std::filesystem::path settingsPath_;
    std::vector<std::string> errors_;
    TErrorBoxHandler previousHandler_;
    std::unique_ptr<sim::TSimulator> sim_;
    std::mutex written_lock_;
    std::string written_;  // guarded by written_lock_
};

TEST_F(DataModule, WithoutASettingsFileTheControlKeepsItsDefaults)
{
    TCelvane fresh;
    Settings("");
    TGSMDataModule module;
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    TCelvane& control = module.GSMControl();
    EXPECT_EQ(control.DeviceName(), fresh.DeviceName());
    EXPECT_EQ(control.Equipment(), fresh.Equipment());
    EXPECT_EQ(control.PIN(), fresh.PIN());
    EXPECT_EQ(control.SCA(), fresh.SCA());
    EXPECT_EQ(control.UnsolicitedIndication(), fresh.UnsolicitedIndication());
    EXPECT_EQ(control.RecTimeout(), fresh.RecTimeout());
    EXPECT_EQ(control.SMSFormat(), 0);
    EXPECT_EQ(module.GSMLogFileName(), ProgramDir() + "gsm.log");
    EXPECT_EQ(module.SMSLogFileName(), ProgramDir() + "sms.log");
}

// The rate a model's defaults give, and the rate value for a number.
int32_t DefaultRate(int32_t equipment)
{
    TCelvane control;
    control.SetEquipment(equipment);
    control.SetDefaults();
    return control.BaudRate();
}
int32_t RateFor(int32_t bitsPerSecond)
{
    Variant rate = Variant::I4(0);
    EXPECT_TRUE(DispatchCall(CoGlobal::Create().Get(), celvane::kInt2BaudRate,
                             {Variant::I4(bitsPerSecond), OutArgument(rate)})
                    .ToBool());
    return rate.ToInt();
}

TEST_F(DataModule, SettingsReachTheControl)
{
    Settings("[Modem]\nDevice=m20\nPIN=1234\nSCA=+4917\nUnsolicitedIndication=5\nSMSFormat=1\n"
             "RecTimeout=250\nBaud=115200\n[Modem.Files]\nGSMLog=NUL\nSMSLog=/x/sms.log\n");
    TGSMDataModule module;
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    TCelvane& control = module.GSMControl();
    EXPECT_EQ(control.Equipment(), eqM20);
    EXPECT_EQ(control.PIN(), "1234");
    EXPECT_EQ(control.SCA(), "+4917");
    EXPECT_EQ(control.UnsolicitedIndication(), 5);
    EXPECT_EQ(control.SMSFormat(), 1);
    EXPECT_EQ(control.RecTimeout(), 250);
    EXPECT_EQ(control.BaudRate(), RateFor(115200));
    EXPECT_NE(DefaultRate(eqM20), RateFor(115200)) << "the override must be visible";
    EXPECT_EQ(module.GSMLogFileName(), "NUL");
    EXPECT_EQ(module.SMSLogFileName(), "/x/sms.log");
}

TEST_F(DataModule, RatesAndTimeOutsThatDoNotCountKeepTheControlsValues)
{
    const int32_t recTimeout = TCelvane().RecTimeout();
    for (const char* entries : {"Baud=12345\nRecTimeout=0\n", "Baud=x\nRecTimeout=-5\n"}) {
        SCOPED_TRACE(entries);
        Settings(std::string("[Modem]\nDevice=M20\n") + entries);
        TGSMDataModule module;
        EXPECT_EQ(module.GSMControl().BaudRate(), DefaultRate(eqM20));
        EXPECT_EQ(module.GSMControl().RecTimeout(), recTimeout);
    }
}

TEST_F(DataModule, AnUnknownModelNameStopsLoadingTheSettings)
{
    TCelvane fresh;
    Settings("[Modem]\nDevice=NoSuchPhone\nPIN=1234\nSMSFormat=1\nRecTimeout=250\n");
    TGSMDataModule module;
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "Bad equipment name");
    TCelvane& control = module.GSMControl();
    EXPECT_EQ(control.PIN(), fresh.PIN());
    EXPECT_EQ(control.SMSFormat(), fresh.SMSFormat());
    EXPECT_EQ(control.RecTimeout(), fresh.RecTimeout());
    EXPECT_EQ(module.GSMLogFileName(), "");
    EXPECT_EQ(module.SMSLogFileName(), "");
}

TEST_F(DataModule, SavingKeepsTheFileAndNeverWritesTheRateOrTheTimeOut)
{
    Settings("; mine\n[Modem]\nDevice=m20\nPIN=1234\nUnsolicitedIndication=5\n\n[Window]\nLeft=10\n");
    {
        TGSMDataModule module;
        module.GSMControl().SetUnsolicitedIndication(0x1F);
        module.SetSMSLogFileName("NUL");
    }
    CloseSettingsFile();
    const std::string saved = Read(settingsPath_);
    EXPECT_EQ(saved.find("RecTimeout"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Baud"), std::string::npos) << saved;
    EXPECT_NE(saved.find("; mine\n[Modem]\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Device=M20\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("UnsolicitedIndication=15\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\n[Window]\nLeft=10\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Modem.Files]\nGSMLog=" + ProgramDir() + "gsm.log\nSMSLog=NUL\n"), std::string::npos)
        << saved;
}

// A model whose store is listed with the status "all messages", read ones included.
TEST_F(DataModule, ConnectDrainsTheStoreAndLogsTheUnreadMessages)
{
    sim::TSimulator& modem = Simulator("M20");
    modem.InjectSms("+4917011", "Hi\r\n");
    modem.InjectSms("+4917022", "read before");
    modem.InjectSms("+4917033", "third");
    ASSERT_TRUE(WaitFor([&] { return modem.StoredCount("SM") == 3; }));
    {
        // Reading the second one marks it read.
        TPtyClient client(modem.Path());
        client.Write("AT+CMGR=2\r");
        ASSERT_NE(client.ReadUntil([](const std::string& s) { return s.find("OK\r\n") != std::string::npos; })
                      .find("OK"),
                  std::string::npos);
    }
    DeviceSettings("", "M20");
    RecordingForm form;
    TGSMDataModule module;
    ASSERT_TRUE(errors_.empty()) << errors_[0];

    module.SetActive(true);
    EXPECT_TRUE(module.IsActive());
    EXPECT_EQ(modem.StoredCount("SM"), 0);
    const std::string written = Written();
    const size_t first = written.find("AT+CMGD=1\r"), second = written.find("AT+CMGD=2\r"),
                 third = written.find("AT+CMGD=3\r");
    ASSERT_NE(third, std::string::npos) << written;
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);

    EXPECT_EQ(form.loggedUD, (std::vector<std::string>{"Hi\r\n", "third"}));
    const std::vector<std::string> log = Lines(Read(dir_ / "sms.log"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].front(), '>');
    EXPECT_NE(log[0].find(", OA: +4917011, PID: 00, UD: Hi<CR><LF>\r"), std::string::npos) << log[0];
    EXPECT_NE(log[1].find(", OA: +4917033, PID: 00, UD: third\r"), std::string::npos) << log[1];

    const std::vector<intptr_t> connecting = form.Of(WM_DEVICE_STATE);
    ASSERT_GE(connecting.size(), 2u);
    EXPECT_EQ(connecting.front(), kDeviceBusy);
    EXPECT_EQ(connecting.back(), kDeviceConnected);
    for (size_t i = 1; i + 1 < connecting.size(); ++i)
        EXPECT_TRUE(connecting[i] == kDeviceBusy || connecting[i] == kDeviceIdle) << connecting[i];
    EXPECT_NE(std::count(connecting.begin(), connecting.end(), kDeviceIdle), 0) << "busy changes reach the windows";

    module.SetActive(false);
    EXPECT_FALSE(module.IsActive());
    EXPECT_EQ(form.Of(WM_DEVICE_STATE).back(), kDeviceDisconnected);
}

TEST_F(DataModule, AnAnnouncedMessageIsLoggedAndDeleted)
{
    sim::TSimulator& modem = Simulator();
    DeviceSettings("UnsolicitedIndication=9\n");  // messages, announced by index only
    RecordingForm form;
    TGSMDataModule module;
    module.SetActive(true);
    modem.InjectSms("+4917044", "announced");
    ASSERT_TRUE(WaitFor([&] { return form.loggedUD.size() == 1; }));
    EXPECT_EQ(form.loggedUD[0], "announced");
    EXPECT_TRUE(WaitFor([&] { return modem.StoredCount("SM") == 0; }));
    modem.SetRegistration(2);
    EXPECT_TRUE(WaitFor([&] {
        const auto statuses = form.Of(WM_NETWORK_REGISTRATION);
        return !statuses.empty() && statuses.back() == 2;
    }));
    module.SetActive(false);
}

TEST_F(DataModule, SentAndReportMessagesHaveTheirOwnLines)
{
    DeviceSettings();
    TGSMDataModule module;
    ComPtr<ISMSSubmit> sent = CoSMSSubmit::Create();
    DispatchPut(sent.Get(), celvane::kSubmitDA, Variant::Narrow("+4917055"));
    DispatchPut(sent.Get(), celvane::kUD, Variant::Narrow("A\r\t"));
    module.LogSMS(sent.Get());

    // Status report: reference 1 for +31641600986, delivered (status 0) at 2002-08-26 19:37:41.
    const Variant created = DispatchCall(CoGlobal::Create().Get(), 7 /* ISMS2_CreateSMS */,
                                         {Variant::Dispatch(nullptr),
                                          Variant::Narrow("0006010B911346610089F620806291731408208062917314" "0800"),
                                          Variant::Bool(true)});
    ASSERT_EQ(created.vt, VT_DISPATCH);
    ComPtr<ISMS> report;
    ASSERT_EQ(created.pdispVal->QueryInterface(IID_PPV_ARGS(report.Out())), S_OK);
    module.LogSMS(report.Get());

    const std::vector<std::string> log = Lines(Read(dir_ / "sms.log"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].front(), '<');
    EXPECT_NE(log[0].find(", DA: +4917055, PID: 00, UD: 410D09\r"), std::string::npos) << log[0];
    const std::string dt = DateTimeToStr(EncodeDate(2002, 8, 26) + EncodeTime(19, 37, 41, 0));
    EXPECT_EQ(log[1].front(), '!');
    EXPECT_NE(log[1].find(", OA: +31641600986, Status: 0, DT: " + dt + "\r"), std::string::npos) << log[1];
}

TEST_F(DataModule, RawTypingFillsTheModemLogByLine)
{
    Simulator();
    DeviceSettings();
    TGSMDataModule module;
    TTerminal terminal;
    module.SetModemLogTerminal(&terminal);
    const std::filesystem::path gsmLog = dir_ / "gsm.log";

    module.GSMControl().SendChar("AT\r");
    ASSERT_TRUE(WaitFor([&] { return Read(gsmLog).ends_with(": OK\r\n"); })) << Read(gsmLog);
    const std::vector<std::string> records = Lines(Read(gsmLog));
    ASSERT_FALSE(records.empty());
    // Each record: the time, ": ", the line with its own line end, nothing else.
    const std::string& last = records.back();
    EXPECT_EQ(last.substr(last.size() - 5), ": OK\r");
    EXPECT_EQ(last.substr(0, last.size() - 5).find('\r'), std::string::npos);

    // Without a line feed nothing is written, though the terminal shows it.
    const std::string before = Read(gsmLog);
    module.GSMControl().SendChar("ATI");
    ASSERT_TRUE(WaitFor([&] { return FromQString(terminal.toPlainText()).ends_with("ATI"); }));
    EXPECT_EQ(Read(gsmLog), before);

    module.SetModemLogTerminal(nullptr);
}

TEST_F(DataModule, NulKeepsTheModemLogOffTheFileSystem)
{
    Simulator();
    Settings("[Modem]\nDeviceName=Com2\nDevice=TC35\n[Modem.Files]\nGSMLog=NUL\nSMSLog=NUL\n");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    {
        TGSMDataModule module;
        TTerminal terminal;
        module.SetModemLogTerminal(&terminal);
        module.GSMControl().SendChar("AT\r");
        EXPECT_TRUE(WaitFor([&] { return FromQString(terminal.toPlainText()).find("OK") != std::string::npos; }));
        module.SetModemLogTerminal(nullptr);
        module.SetActive(false);
    }
    std::filesystem::current_path(cwd);
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_TRUE(entry.path().filename() == "registry" || entry.path().filename() == "ports" ||
                    entry.path().filename() == "pelorin.ini" || entry.path().filename().string().starts_with("registry"))
            << entry.path();
}

}  // namespace
