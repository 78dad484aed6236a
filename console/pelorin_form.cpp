#include "console/pelorin_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "console/command_line_switches.h"
#include "console/dispatch_call.h"
#include "console/error_box.h"
#include "console/hints.h"
#include "console/lamp_images.h"
#include "console/melody_editor.h"
#include "console/picture_editor.h"
#include "console/program_dir.h"
#include "console/qt_text.h"
#include "console/seo_editor.h"
#include "console/terminal.h"
#include "console/vcard_editor.h"
#include "console/window_messages.h"
#include "platform/com/bstr.h"
#include "platform/com/ole_error.h"
#include "platform/com/strings_adapter.h"
#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"
#include "platform/sys/string_list.h"

namespace {

enum { kModemPage, kSMSPage, kSMSLogPage, kModemLogPage };
enum { kOffTag, kOnTag };
enum { kTextKind, kSmartMessageKind, kEMSKind, kSEOKind };
constexpr int kNoIndex = -2;   // no combo box index, not even "none selected"

// The message kinds and the types each offers.
const std::array<QStringList, 4> kSMSKindTypes = {{
    {""},
    {"Picture", "vCard", "Logo", "CLI", "Melody"},
    {"Picture (small)", "Picture (large)", "Picture (variable)", "Animation (small)", "Animation (large)", "Melody"},
    {"Bitmap", "MIDI sound"},
}};

// The data coding scheme's message class group with the default alphabet: the class follows.
constexpr int kDCSClassGroup = 0xF0;
constexpr int kDCSSIM = 2;
constexpr int kMaxDefaultAlphabetChars = 160;
constexpr int kMaxUnicodeChars = 70;

// Completion flags of a command: its result code, the code's parameters, the response line.
enum : uint8_t { atrCode = 1, atrParams = 2, atrATResponse = 16 };
constexpr uint8_t kSignalQueryWaitFor = atrCode | atrParams | atrATResponse;
constexpr int kRSSIUnknown = 99;

// Registration status to lamp colour; every status not listed is red, roaming included.
struct TRegistrationLamp {
    int status;
    int colour;
};
constexpr TRegistrationLamp kRegistrationLamps[] = {
    {1, lcGreen},    // registered, home network
    {2, lcYellow},   // searching
};

int RegistrationColour(int status)
{
    for (const TRegistrationLamp& lamp : kRegistrationLamps)
        if (lamp.status == status)
            return lamp.colour;
    return lcRed;
}

constexpr int kLogLines = 30;
const std::string kNoLogFile = "NUL";   // the log file name that switches a log off

// A log that is on but has no file chosen yet goes beside the program, where it starts out.
std::string LogFileName(const QCheckBox* box, const QFileDialog* dialog, const char* defaultName)
{
    if (!box->isChecked())
        return kNoLogFile;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty() || QFileInfo(chosen.first()).isDir())
        return ProgramDir() + defaultName;
    return FromQString(chosen.first());
}

const char* const kPortItems[] = {"Com1", "Com2", "Com3", "Com4"};
// The simulated modem's own number: a message sent there comes back.
const char* const kPresetDestination = "+491701234567";
const char* const kVersionHint = "Pelorin 1.0, a console for the Celvane GSM control|";
const char* const kForumAddress = "the issue tracker of the project's repository";

QLabel* Label(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

QToolButton* SpeedButton(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SetHint(button, hint);
    return button;
}

QPlainTextEdit* BorderlessText(const char* name, QWidget* parent)
{
    auto* text = new QPlainTextEdit(parent);
    text->setObjectName(name);
    text->setReadOnly(true);
    text->setFrameShape(QFrame::NoFrame);
    text->setFocusPolicy(Qt::NoFocus);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->viewport()->setAutoFillBackground(false);
    return text;
}

QFileDialog* LogSaveDialog(const char* name, const QString& title, QWidget* parent)
{
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(name);
    dialog->setAcceptMode(QFileDialog::AcceptSave);   // asks before overwriting
    dialog->setDefaultSuffix("log");
    dialog->setNameFilters({QObject::tr("Log Files (*.log)"), QObject::tr("All Files (*)")});
    return dialog;
}

}  // namespace

QWidget* TPelorinForm::CreateModemPage()
{
    auto* page = new QWidget;
    page->setObjectName("ModemPage");

    auto* network = new QGroupBox(tr("GSM Network"), page);
    indNetRegStatus_ = SpeedButton("IndNetRegStatus", QString(), tr("|GSM network registration status"), network);
    indNetRegStatus_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    indNetRegStatus_->setMinimumWidth(90);
    auto* on = SpeedButton("SpeedButton3", tr("On"), tr("|Login to GSM Network"), network);
    auto* off = SpeedButton("SpeedButton4", tr("Off"), tr("|Logout from GSM Network"), network);
    auto* switchOff = SpeedButton("SpeedButton1", tr("Switch off"), tr("|Logout from GSM Network"), network);
    for (QToolButton* button : {on, off, switchOff})
        button->setAutoRaise(false);
    auto* networkLayout = new QGridLayout(network);
    networkLayout->addWidget(indNetRegStatus_, 0, 0, 1, 3, Qt::AlignHCenter);
    networkLayout->addWidget(on, 1, 0);
    networkLayout->addWidget(off, 1, 1);
    networkLayout->addWidget(switchOff, 1, 2);
    connect(on, &QToolButton::clicked, this, [this] { RunGuarded([&] { SpeedButton3Click(1); }); });
    connect(off, &QToolButton::clicked, this, [this] { RunGuarded([&] { SpeedButton3Click(0); }); });
    connect(switchOff, &QToolButton::clicked, this, [this] { RunGuarded([&] { SpeedButton1Click(); }); });
    connect(indNetRegStatus_, &QToolButton::clicked, this, [this] { RunGuarded([&] { IndNetRegStatusClick(); }); });

    autoShowModemLog_ = new QCheckBox(tr("Autoshow modem log"), page);
    autoShowModemLog_->setObjectName("AutoShowModemLog");
    autoShowModemLog_->setChecked(true);
    manufacturerId_ = BorderlessText("ManufacturerId", page);
    manufacturerId_->setFixedHeight(4 * fontMetrics().lineSpacing() + 12);

    configureGroupbox_ = new QGroupBox(tr("Configuration"), page);
    configureGroupbox_->setObjectName("ConfigureGroupbox");
    QGroupBox* config = configureGroupbox_;
    smsLogCheckBox_ = new QCheckBox(tr("SMS Logfile"), config);
    smsLogCheckBox_->setObjectName("SMSLOGCheckBox");
    smsLogButton_ = new QPushButton(tr("..."), config);
    smsLogButton_->setObjectName("SMSLogButton");
    gsmLogCheckBox_ = new QCheckBox(tr("GSM-AT Logfile"), config);
    gsmLogCheckBox_->setObjectName("GSMLOGCheckBox");
    gsmLogButton_ = new QPushButton(tr("..."), config);
    gsmLogButton_->setObjectName("GSMLogButton");
    for (QPushButton* b : {smsLogButton_, gsmLogButton_})
        b->setFixedWidth(b->sizeHint().height() * 3 / 2);
    connect(smsLogCheckBox_, &QCheckBox::clicked, this, &TPelorinForm::SMSLOGCheckBoxClick);
    connect(gsmLogCheckBox_, &QCheckBox::clicked, this, &TPelorinForm::GSMLOGCheckBoxClick);
    connect(smsLogButton_, &QPushButton::clicked, this, &TPelorinForm::SMSLogButtonClick);
    connect(gsmLogButton_, &QPushButton::clicked, this, &TPelorinForm::GSMLogButtonClick);

    auto* ports = new QGroupBox(tr("Comm Port"), config);
    ports->setObjectName("CommRadioGroup");
    commRadioGroup_ = new QButtonGroup(ports);
    auto* portLayout = new QGridLayout(ports);
    for (int i = 0; i < int(std::size(kPortItems)); ++i) {
        auto* item = new QRadioButton(kPortItems[i], ports);
        commRadioGroup_->addButton(item, i);
        portLayout->addWidget(item, i / 2, i % 2);
    }

    modemComboBox_ = new QComboBox(config);
    modemComboBox_->setObjectName("ModemComboBox");
    smsFormat_ = new QComboBox(config);
    smsFormat_->setObjectName("SMSFormat");
    smsFormat_->addItems({tr("PDU"), tr("Text")});
    pinEdit_ = new QLineEdit(config);
    pinEdit_->setObjectName("PinEdit");
    pinEdit_->setEchoMode(QLineEdit::Password);
    scaEdit_ = new QLineEdit(config);
    scaEdit_->setObjectName("SCAEdit");

    auto* unsolicited = new QGroupBox(tr("Unsolicited"), config);
    unsolicited->setObjectName("UnsolicitedGroup");
    auto* unsolicitedLayout = new QGridLayout(unsolicited);
    const auto indication = [&](QCheckBox*& box, const char* name, const QString& caption, int at) {
        box = new QCheckBox(caption, unsolicited);
        box->setObjectName(name);
        box->setChecked(true);
        unsolicitedLayout->addWidget(box, at / 2, at % 2);
    };
    indication(catchSMSMT_, "CatchSMSMT", tr("Catch SMS-MT"), 0);
    indication(catchSMSCB_, "CatchSMSCB", tr("Catch SMS-CB"), 1);
    indication(catchSMSDS_, "CatchSMSDS", tr("Catch SMS-DS"), 2);
    indication(onlyIndication_, "OnlyIndication", tr("Only indication"), 3);

    auto* configLayout = new QGridLayout(config);
    configLayout->addWidget(smsLogCheckBox_, 0, 0);
    configLayout->addWidget(smsLogButton_, 0, 1);
    configLayout->addWidget(gsmLogCheckBox_, 1, 0);
    configLayout->addWidget(gsmLogButton_, 1, 1);
    configLayout->addWidget(ports, 2, 0, 3, 2);
    configLayout->addWidget(Label(tr("Modem Type"), modemComboBox_, config), 0, 2);
    configLayout->addWidget(modemComboBox_, 1, 2, 1, 2);
    configLayout->addWidget(Label(tr("Mode"), smsFormat_, config), 2, 2);
    configLayout->addWidget(smsFormat_, 3, 2);
    configLayout->addWidget(Label(tr("PIN"), pinEdit_, config), 2, 3);
    configLayout->addWidget(pinEdit_, 3, 3);
    configLayout->addWidget(Label(tr("Service Center"), scaEdit_, config), 4, 2);
    configLayout->addWidget(scaEdit_, 5, 2, 1, 2);
    configLayout->addWidget(unsolicited, 6, 0, 1, 4);
    configLayout->setColumnStretch(2, 1);
    configLayout->setColumnStretch(3, 1);

    auto* forum = BorderlessText("ForumAddress", page);
    forum->setPlainText(kForumAddress);
    forum->setFixedHeight(fontMetrics().lineSpacing() + 8);

    auto* top = new QHBoxLayout;
    top->addWidget(network);
    auto* identity = new QVBoxLayout;
    identity->addWidget(autoShowModemLog_);
    identity->addWidget(manufacturerId_, 1);
    top->addLayout(identity, 1);
    auto* forumLine = new QHBoxLayout;
    forumLine->addWidget(new QLabel(tr("Forum:"), page));
    forumLine->addWidget(forum, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(configureGroupbox_);
    layout->addStretch();
    layout->addLayout(forumLine);
    return page;
}

QWidget* TPelorinForm::CreateSMSPage()
{
    auto* page = new QWidget;
    page->setObjectName("SMSPage");
    da_ = new QLineEdit(kPresetDestination, page);
    da_->setObjectName("DA");
    smsKind_ = new QComboBox(page);
    smsKind_->setObjectName("SMSKind");
    smsKind_->addItems({tr("Text"), tr("Smart Message (Nokia)"), tr("EMS (Siemens, Sony, Ericsson, ...)"),
                        tr("Siemens SEO")});
    smsKind_->setEnabled(false);   // only plain text is sent
    smsKind2_ = new QComboBox(page);
    smsKind2_->setObjectName("SMSKind2");
    connect(smsKind_, &QComboBox::currentIndexChanged, this, &TPelorinForm::SMSKindChange);
    connect(smsKind2_, &QComboBox::currentIndexChanged, this, &TPelorinForm::SMSKindChange);

    message_ = new QPlainTextEdit(tr("First Test-Message"), page);
    message_->setObjectName("Message");
    auto* blink = new QPushButton(tr("&Blk"), page);
    blink->setObjectName("Blink");
    blink->setEnabled(false);

    // The editors share one place under the message; none is offered while the kind is text.
    pictureGB_ = new TPictureEditor(page);
    vCardGB_ = new TVCardEditor(page);
    melodyGB_ = new TMelodyEditor(page);
    seoGB_ = new TSEOEditor(page);
    auto* editors = new QGridLayout;
    for (QWidget* editor : std::initializer_list<QWidget*>{pictureGB_, vCardGB_, melodyGB_, seoGB_})
        editors->addWidget(editor, 0, 0);

    dcs_ = new QComboBox(page);
    dcs_->setObjectName("DCS");
    dcs_->addItems({tr("0..Display immediately"), tr("1..ME"), tr("2..SIM"), tr("3..TE")});
    deliveryNotification_ = new QCheckBox(tr("delivery notification"), page);
    deliveryNotification_->setObjectName("DeliveryNotification");
    auto* send = new QPushButton(tr("Send"), page);
    send->setObjectName("BitBtn1");
    connect(send, &QPushButton::clicked, this, [this] { RunGuarded([&] { BitBtn1Click(); }); });

    auto* kinds = new QGridLayout;
    kinds->addWidget(Label(tr("Kind"), smsKind_, page), 0, 0);
    kinds->addWidget(smsKind_, 1, 0);
    kinds->addWidget(Label(tr("Type"), smsKind2_, page), 0, 1);
    kinds->addWidget(smsKind2_, 1, 1);
    auto* messageLine = new QHBoxLayout;
    messageLine->addWidget(message_, 1);
    messageLine->addWidget(blink, 0, Qt::AlignTop);
    auto* sendLine = new QHBoxLayout;
    sendLine->addWidget(dcs_);
    sendLine->addWidget(deliveryNotification_);
    sendLine->addStretch();
    sendLine->addWidget(send);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label(tr("Destination address (phone number)"), da_, page));
    layout->addWidget(da_);
    layout->addLayout(kinds);
    layout->addWidget(Label(tr("Message"), message_, page));
    layout->addLayout(messageLine, 1);
    layout->addLayout(editors, 3);
    layout->addLayout(sendLine);
    return page;
}

QWidget* TPelorinForm::CreateLogPage(TTerminal*& terminal, const char* name)
{
    auto* page = new QWidget;
    terminal = new TTerminal(page);
    terminal->setObjectName(name);
    terminal->MaxLines = kLogLines;
    terminal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(terminal);
    return page;
}

TPelorinForm::TPelorinForm(TGSMDataModule& dataModule, QWidget* parent)
    : TForm(parent), dataModule_(dataModule), global_(CoGlobal::Create()), lastKind_(kNoIndex), lastKind2_(kNoIndex)
{
    setObjectName("PelorinForm");
    setFixedSize(kClientWidth, kClientHeight);

    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName("PageControl1");
    pageControl_->addTab(CreateModemPage(), tr("Modem"));
    pageControl_->addTab(CreateSMSPage(), tr("SMS"));
    pageControl_->addTab(CreateLogPage(smsLog_, "SMSLog"), tr("SMS log"));
    pageControl_->addTab(CreateLogPage(modemLog_, "ModemLog"), tr("Modem log"));
    modemLog_->installEventFilter(this);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar");
    statusBar_->setSizeGripEnabled(false);
    SetHint(statusBar_, kVersionHint);
    statusBar_->installEventFilter(this);
    // The device lamp sits in a panel of its own that takes no input.
    auto* lampPanel = new QFrame(statusBar_);
    lampPanel->setFrameShape(QFrame::StyledPanel);
    lampPanel->setEnabled(false);
    semafor_ = new QToolButton(lampPanel);
    semafor_->setObjectName("Semafor");
    semafor_->setAutoRaise(true);
    auto* lampLayout = new QHBoxLayout(lampPanel);
    lampLayout->setContentsMargins(0, 0, 0, 0);
    lampLayout->addWidget(semafor_);
    statusBar_->addPermanentWidget(lampPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pageControl_, 1);
    layout->addWidget(statusBar_);

    smsLogSaveDialog_ = LogSaveDialog("SMSLogSaveDialog", tr("SMS Log File Selection"), this);
    gsmLogSaveDialog_ = LogSaveDialog("GSMLogSaveDialog", tr("AT Commands Log File Selection"), this);

    dataModule_.SetModemLogTerminal(modemLog_);
    dataModule_.SetSMSLogTerminal(smsLog_);
    pageControl_->setCurrentIndex(kModemPage);
    UpdateCaption();
    SetLamp(indNetRegStatus_, netRegLamp_, lcGrey);
    SetLamp(semafor_, deviceLamp_, lcGrey);
    for (int eq = 0;; ++eq) {
        const std::string name = LongModelName(eq);
        if (name.empty())
            break;
        modemComboBox_->addItem(ToQString(name));
    }
    dcs_->setCurrentIndex(kDCSSIM);
}

TPelorinForm::~TPelorinForm()
{
    // The terminals go with the window; the data module must not write to them afterwards.
    dataModule_.SetModemLogTerminal(nullptr);
    dataModule_.SetSMSLogTerminal(nullptr);
}

std::string TPelorinForm::LongModelName(int equipment) const
{
    return DispatchCall(global_.Get(), celvane::kGSMEquipmentLongName, {Variant::I4(equipment)}).ToNarrow();
}

std::array<std::pair<QCheckBox*, int>, 4> TPelorinForm::IndicationBoxes() const
{
    return {{{catchSMSMT_, IndicationBit(uindSMSDeliver)},
             {catchSMSCB_, IndicationBit(uindCellBroadcast)},
             {catchSMSDS_, IndicationBit(uindSMSStatusReport)},
             {onlyIndication_, IndicationBit(uindOnlyIndication)}}};
}

std::array<QWidget*, 4> TPelorinForm::Editors() const
{
    return {pictureGB_, vCardGB_, melodyGB_, seoGB_};
}

void TPelorinForm::UpdateCaption()
{
    setWindowTitle(ToQString(Format("Pelorin [%s]", LongModelName(Control().Equipment()).c_str())));
}

void TPelorinForm::SetLamp(QToolButton* lamp, int& shown, int colour)
{
    shown = colour;
    lamp->setIcon(LampIcon(GlyphIndex(colour, true)));
}

bool TPelorinForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowLongHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void TPelorinForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RunGuarded([&] { FormShow(); });
    }
}

bool TPelorinForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == statusBar_ && event->type() == QEvent::MouseButtonPress) {
        StatusBarClick();
        return true;
    }
    if (watched == modemLog_ && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) {
            RunGuarded([&] { ModemLogKeyPress(typed); });
            return true;   // the log shows only what the modem sends back
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPelorinForm::FormShow()
{
    SettingsToControls();
    lastKind_ = kNoIndex;
    smsKind_->setCurrentIndex(kTextKind);
    UpdateSMSKind();
    // -start or /START, in any case.
    if (FindSwitch("START", kSwitchValueUpper))
        SpeedButton3Click(kOnTag);
    StatusBarClick();
}

void TPelorinForm::StatusBarClick()
{
    statusBar_->showMessage(GetShortHint(kVersionHint));
}

void TPelorinForm::ShowLongHint(const QString& hint)
{
    statusBar_->showMessage(hint);
}

void TPelorinForm::SettingsToControls()
{
    TCelvane& control = Control();
    modemComboBox_->setCurrentIndex(control.Equipment());
    scaEdit_->setText(ToQString(control.SCA()));
    pinEdit_->setText(ToQString(control.PIN()));
    smsFormat_->setCurrentIndex(control.SMSFormat());
    const int indications = control.UnsolicitedIndication();
    for (const auto& [box, bit] : IndicationBoxes())
        box->setChecked(indications & bit);
    const QString deviceName = ToQString(control.DeviceName());
    for (QAbstractButton* item : commRadioGroup_->buttons())
        if (item->text() == deviceName) {
            item->setChecked(true);
            break;
        }
    smsLogCheckBox_->setChecked(dataModule_.SMSLogFileName() != kNoLogFile);
    gsmLogCheckBox_->setChecked(dataModule_.GSMLogFileName() != kNoLogFile);
    // "NUL" is no file to offer.
    if (smsLogCheckBox_->isChecked())
        smsLogSaveDialog_->selectFile(ToQString(dataModule_.SMSLogFileName()));
    if (gsmLogCheckBox_->isChecked())
        gsmLogSaveDialog_->selectFile(ToQString(dataModule_.GSMLogFileName()));
    SMSLOGCheckBoxClick();
    GSMLOGCheckBoxClick();
}

void TPelorinForm::ControlsToSettings()
{
    TCelvane& control = Control();
    control.SetEquipment(modemComboBox_->currentIndex());
    control.SetSCA(FromQString(scaEdit_->text()));
    control.SetPIN(FromQString(pinEdit_->text()));
    control.SetSMSFormat(smsFormat_->currentIndex());
    control.SetUnsolicitedIndication(0);
    for (const auto& [box, bit] : IndicationBoxes())
        if (box->isChecked())
            control.SetUnsolicitedIndication(control.UnsolicitedIndication() | bit);
    // A port that matches none of the items stays as it is; writing the same port again would
    // close a port that raw typing keeps open.
    if (QAbstractButton* port = commRadioGroup_->checkedButton()) {
        const std::string deviceName = FromQString(port->text());
        if (deviceName != control.DeviceName())
            control.SetDeviceName(deviceName);
    }
    dataModule_.SetSMSLogFileName(LogFileName(smsLogCheckBox_, smsLogSaveDialog_, "sms.log"));
    dataModule_.SetGSMLogFileName(LogFileName(gsmLogCheckBox_, gsmLogSaveDialog_, "gsm.log"));
    UpdateCaption();
}

void TPelorinForm::SMSLOGCheckBoxClick()
{
    smsLogButton_->setEnabled(smsLogCheckBox_->isChecked());
}

void TPelorinForm::GSMLOGCheckBoxClick()
{
    gsmLogButton_->setEnabled(gsmLogCheckBox_->isChecked());
}

void TPelorinForm::SMSLogButtonClick()
{
    if (smsLogCheckBox_->isChecked())
        smsLogSaveDialog_->exec();
}

void TPelorinForm::GSMLogButtonClick()
{
    if (gsmLogCheckBox_->isChecked())
        gsmLogSaveDialog_->exec();
}

void TPelorinForm::ShowModemLog()
{
    if (!autoShowModemLog_->isChecked())
        return;
    savedPage_ = pageControl_->currentIndex();
    pageControl_->setCurrentIndex(kModemLogPage);
    QCoreApplication::processEvents();
}

void TPelorinForm::RestorePage()
{
    if (autoShowModemLog_->isChecked())
        pageControl_->setCurrentIndex(savedPage_);
}

template <class Operation>
void TPelorinForm::WithModemLogShown(Operation&& operation)
{
    ShowModemLog();
    try {
        operation();
    } catch (...) {
        RestorePage();
        throw;
    }
    RestorePage();
}

void TPelorinForm::SpeedButton3Click(int tag)
{
    WithModemLogShown([&] {
        dataModule_.SetActive(false);
        if (tag == kOnTag) {
            ControlsToSettings();
            dataModule_.SetActive(true);
        }
    });
}

void TPelorinForm::SpeedButton1Click()
{
    WithModemLogShown([&] { Control().SwitchOff(); });
}

void TPelorinForm::CheckDeviceActive()
{
    if (!dataModule_.IsActive())
        throw Exception("Device is not active");
}

void TPelorinForm::IndNetRegStatusClick()
{
    CheckDeviceActive();
    TStringList lines;
    ComPtr<IStrings> response;
    OleCheck(CreateStringsAdapter(lines, response.Out()));
    if (Control().SendATCommand("AT+CSQ", kSignalQueryWaitFor, response, 0) != 0)
        return;
    Bstr line;
    OleCheck(response->get_Item(0, line.Out()));
    Variant position = Variant::I4(1);
    const std::string parameter =
        DispatchCall(global_.Get(), celvane::kExtractParam, {Variant::Str(line.View()), OutArgument(position)})
            .ToNarrow();
    const int rssi = StrToInt(parameter);
    indNetRegStatus_->setText(rssi == kRSSIUnknown ? tr("?") : ToQString(Format("%d dBm", 2 * rssi - 113)));
}

void TPelorinForm::ModemLogKeyPress(const QString& typed)
{
    if (!dataModule_.IsActive())
        ControlsToSettings();
    Control().SendChar(FromQString(typed));
}

void TPelorinForm::BitBtn1Click()
{
    WithModemLogShown([&] {
        SendText(da_->text(), message_->toPlainText(), deliveryNotification_->isChecked(),
                 kDCSClassGroup + dcs_->currentIndex(), false, false, false);
    });
}

void TPelorinForm::SendText(const QString& destination, const QString& text, bool statusReportRequest,
                            int dataCodingScheme, bool userDataHeader, bool raw, bool unicode)
{
    if (!dataModule_.IsActive()) {
        if (QMessageBox::question(this, QGuiApplication::applicationDisplayName(), tr("Device not active. Connect?"),
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        ControlsToSettings();
        dataModule_.SetActive(true);
    }
    CheckDeviceActive();
    ComPtr<IGlobal> global = CoGlobal::Create();
    ComPtr<ISMSSubmit> sms = CoSMSSubmit::Create();
    DispatchPut(sms.Get(), celvane::kGSM, Variant::Dispatch(Control().DefaultInterface()));
    DispatchPut(sms.Get(), celvane::kSubmitDA, Variant::Str(destination.toStdU16String()));
    std::u16string userData = text.toStdU16String();
    if (!raw)
        userData = DispatchCall(global.Get(), celvane::kISOToSMS, {Variant::Str(userData)}).ToWide();
    // Longer text is cut without a word: one message carries no more.
    if (unicode)
        DispatchPut(sms.Get(), celvane::kWideUD, Variant::Str(userData.substr(0, kMaxUnicodeChars)));
    else
        DispatchPut(sms.Get(), celvane::kUD, Variant::Str(userData.substr(0, kMaxDefaultAlphabetChars)));
    DispatchPut(sms.Get(), celvane::kDCS, Variant::UI1(dataCodingScheme));
    DispatchPut(sms.Get(), celvane::kSubmitSRR, Variant::Bool(statusReportRequest));
    DispatchPut(sms.Get(), celvane::kSubmitUDHI, Variant::Bool(userDataHeader));
    dataModule_.SendSMS(sms.Get());
    dataModule_.LogSMS(sms.Get());
}

void TPelorinForm::UpdateSMSKind()
{
    if (updating_ != 0)
        return;
    ++updating_;
    const int kind = smsKind_->currentIndex();
    if (kind != lastKind_) {
        smsKind2_->setEnabled(kind > kTextKind);
        smsKind2_->clear();
        smsKind2_->addItems(kSMSKindTypes.at(kind));
        lastKind_ = kind;
        smsKind2_->setCurrentIndex(0);
        dcs_->setEnabled(kind <= kEMSKind);
        deliveryNotification_->setEnabled(dcs_->isEnabled());
        lastKind2_ = kNoIndex;
    }
    if (smsKind2_->currentIndex() != lastKind2_) {
        if (kind == kTextKind) {
            for (QWidget* editor : Editors())
                editor->hide();
            message_->setEnabled(true);
        }
        pictureGB_->SetSMSKind(kind);
        melodyGB_->SetSMSKind(kind);
        pictureGB_->ResizePicture();
    }
    --updating_;
}

void TPelorinForm::SMSKindChange()
{
    UpdateSMSKind();
}

void TPelorinForm::WndProc(TMessage& message)
{
    if (message.Msg == WM_NETWORK_REGISTRATION)
        WMNetworkRegistration(int(message.WParam));
    else if (message.Msg == WM_DEVICE_STATE)
        WMDeviceState(int(message.WParam));
    else
        TForm::WndProc(message);
}

void TPelorinForm::WMNetworkRegistration(int status)
{
    SetLamp(indNetRegStatus_, netRegLamp_, RegistrationColour(status));
}

void TPelorinForm::WMDeviceState(int code)
{
    TCelvane& control = Control();
    const bool active = control.Active();
    for (QWidget* child : configureGroupbox_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(!active);
    smsLogButton_->setEnabled(smsLogCheckBox_->isEnabled() && smsLogCheckBox_->isChecked());
    gsmLogButton_->setEnabled(gsmLogCheckBox_->isEnabled() && gsmLogCheckBox_->isChecked());
    int colour = lcGrey;
    switch (code & kDeviceStateMask) {
    case kDeviceBusy:
        colour = lcRed;
        break;
    case kDeviceIdle:
        colour = lcGreen;
        if ((code & kDeviceRefreshIdentity) && active)
            manufacturerId_->setPlainText(ToQString(Format("%s/%s\r\n%s\r\nS/N: %s", control.ManufacturerId().c_str(),
                                                           control.ModelId().c_str(), control.RevisionId().c_str(),
                                                           control.SerialNumberId().c_str())));
        break;
    }
    SetLamp(semafor_, deviceLamp_, colour);
    // Long device operations keep the window painted.
    QCoreApplication::processEvents();
}
