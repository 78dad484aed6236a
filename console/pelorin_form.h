#pragma once
#include <QWidget>
#include <array>
#include <string>
#include <utility>

#include "console/dm_gsm.h"
#include "console/form.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class TMelodyEditor;
class TPictureEditor;
class TTerminal;

// The console's only window: configure the device, connect and disconnect, watch the
// registration and device lamps, query the signal, send a text message, watch the modem
// traffic and type raw commands into it, read the message log.
class TPelorinForm : public TForm {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 551;
    static constexpr int kClientHeight = 636;

    explicit TPelorinForm(TGSMDataModule& dataModule, QWidget* parent = nullptr);
    ~TPelorinForm() override;

    // The colour base GlyphIndex is asked for, lit, on each lamp.
    int NetRegLamp() const { return netRegLamp_; }
    int DeviceLamp() const { return deviceLamp_; }

    // The data module's messages: registration and device state.
    void WndProc(TMessage& message) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Handlers.
    void FormShow();
    void SpeedButton3Click(int tag);
    void SpeedButton1Click();
    void IndNetRegStatusClick();
    void ModemLogKeyPress(const QString& key);
    void BitBtn1Click();
    void SMSLOGCheckBoxClick();
    void GSMLOGCheckBoxClick();
    void SMSLogButtonClick();
    void GSMLogButtonClick();
    void StatusBarClick();
    void SMSKindChange();
    void ShowLongHint(const QString& hint);
    void WMNetworkRegistration(int status);
    void WMDeviceState(int code);

    // Own operations.
    void CheckDeviceActive();
    void SendText(const QString& destination, const QString& text, bool statusReportRequest, int dataCodingScheme,
                  bool userDataHeader, bool raw, bool unicode);
    void ShowModemLog();
    void RestorePage();
    void SettingsToControls();
    void ControlsToSettings();
    void UpdateSMSKind();
    void UpdateCaption();
    void SetLamp(QToolButton* lamp, int& shown, int colour);
    // Runs a device operation with the modem log shown, and shows the page before afterwards.
    template <class Operation>
    void WithModemLogShown(Operation&& operation);
    TCelvane& Control() const { return dataModule_.GSMControl(); }
    std::string LongModelName(int equipment) const;
    // The indication check boxes with their bits, in the order they are added up.
    std::array<std::pair<QCheckBox*, int>, 4> IndicationBoxes() const;
    std::array<QWidget*, 4> Editors() const;

    QWidget* CreateModemPage();
    QWidget* CreateSMSPage();
    QWidget* CreateLogPage(TTerminal*& terminal, const char* name);

    TGSMDataModule& dataModule_;
    ComPtr<IGlobal> global_;

    QTabWidget* pageControl_;
    // "Modem"
    QToolButton* indNetRegStatus_;
    QCheckBox* autoShowModemLog_;
    QPlainTextEdit* manufacturerId_;
    QGroupBox* configureGroupbox_;
    QCheckBox* smsLogCheckBox_;
    QPushButton* smsLogButton_;
    QCheckBox* gsmLogCheckBox_;
    QPushButton* gsmLogButton_;
    QButtonGroup* commRadioGroup_;
    QComboBox* modemComboBox_;
    QComboBox* smsFormat_;
    QLineEdit* pinEdit_;
    QLineEdit* scaEdit_;
    QCheckBox* catchSMSMT_;
    QCheckBox* catchSMSCB_;
    QCheckBox* catchSMSDS_;
    QCheckBox* onlyIndication_;
    // "SMS"
    QLineEdit* da_;
    QComboBox* smsKind_;
    QComboBox* smsKind2_;
    QPlainTextEdit* message_;
    TPictureEditor* pictureGB_;
    QGroupBox* vCardGB_;
    TMelodyEditor* melodyGB_;
    QGroupBox* seoGB_;
    QComboBox* dcs_;
    QCheckBox* deliveryNotification_;
    // Logs
    TTerminal* smsLog_;
    TTerminal* modemLog_;
    // Bottom bar
    QStatusBar* statusBar_;
    QToolButton* semafor_;
    QFileDialog* smsLogSaveDialog_;
    QFileDialog* gsmLogSaveDialog_;

    int netRegLamp_ = 0;
    int deviceLamp_ = 0;
    int savedPage_ = 0;
    int lastKind_;
    int lastKind2_;
    int updating_ = 0;
    bool shown_ = false;
};
