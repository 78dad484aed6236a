// The main window as a user drives it: clicks and keys, through the real control registered in a
// registry of the test's own, on the simulated modem published as "Com2".
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
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

#include "console/command_line_switches.h"
#include "console/dispatch_call.h"
#include "console/dm_gsm.h"
#include "console/error_box.h"
#include "console/lamp_images.h"
#include "console/pelorin_form.h"
#include "console/qt_text.h"
#include "console/settings_file.h"
#include "console/terminal.h"
#include "console/window_messages.h"
#include "platform/com/strings_interface.h"
#include "sim/simulator.h"
#include "tests/console/registered_control.h"
#include "tests/console/window_test_support.h"

namespace {

constexpr int kDeadlineMs = 10000;
enum { kModemPage, kSMSPage, kSMSLogPage, kModemLogPage };

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

// A second form, created after the main window: the data module's messages reach it after the
// main window has handled them, so it sees each lamp as the main window set it.
class LampRecorder : public TForm {
public:
    explicit LampRecorder(const TPelorinForm& window) : window_(window) {}
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_DEVICE_STATE)
            deviceLamps.push_back(window_.DeviceLamp());

    }
    std::vector<int> deviceLamps;

private:
    const TPelorinForm& window_;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterControlInTemporaryRegistry("/tmp/console-window-XXXXXX", dir_);
        if (HasFatalFailure())
            return;
        previousHandler_ = SetErrorBoxHandler([this](const std::string& text) { errors_.push_back(text); });
        SetProgramArguments(std::vector<std::string>{});
    }
    void TearDown() override
    {
        recorder_.reset();
        window_.reset();
        module_.reset();
        modem_.reset();
        CloseSettingsFile();
        SetErrorBoxHandler(previousHandler_);
        SetProgramArguments(std::vector<std::string>{});
        unsetenv("GATEWAY_REGISTRY");
        unsetenv("GATEWAY_PORT_DIR");
        std::filesystem::remove_all(dir_);
    }

    // The simulated modem on the port directory's link, and what the console wrote to it.
    sim::TSimulator& Modem(const std::string& link = "com2")
    {
        if (!modem_) {
            sim::TSimulatorOptions options;
            options.link = link;
            modem_ = std::make_unique<sim::TSimulator>(options, [this](sim::TLogDirection direction, std::string_view text) {
                if (direction != sim::TLogDirection::FromClient)
                    return;
                std::lock_guard guard(writtenLock_);
                written_ += text;
            });
        }
        return *modem_;
    }
    std::string Written()
    {
        std::lock_guard guard(writtenLock_);
        return written_;
    }

    // The program's start: settings, data module, main window, shown.
    TPelorinForm& Start(const std::string& deviceName = "Com2")
    {
        std::ofstream(dir_ / "pelorin.ini", std::ios::binary)
            << "[Modem]\nDeviceName=" << deviceName << "\nDevice=TC35\n[Modem.Files]\nGSMLog="
            << (dir_ / "gsm.log").string() << "\nSMSLog=" << (dir_ / "sms.log").string() << "\n";
        OpenSettingsFile((dir_ / "pelorin.ini").string());
        module_ = std::make_unique<TGSMDataModule>();
        window_ = std::make_unique<TPelorinForm>(*module_);
        recorder_ = std::make_unique<LampRecorder>(*window_);
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }

    template <class T>
    T* Child(const char* name)
    {
        T* child = window_->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char* name) { QTest::mouseClick(Child<QAbstractButton>(name), Qt::LeftButton); }
    QString CheckedPort()
    {
        for (QRadioButton* item : Child<QGroupBox>("CommRadioGroup")->findChildren<QRadioButton*>())
            if (item->isChecked())
                return item->text();
        return QString();
    }
    int Page() { return Child<QTabWidget>("PageControl1")->currentIndex(); }
    void ShowPage(int page) { Child<QTabWidget>("PageControl1")->setCurrentIndex(page); }

    // Answers the next message box the window opens, as a user would, and keeps its text.
    void AnswerNextBox(QMessageBox::StandardButton answer)
    {
        auto* poll = new QTimer(window_.get());
        QObject::connect(poll, &QTimer::timeout, [this, poll, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxTexts_.push_back(box->text());
            box->button(answer)->click();
            poll->deleteLater();
        });
        poll->start(10);
    }

    void SaveScreenshot(const char* name) { ::SaveScreenshot(*window_, name); }

    std::filesystem::path dir_;
    std::vector<std::string> errors_;
    QStringList boxTexts_;
    TErrorBoxHandler previousHandler_;
    std::unique_ptr<sim::TSimulator> modem_;
    std::unique_ptr<TGSMDataModule> module_;
    std::unique_ptr<TPelorinForm> window_;
    std::unique_ptr<LampRecorder> recorder_;
    std::mutex writtenLock_;
    std::string written_;  // guarded by writtenLock_
};

TEST_F(MainWindow, StartsDisconnectedWithTheSettingsOnTheScreen)
{
    TPelorinForm& window = Start();
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_EQ(window.size(), QSize(TPelorinForm::kClientWidth, TPelorinForm::kClientHeight));
    const std::string longName =
        DispatchCall(CoGlobal::Create().Get(), celvane::kGSMEquipmentLongName, {Variant::I4(eqTC35)}).ToNarrow();
    EXPECT_EQ(window.windowTitle(), ToQString("Pelorin [" + longName + "]"));
    EXPECT_EQ(Child<QComboBox>("ModemComboBox")->currentIndex(), eqTC35);
    EXPECT_EQ(Child<QComboBox>("ModemComboBox")->count(), eqZText + 1);
    EXPECT_EQ(CheckedPort(), "Com2");
    EXPECT_EQ(Page(), kModemPage);
    EXPECT_EQ(window.DeviceLamp(), lcGrey);
    EXPECT_EQ(window.NetRegLamp(), lcGrey);
    EXPECT_EQ(Child<QComboBox>("DCS")->currentText(), "2..SIM");
    EXPECT_TRUE(Child<QGroupBox>("ConfigureGroupbox")->findChild<QComboBox*>("ModemComboBox")->isEnabled());
    for (const char* editor : {"PictureGB", "vCardGB", "MelodyGB", "SEOGB"})
        EXPECT_TRUE(Child<QWidget>(editor)->isHidden()) << editor;
    EXPECT_FALSE(Child<QComboBox>("SMSKind")->isEnabled());
    EXPECT_EQ(Child<QStatusBar>("StatusBar")->currentMessage().left(8), "Pelorin ");
}

TEST_F(MainWindow, OnConnectsOnReconnectsWithTheScreenSettingsOffGreysTheLamp)
{
    Modem();
    TPelorinForm& window = Start();
    Click("SpeedButton3");
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    ASSERT_TRUE(module_->IsActive());
    const std::vector<int>& lamps = recorder_->deviceLamps;
    ASSERT_GE(lamps.size(), 3u);
    EXPECT_EQ(lamps.front(), lcGrey) << "the disconnect that comes first";
    EXPECT_EQ(lamps[1], lcRed) << "connecting";
    EXPECT_EQ(lamps.back(), lcGreen);
    const QString identity = Child<QPlainTextEdit>("ManufacturerId")->toPlainText();
    const TCelvane& control = module_->GSMControl();
    EXPECT_EQ(identity, ToQString(control.ManufacturerId() + "/" + control.ModelId() + "\n" + control.RevisionId() +
                                  "\nS/N: " + control.SerialNumberId()));
    EXPECT_FALSE(identity.isEmpty());
    EXPECT_FALSE(Child<QComboBox>("ModemComboBox")->isEnabled()) << "no configuration while connected";
    EXPECT_EQ(Page(), kModemPage) << "back on the page it started from";
    SaveScreenshot("window_modem_connected");

    // The screen's settings reach the device on the next "On".
    Child<QComboBox>("SMSFormat")->setCurrentIndex(1);
    Child<QCheckBox>("CatchSMSCB")->setChecked(false);
    recorder_->deviceLamps.clear();
    Click("SpeedButton3");
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_TRUE(module_->IsActive());
    EXPECT_EQ(control.SMSFormat(), 1);
    EXPECT_EQ(control.UnsolicitedIndication() & IndicationBit(uindCellBroadcast), 0);
    EXPECT_EQ(lamps.front(), lcGrey);
    EXPECT_EQ(lamps.back(), lcGreen);

    Click("SpeedButton4");
    EXPECT_FALSE(module_->IsActive());
    EXPECT_EQ(window.DeviceLamp(), lcGrey);
    EXPECT_EQ(Child<QPlainTextEdit>("ManufacturerId")->toPlainText(), identity) << "kept after a disconnect";
    EXPECT_TRUE(Child<QComboBox>("ModemComboBox")->isEnabled());
}

TEST_F(MainWindow, SignalQueryShowsDbmOrAQuestionMark)
{
    sim::TSimulator& modem = Modem();
    Start();
    Click("IndNetRegStatus");
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "Device is not active");
    errors_.clear();

    Click("SpeedButton3");
    struct Case {
        int rssi;
        const char* caption;
    };
    for (const Case& c : {Case{15, "-83 dBm"}, Case{0, "-113 dBm"}, Case{31, "-51 dBm"}, Case{99, "?"}}) {
        modem.SetSignal(c.rssi);
        Click("IndNetRegStatus");
        EXPECT_EQ(Child<QToolButton>("IndNetRegStatus")->text(), c.caption) << c.rssi;
    }
    EXPECT_TRUE(errors_.empty()) << errors_[0];
}

TEST_F(MainWindow, RegistrationLampFollowsTheNetwork)
{
    sim::TSimulator& modem = Modem();
    TPelorinForm& window = Start();
    Click("SpeedButton3");
    ASSERT_TRUE(module_->IsActive());
    struct Case {
        int status;
        int lamp;
    };
    for (const Case& c : {Case{2, lcYellow}, Case{1, lcGreen}, Case{5, lcRed}, Case{3, lcRed}, Case{1, lcGreen}}) {
        modem.SetRegistration(c.status);
        EXPECT_TRUE(WaitFor([&] { return window.NetRegLamp() == c.lamp; })) << c.status;
    }
    // The engine reports "not registered" when it closes, and the lamp shows that.
    Click("SpeedButton4");
    EXPECT_TRUE(WaitFor([&] { return window.NetRegLamp() == lcRed; }));
}

TEST_F(MainWindow, SendWhileDisconnectedAsksFirst)
{
    Modem();
    Start();
    ShowPage(kSMSPage);
    AnswerNextBox(QMessageBox::No);
    Click("BitBtn1");
    EXPECT_EQ(boxTexts_, QStringList{"Device not active. Connect?"});
    EXPECT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_FALSE(module_->IsActive());
    EXPECT_EQ(Written(), "") << "nothing reached the modem";
    EXPECT_FALSE(std::filesystem::exists(dir_ / "sms.log"));
    EXPECT_EQ(Page(), kSMSPage);

    AnswerNextBox(QMessageBox::Yes);
    Click("BitBtn1");
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_TRUE(module_->IsActive());
    EXPECT_NE(Written().find("AT+CMGS="), std::string::npos);
    const std::string log = Read(dir_ / "sms.log");
    EXPECT_EQ(log.substr(0, 1), "<");
    EXPECT_NE(log.find(", DA: +491701234567, PID: 00, UD: First Test-Message\r\n"), std::string::npos) << log;
    EXPECT_EQ(Page(), kSMSPage);
}

TEST_F(MainWindow, SendWithoutADeviceShowsTheConnectErrorAndSendsNothing)
{
    Start();   // no modem published as Com2
    ShowPage(kSMSPage);
    AnswerNextBox(QMessageBox::Yes);
    Click("BitBtn1");
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_FALSE(errors_[0].empty());
    EXPECT_FALSE(module_->IsActive());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "sms.log"));
    EXPECT_EQ(Page(), kSMSPage) << "the page comes back after a failure too";
}

TEST_F(MainWindow, LongMessageGoesOutAsItsFirst160Characters)
{
    Modem();
    Start();
    Click("SpeedButton3");
    ShowPage(kSMSPage);
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "0123456789";
    auto* message = Child<QPlainTextEdit>("Message");
    message->setPlainText(ToQString(text));
    Child<QCheckBox>("DeliveryNotification")->setChecked(true);
    Click("BitBtn1");
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    const std::string log = Read(dir_ / "sms.log");
    EXPECT_NE(log.find("UD: " + text.substr(0, 160) + "\r\n"), std::string::npos) << log;
    auto* smsLog = Child<TTerminal>("SMSLog");
    EXPECT_TRUE(WaitFor([&] { return smsLog->toPlainText().contains(ToQString("UD: " + text.substr(0, 160))); }));
    SaveScreenshot("window_sms");
}

TEST_F(MainWindow, TypingIntoTheModemLogWhileDisconnectedTalksToTheModem)
{
    Modem();
    Start();
    ShowPage(kModemLogPage);
    auto* log = Child<TTerminal>("ModemLog");
    log->setFocus();
    QTest::keyClicks(log, "ATI");
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_TRUE(WaitFor([&] { return log->toPlainText().contains("OK"); })) << log->toPlainText().toStdString();
    EXPECT_TRUE(log->toPlainText().startsWith("ATI")) << "the modem's echo, nothing typed locally";
    EXPECT_NE(Written().find("ATI\r"), std::string::npos) << Written();
    EXPECT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_FALSE(module_->IsActive());
    SaveScreenshot("window_modem_log");
}

TEST_F(MainWindow, WithoutAutoShowThePagesStayPut)
{
    sim::TSimulator& modem = Modem();
    Start();
    Child<QCheckBox>("AutoShowModemLog")->setChecked(false);
    int changes = 0;
    QObject::connect(Child<QTabWidget>("PageControl1"), &QTabWidget::currentChanged, [&] { ++changes; });
    Click("SpeedButton3");
    modem.SetSignal(20);
    Click("IndNetRegStatus");
    ShowPage(kSMSPage);
    changes = 0;
    Click("BitBtn1");
    Click("SpeedButton1");
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(errors_.empty()) << errors_[0];
    ShowPage(kModemPage);
    changes = 0;
    Click("SpeedButton4");
    EXPECT_EQ(changes, 0);
}

TEST_F(MainWindow, APortNameOutsideTheItemsSelectsNoneAndStaysInUse)
{
    Modem("com1");
    Start("COM1");   // reaches the same link, but is not the item "Com1"
    EXPECT_EQ(CheckedPort(), "");
    Click("SpeedButton3");
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_TRUE(module_->IsActive());
    EXPECT_EQ(module_->GSMControl().DeviceName(), "COM1");
}

TEST_F(MainWindow, StartSwitchConnectsAtShow)
{
    Modem();
    SetProgramArguments(std::vector<std::string>{"/start"});
    TPelorinForm& window = Start();
    EXPECT_TRUE(module_->IsActive());
    EXPECT_EQ(window.DeviceLamp(), lcGreen);
}

TEST_F(MainWindow, LogCheckBoxesEnableTheirButtonsAndSwitchTheLogsOff)
{
    Modem();
    Start();
    auto* box = Child<QCheckBox>("SMSLOGCheckBox");
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(Child<QPushButton>("SMSLogButton")->isEnabled());
    Click("SMSLOGCheckBox");
    EXPECT_FALSE(Child<QPushButton>("SMSLogButton")->isEnabled());
    Click("GSMLOGCheckBox");
    EXPECT_FALSE(Child<QPushButton>("GSMLogButton")->isEnabled());
    Click("SpeedButton3");
    EXPECT_EQ(module_->SMSLogFileName(), "NUL");
    EXPECT_EQ(module_->GSMLogFileName(), "NUL");
    EXPECT_FALSE(Child<QPushButton>("SMSLogButton")->isEnabled()) << "nothing to configure while connected";
    Click("SpeedButton4");
    Click("SMSLOGCheckBox");
    EXPECT_TRUE(Child<QPushButton>("SMSLogButton")->isEnabled());
    // Switched on again, the log goes to the file it had.
    Click("SpeedButton3");
    EXPECT_EQ(module_->SMSLogFileName(), (dir_ / "sms.log").string());
    EXPECT_EQ(module_->GSMLogFileName(), "NUL");
}

TEST_F(MainWindow, HintsShowTheirLongPartInTheStatusBar)
{
    Start();
    auto* statusBar = Child<QStatusBar>("StatusBar");
    QStatusTipEvent hover(Child<QToolButton>("SpeedButton3")->statusTip());
    QApplication::sendEvent(Child<QToolButton>("SpeedButton3"), &hover);
    EXPECT_EQ(statusBar->currentMessage(), "Login to GSM Network");
    EXPECT_EQ(Child<QToolButton>("SpeedButton3")->toolTip(), "");
    QTest::mouseClick(statusBar, Qt::LeftButton);
    EXPECT_TRUE(statusBar->currentMessage().startsWith("Pelorin "));
}

TEST_F(MainWindow, ScreenshotsOfEveryPage)
{
    sim::TSimulator& modem = Modem();
    Start();
    Child<QCheckBox>("CatchSMSMT")->setChecked(true);
    Click("SpeedButton3");
    modem.SetSignal(15);
    Click("IndNetRegStatus");
    modem.SetRegistration(1);
    modem.InjectSms("+4917011", "Hello from the network");
    EXPECT_TRUE(WaitFor([&] { return Child<TTerminal>("SMSLog")->toPlainText().contains("Hello"); }));
    const char* names[] = {"window_page_modem", "window_page_sms", "window_page_sms_log", "window_page_modem_log"};
    for (int page = kModemPage; page <= kModemLogPage; ++page) {
        ShowPage(page);
        QApplication::processEvents();
        SaveScreenshot(names[page]);
    }
}

}  // namespace
