#include "sim/at_device.h"

#include <cstdio>
#include <iterator>
#include <set>

#include "sim/gsm_alphabet.h"
#include "sim/octet_cursor.h"

namespace sim {

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr char kEscape = 0x1B;
constexpr char kBackspace = 0x08;
constexpr char kDelete = 0x7F;
constexpr size_t kMaxLine = 2048;
constexpr size_t kMaxBody = 1024;
constexpr size_t kMaxBuffered = 64;
constexpr int kRegisteredHome = 1;
constexpr int kRegisteredRoaming = 5;
constexpr int kWindReadyMask = 0x08;        // +WIND: 4, ready for every command
constexpr int kWindPartlyReadyMask = 0x04;  // +WIND: 3, ready except phone book and messages

// +CME ERROR codes the device reports and their verbose texts.
enum TCmeCode {
    kCmeNotAllowed = 3, kCmeNotSupported = 4, kCmeSimPinRequired = 11, kCmeSimPukRequired = 12,
    kCmeSimFailure = 13, kCmeIncorrectPassword = 16, kCmeSimBlocked = 262,
};
struct TCmeText {
    int code;
    const char* text;
};
constexpr TCmeText kCmeTexts[] = {
    {kCmeNotAllowed, "operation not allowed"}, {kCmeNotSupported, "operation not supported"},
    {kCmeSimPinRequired, "SIM PIN required"},  {kCmeSimPukRequired, "SIM PUK required"},
    {kCmeSimFailure, "SIM failure"},           {kCmeIncorrectPassword, "incorrect password"},
    {kCmeSimBlocked, "SIM blocked"},
};

// +CMS ERROR codes of TS 27.005.
enum TCmsCode {
    kCmsNotAllowed = 302, kCmsNotSupported = 303, kCmsInvalidPduParameter = 304,
    kCmsInvalidTextParameter = 305, kCmsSimPinRequired = 311, kCmsSimPukRequired = 316,
    kCmsInvalidIndex = 321, kCmsMemoryFull = 322, kCmsScaUnknown = 330, kCmsNoNetwork = 331,
    kCmsNoAckExpected = 340,
};

// Index: TS 27.005 status number.
constexpr const char* kStatusTexts[] = {"REC UNREAD", "REC READ", "STO UNSENT", "STO SENT", "ALL"};

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

std::string Printf(const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0)
{
    char text[96];
    std::snprintf(text, sizeof text, format, a, b, c, d, e);
    return text;
}

bool StartsWithAt(const std::string& line)
{
    return line.size() >= 2 && (line[0] | 0x20) == 'a' && (line[1] | 0x20) == 't';
}

// The value set of one "(0-2,5)" list of a test answer.
std::set<int> RangeSet(const std::string& list)
{
    std::set<int> values;
    int number = -1;
    int rangeStart = -1;
    for (size_t i = 0; i <= list.size(); ++i) {
        const char c = i < list.size() ? list[i] : ')';
        if (c >= '0' && c <= '9') {
            number = (number < 0 ? 0 : number * 10) + (c - '0');
            continue;
        }
        if (number >= 0) {
            for (int v = rangeStart >= 0 ? rangeStart : number; v <= number; ++v)
                values.insert(v);
            rangeStart = c == '-' ? number : -1;
        }
        number = -1;
    }
    return values;
}

int StatusNumber(const std::string& text)
{
    for (size_t i = 0; i < std::size(kStatusTexts); ++i)
        if (text == kStatusTexts[i])
            return static_cast<int>(i);
    return -1;
}

}  // namespace

const TAtDevice::THandlerEntry TAtDevice::kHandlers[] = {
    {"+CGMI", &TAtDevice::Identity, false, false},
    {"+GMI", &TAtDevice::Identity, false, false},
    {"+CGMM", &TAtDevice::Identity, false, false},
    {"+GMM", &TAtDevice::Identity, false, false},
    {"+CGMR", &TAtDevice::Identity, false, false},
    {"+GMR", &TAtDevice::Identity, false, false},
    {"+CGSN", &TAtDevice::SerialNumber, false, false},
    {"+GSN", &TAtDevice::SerialNumber, false, false},
    {"+CIMI", &TAtDevice::Imsi, true, false},
    {"+CPIN", &TAtDevice::Pin, false, false},
    {"+CREG", &TAtDevice::Registration, false, false},
    {"+CSQ", &TAtDevice::SignalQuality, false, false},
    {"+CPMS", &TAtDevice::PreferredStorage, true, true},
    {"+CSMS", &TAtDevice::MessageService, false, true},
    {"+CSCA", &TAtDevice::ServiceCentre, true, true},
    {"+CMGF", &TAtDevice::MessageFormat, false, true},
    {"+CSDH", &TAtDevice::ShowTextParameters, false, true},
    {"+CMEE", &TAtDevice::ErrorReporting, false, false},
    {"+CNMI", &TAtDevice::Indications, false, true},
    {"+CMGS", &TAtDevice::SendMessage, true, true},
    {"+CMGC", &TAtDevice::SendMessage, true, true},
    {"+CMGR", &TAtDevice::ReadMessage, true, true},
    {"+CMGL", &TAtDevice::ListMessages, true, true},
    {"+CMGD", &TAtDevice::DeleteMessage, true, true},
    {"+CSMP", &TAtDevice::TextParameters, false, true},
    {"+CNMA", &TAtDevice::Acknowledge, true, true},
    {"+WIND", &TAtDevice::Wind, false, false},
    {"^SMSO", &TAtDevice::SwitchOff, false, false},
    {"+CFUN", &TAtDevice::Functionality, false, false},
    {"+CSCS", &TAtDevice::CharacterSet, false, false},
    {"+CNUM", &TAtDevice::OwnNumber, true, false},
    {"+COPS", &TAtDevice::Operator, false, false},
    {"+CPAS", &TAtDevice::ActivityStatus, false, false},
};

TAtDevice::TAtDevice(TDeviceSettings settings, TAtDeviceHost& host)
    : settings_(std::move(settings)), profile_(*settings_.profile), host_(host)
{
    // The combined "MT" storage numbers the SIM's ten slots first, then the phone's.
    if (profile_.mtStorage)
        settings_.simCapacity = 10;
    simState_ = settings_.pin.empty() || profile_.pin == TPinFlow::Handset ? TSimState::Ready
                                                                           : TSimState::SimPin;
    format_ = profile_.formats & kFormatPdu ? 0 : 1;
    serviceCentre_ = TAddress::FromText(settings_.serviceCentre);
    stores_.emplace("SM", TMessageStore("SM", settings_.simCapacity));
    stores_.emplace("ME", TMessageStore("ME", settings_.phoneCapacity));
    stores_.emplace("BM", TMessageStore("BM", settings_.broadcastCapacity));
}

TMessageStore* TAtDevice::Store(const std::string& name)
{
    auto it = stores_.find(name);
    return it == stores_.end() ? nullptr : &it->second;
}

TMessageStore* TAtDevice::Mem(int which)
{
    return Store(mem_[which - 1]);
}

// ---- Input --------------------------------------------------------------------------------

void TAtDevice::Receive(std::string_view bytes)
{
    for (char c : bytes) {
        if (poweredOff_)
            break;
        if (prompt_)
            ReceivePromptByte(c);
        else
            ReceiveCommandByte(c);
    }
    FlushEcho();
}

void TAtDevice::FlushEcho()
{
    if (echoPending_.empty())
        return;
    std::string echo;
    echo.swap(echoPending_);
    host_.Emit(TOutputKind::Echo, std::move(echo));
}

void TAtDevice::Output(TOutputKind kind, std::string bytes)
{
    // The echo of what was typed so far goes out before anything the device says.
    FlushEcho();
    host_.Emit(kind, std::move(bytes));
}

void TAtDevice::ReceiveCommandByte(char c)
{
    if (echo_)
        echoPending_ += c;
    if (c == '\r') {
        std::string line;
        line.swap(line_);
        ExecuteLine(line);
    } else if (c == kBackspace || c == kDelete) {
        if (!line_.empty())
            line_.pop_back();
    } else if (static_cast<unsigned char>(c) >= 0x20 && line_.size() <= kMaxLine) {
        line_ += c;
    }
}

void TAtDevice::ReceivePromptByte(char c)
{
    if (echo_)
        echoPending_ += c;
    if (c == kCtrlZ) {
        FinishSend();
    } else if (c == kEscape) {
        prompt_ = false;
        EmitFinal({});
        FlushUnsolicited();
    } else if (c == kBackspace || c == kDelete) {
        if (!pending_.body.empty())
            pending_.body.pop_back();
    } else if (c == '\r' && format_ == 1) {
        // Text mode: a new line of the message, and the device prompts again.
        pending_.body += '\n';
        Output(TOutputKind::Reply, "\r\n> ");
    } else if (static_cast<unsigned char>(c) >= 0x20 && pending_.body.size() < kMaxBody) {
        pending_.body += c;
    }
}

void TAtDevice::ExecuteLine(const std::string& rawLine)
{
    size_t start = rawLine.find_first_not_of(' ');
    const std::string line = start == std::string::npos ? "" : rawLine.substr(start);
    // A modem ignores whatever does not start with the attention prefix.
    if (!StartsWithAt(line))
        return;
    std::vector<TAtCommand> commands;
    TFinal final;
    // What the commands themselves set off is said after their result.
    executing_ = true;
    if (line.size() > kMaxLine || !SplitCommandLine(std::string_view(line).substr(2), commands))
        final.kind = TFinal::Error;
    for (const TAtCommand& command : commands) {
        if (final.kind != TFinal::Ok)
            break;
        TLines lines;
        final = Execute(command, lines);
        EmitLines(lines);
        if (poweredOff_ || final.kind == TFinal::Prompt)
            break;
    }
    executing_ = false;
    EmitFinal(final);
    if (final.kind == TFinal::Prompt)
        prompt_ = true;
    else
        FlushUnsolicited();
}

TAtDevice::TFinal TAtDevice::Execute(const TAtCommand& command, TLines& lines)
{
    if (auto failure = failures_.find(command.name); failure != failures_.end()) {
        TFinal final{TFinal::Text, 0, failure->second.first};
        if (--failure->second.second <= 0)
            failures_.erase(failure);
        return final;
    }
    if (command.name.size() <= 3 && command.name[0] != '+' && command.name[0] != '^')
        return Basic(command, lines);
    for (const THandlerEntry& entry : kHandlers) {
        if (command.name != entry.name)
            continue;
        if (entry.needsSim && simState_ != TSimState::Ready) {
            const bool puk = simState_ != TSimState::SimPin;
            if (entry.smsCommand)
                return {TFinal::Cms, puk ? kCmsSimPukRequired : kCmsSimPinRequired};
            return CmeError(puk ? kCmeSimPukRequired : kCmeSimPinRequired);
        }
        return (this->*entry.handler)(command, lines);
    }
    return {TFinal::Error};
}

void TAtDevice::FailCommand(const std::string& name, const std::string& result, int times)
{
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (times <= 0)
        failures_.erase(upper);
    else
        failures_[upper] = {result, times};
}

// ---- Output -------------------------------------------------------------------------------

void TAtDevice::EmitLines(const TLines& lines)
{
    if (lines.empty())
        return;
    if (verbose_)
        Output(TOutputKind::Reply, "\r\n" + Joined(lines) + "\r\n");
    else
        Output(TOutputKind::Reply, Joined(lines) + "\r\n");
}

void TAtDevice::EmitFinal(const TFinal& final)
{
    std::string text;
    switch (final.kind) {
    case TFinal::Ok:
        if (quiet_)
            return;
        Output(TOutputKind::Reply, verbose_ ? "\r\nOK\r\n" : "0\r");
        return;
    case TFinal::Error:
        if (quiet_)
            return;
        Output(TOutputKind::Reply, verbose_ ? "\r\nERROR\r\n" : "4\r");
        return;
    case TFinal::Cme:
        text = "+CME ERROR: " + std::to_string(final.code);
        if (cmee_ == 2)
            for (const TCmeText& entry : kCmeTexts)
                if (entry.code == final.code)
                    text = std::string("+CME ERROR: ") + entry.text;
        break;
    case TFinal::Cms:
        text = "+CMS ERROR: " + std::to_string(final.code);
        break;
    case TFinal::Text:
        text = final.text;
        break;
    case TFinal::Prompt:
        Output(TOutputKind::Reply, "\r\n> ");
        return;
    case TFinal::Silent:
        return;
    }
    Output(TOutputKind::Reply, verbose_ ? "\r\n" + text + "\r\n" : text + "\r\n");
}

TAtDevice::TFinal TAtDevice::CmeError(int code) const
{
    if (cmee_ == 0)
        return {TFinal::Error};
    return {TFinal::Cme, code};
}

void TAtDevice::Unsolicited(std::string text)
{
    if (poweredOff_)
        return;
    if (prompt_ || executing_)
        deferred_.push_back(std::move(text));
    else
        Output(TOutputKind::Unsolicited, "\r\n" + text + "\r\n");
}

void TAtDevice::FlushUnsolicited()
{
    while (!deferred_.empty() && !prompt_ && !executing_) {
        std::string text = std::move(deferred_.front());
        deferred_.pop_front();
        Unsolicited(std::move(text));
    }
}

// ---- Basic commands -----------------------------------------------------------------------

TAtDevice::TFinal TAtDevice::Basic(const TAtCommand& command, TLines& lines)
{
    const std::string& name = command.name;
    const std::string& value = command.args;
    const bool zero = value.empty() || value == "0";
    const bool one = value == "1";
    if (name == "E" || name == "V" || name == "Q") {
        if (!zero && !one)
            return {TFinal::Error};
        (name == "E" ? echo_ : name == "V" ? verbose_ : quiet_) = one;
        return {};
    }
    if (name == "Z" || name == "&F") {
        echo_ = verbose_ = true;
        quiet_ = false;
        cmee_ = 0;
        cregMode_ = 0;
        showText_ = false;
        format_ = profile_.formats & kFormatPdu ? 0 : 1;
        for (int& v : cnmi_)
            v = 0;
        return {};
    }
    if (name == "I") {
        if (zero) {
            lines.push_back(profile_.manufacturer);
            lines.push_back(profile_.model);
            return {};
        }
        if (value == "3") {
            lines.push_back(profile_.revision);
            return {};
        }
        return {TFinal::Error};
    }
    if (name[0] == 'S' && name.size() > 1) {
        if (command.form == TAtForm::Read)
            lines.push_back(name == "S3" ? "013" : name == "S4" ? "010" : name == "S5" ? "008" : "000");
        return {};
    }
    static const char* const kAccepted[] = {"X", "H", "L", "M", "&C", "&D", "&K", "&W", "&S"};
    for (const char* accepted : kAccepted)
        if (name == accepted)
            return {};
    return {TFinal::Error};
}

// ---- Identity and SIM ---------------------------------------------------------------------

TAtDevice::TFinal TAtDevice::Identity(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Test)
        return {};
    if (command.form != TAtForm::Action)
        return {TFinal::Error};
    const char n = command.name[command.name.size() - 1];
    std::string text = n == 'I' ? profile_.manufacturer : n == 'M' ? profile_.model : profile_.revision;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return {};
}

TAtDevice::TFinal TAtDevice::SerialNumber(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Action)
        lines.push_back(settings_.imei);
    return command.form == TAtForm::Action || command.form == TAtForm::Test ? TFinal{}
                                                                            : TFinal{TFinal::Error};
}

TAtDevice::TFinal TAtDevice::Imsi(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Action)
        lines.push_back(settings_.imsi);
    return command.form == TAtForm::Action || command.form == TAtForm::Test ? TFinal{}
                                                                            : TFinal{TFinal::Error};
}

TAtDevice::TFinal TAtDevice::Pin(const TAtCommand& command, TLines& lines)
{
    static const char* const kStateTexts[] = {"READY", "SIM PIN", "SIM PUK"};
    if (command.form == TAtForm::Test)
        return {};
    if (command.form == TAtForm::Read) {
        if (simState_ == TSimState::Blocked)
            return CmeError(kCmeSimBlocked);
        lines.push_back(std::string("+CPIN: ") + kStateTexts[static_cast<int>(simState_)]);
        return {};
    }
    if (command.form != TAtForm::Set)
        return {TFinal::Error};
    const std::vector<TAtParam> params = SplitParams(command.args);
    const std::string first = params.empty() ? "" : params[0].text;
    switch (simState_) {
    case TSimState::Ready:
        return CmeError(kCmeNotAllowed);
    case TSimState::SimPin:
        if (first == settings_.pin) {
            simState_ = TSimState::Ready;
            SimBecameReady();
            return {};
        }
        if (--pinAttempts_ <= 0)
            simState_ = TSimState::SimPuk;
        return CmeError(kCmeIncorrectPassword);
    case TSimState::SimPuk:
        if (first == settings_.puk && params.size() >= 2 && params[1].text.size() >= 4) {
            settings_.pin = params[1].text;
            simState_ = TSimState::Ready;
            pinAttempts_ = 3;
            pukAttempts_ = 10;
            SimBecameReady();
            return {};
        }
        if (--pukAttempts_ <= 0)
            simState_ = TSimState::Blocked;
        return CmeError(kCmeIncorrectPassword);
    case TSimState::Blocked:
        break;
    }
    return CmeError(kCmeSimBlocked);
}

void TAtDevice::SimBecameReady()
{
    if (!profile_.wind || !(windMask_ & (kWindReadyMask | kWindPartlyReadyMask)))
        return;
    host_.After(settings_.readyDelayMs, [this] {
        if (windMask_ & kWindPartlyReadyMask)
            Unsolicited("+WIND: 3");
        if (windMask_ & kWindReadyMask)
            Unsolicited("+WIND: 4");
    });
}

TAtDevice::TFinal TAtDevice::Wind(const TAtCommand& command, TLines& lines)
{
    if (!profile_.wind)
        return {TFinal::Error};
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+WIND: (0-4095)");
        return {};
    case TAtForm::Read:
        lines.push_back("+WIND: " + std::to_string(windMask_));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int mask;
        if (params.size() != 1 || !ParamToInt(params[0], 0, 4095, mask))
            return CmeError(kCmeNotSupported);
        windMask_ = mask;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

// ---- Network ------------------------------------------------------------------------------

TAtDevice::TFinal TAtDevice::Registration(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CREG: (0-2)");
        return {};
    case TAtForm::Read: {
        std::string line = Printf("+CREG: %d,%d", cregMode_, registration_);
        if (cregMode_ == 2 && (registration_ == kRegisteredHome || registration_ == kRegisteredRoaming))
            line += "," + Quoted(lac_) + "," + Quoted(cellId_);
        lines.push_back(line);
        return {};
    }
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int mode = 0;
        if (params.size() > 1 || (!params.empty() && !ParamToInt(params[0], 0, 2, mode)))
            return CmeError(kCmeNotSupported);
        cregMode_ = mode;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

void TAtDevice::SetRegistration(int status, const std::string& lac, const std::string& cellId)
{
    const bool changed = status != registration_ || lac != lac_ || cellId != cellId_;
    registration_ = status;
    lac_ = lac;
    cellId_ = cellId;
    if (!changed || cregMode_ == 0)
        return;
    std::string line = "+CREG: " + std::to_string(status);
    if (cregMode_ == 2 && (status == kRegisteredHome || status == kRegisteredRoaming))
        line += "," + Quoted(lac_) + "," + Quoted(cellId_);
    Unsolicited(line);
}

TAtDevice::TFinal TAtDevice::SignalQuality(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Test)
        lines.push_back("+CSQ: (0-31,99),(0-7,99)");
    else if (command.form == TAtForm::Action)
        lines.push_back(Printf("+CSQ: %d,%d", rssi_, ber_));
    else
        return {TFinal::Error};
    return {};
}

void TAtDevice::SetSignal(int rssi, int ber)
{
    rssi_ = rssi;
    ber_ = ber;
}

TAtDevice::TFinal TAtDevice::Operator(const TAtCommand& command, TLines& lines)
{
    const bool registered = registration_ == kRegisteredHome || registration_ == kRegisteredRoaming;
    if (command.form == TAtForm::Test)
        lines.push_back("+COPS: (2,\"SimNet\",\"SimNet\",\"26299\"),,(0-4),(0-2)");
    else if (command.form == TAtForm::Read)
        lines.push_back(registered ? "+COPS: 0,0,\"SimNet\"" : "+COPS: 0");
    else if (command.form != TAtForm::Set)
        return {TFinal::Error};
    return {};
}

TAtDevice::TFinal TAtDevice::ActivityStatus(const TAtCommand& command, TLines& lines)
{
    lines.push_back(command.form == TAtForm::Test ? "+CPAS: (0-5)" : "+CPAS: 0");
    return {};
}

TAtDevice::TFinal TAtDevice::Functionality(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CFUN: (0,1)");
        return {};
    case TAtForm::Read:
        lines.push_back("+CFUN: 1");
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int level;
        if (params.empty() || !ParamToInt(params[0], 0, 1, level))
            return CmeError(kCmeNotSupported);
        poweredOff_ = level == 0;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::SwitchOff(const TAtCommand& command, TLines& lines)
{
    if (!profile_.switchOff || command.form != TAtForm::Action)
        return {TFinal::Error};
    lines.push_back("^SMSO: MS OFF");
    poweredOff_ = true;
    return {};
}

TAtDevice::TFinal TAtDevice::CharacterSet(const TAtCommand& command, TLines& lines)
{
    static const char* const kCharsets[] = {"GSM", "IRA", "8859-1"};
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CSCS: (\"GSM\",\"IRA\",\"8859-1\")");
        return {};
    case TAtForm::Read:
        lines.push_back("+CSCS: " + Quoted(charset_));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        for (const char* charset : kCharsets)
            if (params.size() == 1 && params[0].text == charset) {
                charset_ = charset;
                return {};
            }
        return CmeError(kCmeNotSupported);
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::OwnNumber(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Action) {
        const TAddress own = TAddress::FromText(settings_.ownNumber);
        lines.push_back("+CNUM: ," + Quoted(own.Text()) + "," + std::to_string(own.type));
    }
    return {};
}

TAtDevice::TFinal TAtDevice::ErrorReporting(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CMEE: (0-2)");
        return {};
    case TAtForm::Read:
        lines.push_back("+CMEE: " + std::to_string(cmee_));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int level = 0;
        if (params.size() > 1 || (!params.empty() && !ParamToInt(params[0], 0, 2, level)))
            return CmeError(kCmeNotSupported);
        cmee_ = level;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

// ---- Message service settings -------------------------------------------------------------

TAtDevice::TFinal TAtDevice::PreferredStorage(const TAtCommand& command, TLines& lines)
{
    static const char* const kReadable[] = {"SM", "ME", "BM"};
    static const char* const kWritable[] = {"SM", "ME"};
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CPMS: (\"SM\",\"ME\",\"BM\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
        return {};
    case TAtForm::Read: {
        std::string line = "+CPMS: ";
        for (int i = 1; i <= 3; ++i) {
            const TMessageStore& store = *Mem(i);
            line += (i > 1 ? "," : "") + Quoted(store.Name()) + "," + std::to_string(store.Used()) +
                    "," + std::to_string(store.Capacity());
        }
        lines.push_back(line);
        return {};
    }
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        if (params.empty() || params.size() > 3)
            return {TFinal::Cms, kCmsNotAllowed};
        std::string chosen[3] = {mem_[0], mem_[1], mem_[2]};
        for (size_t i = 0; i < params.size(); ++i) {
            bool known = false;
            if (i == 0)
                for (const char* name : kReadable)
                    known = known || params[i].text == name;
            else
                for (const char* name : kWritable)
                    known = known || params[i].text == name;
            if (!known)
                return {TFinal::Cms, kCmsNotAllowed};
            chosen[i] = params[i].text;
        }
        std::string line = "+CPMS: ";
        for (int i = 0; i < 3; ++i) {
            mem_[i] = chosen[i];
            const TMessageStore& store = *Mem(i + 1);
            line += (i ? "," : "") + std::to_string(store.Used()) + "," + std::to_string(store.Capacity());
        }
        lines.push_back(line);
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::MessageService(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CSMS: (0,1)");
        return {};
    case TAtForm::Read:
        lines.push_back("+CSMS: " + std::to_string(service_) + ",1,1,1");
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int service;
        if (params.size() != 1 || !ParamToInt(params[0], 0, 1, service))
            return {TFinal::Cms, kCmsNotSupported};
        service_ = service;
        lines.push_back("+CSMS: 1,1,1");
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::ServiceCentre(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        return {};
    case TAtForm::Read:
        lines.push_back("+CSCA: " + Quoted(serviceCentre_.Text()) + "," +
                        std::to_string(serviceCentre_.type));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        if (params.empty() || params.size() > 2 || !params[0].quoted)
            return {TFinal::Cms, kCmsNotAllowed};
        TAddress address = TAddress::FromText(params[0].text);
        int type = address.type;
        if (params.size() == 2 && !ParamToInt(params[1], 0, 255, type))
            return {TFinal::Cms, kCmsNotAllowed};
        if (!address.IsValid())
            return {TFinal::Cms, kCmsNotAllowed};
        address.type = static_cast<uint8_t>(type);
        serviceCentre_ = address;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::MessageFormat(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test: {
        const bool pdu = profile_.formats & kFormatPdu;
        const bool text = profile_.formats & kFormatText;
        lines.push_back(std::string("+CMGF: ") + (pdu && text ? "(0,1)" : pdu ? "(0)" : "(1)"));
        return {};
    }
    case TAtForm::Read:
        lines.push_back("+CMGF: " + std::to_string(format_));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int format = 0;
        if (params.size() > 1 || (!params.empty() && !ParamToInt(params[0], 0, 1, format)))
            return {TFinal::Cms, kCmsNotSupported};
        if (!(profile_.formats & (format ? kFormatText : kFormatPdu)))
            return {TFinal::Cms, kCmsNotSupported};
        format_ = format;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::ShowTextParameters(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back("+CSDH: (0,1)");
        return {};
    case TAtForm::Read:
        lines.push_back(std::string("+CSDH: ") + (showText_ ? "1" : "0"));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        int show = 0;
        if (params.size() > 1 || (!params.empty() && !ParamToInt(params[0], 0, 1, show)))
            return {TFinal::Cms, kCmsNotSupported};
        showText_ = show == 1;
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

TAtDevice::TFinal TAtDevice::TextParameters(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Read) {
        lines.push_back(Printf("+CSMP: %d,%d,%d,%d", smp_[0], smp_[1], smp_[2], smp_[3]));
        return {};
    }
    if (command.form == TAtForm::Test)
        return {};
    if (command.form != TAtForm::Set)
        return {TFinal::Error};
    const std::vector<TAtParam> params = SplitParams(command.args);
    if (params.size() > 4)
        return {TFinal::Cms, kCmsInvalidTextParameter};
    int values[4] = {smp_[0], smp_[1], smp_[2], smp_[3]};
    for (size_t i = 0; i < params.size(); ++i) {
        // An absolute or enhanced validity period comes quoted; the simulated network ignores it.
        if (params[i].Empty() || (i == 1 && params[i].quoted))
            continue;
        if (!ParamToInt(params[i], 0, 255, values[i]))
            return {TFinal::Cms, kCmsInvalidTextParameter};
    }
    for (int i = 0; i < 4; ++i)
        smp_[i] = values[i];
    return {};
}

TAtDevice::TFinal TAtDevice::Indications(const TAtCommand& command, TLines& lines)
{
    switch (command.form) {
    case TAtForm::Test:
        lines.push_back(std::string("+CNMI: ") + profile_.cnmiTest);
        return {};
    case TAtForm::Read:
        lines.push_back(Printf("+CNMI: %d,%d,%d,%d,%d", cnmi_[0], cnmi_[1], cnmi_[2], cnmi_[3], cnmi_[4]));
        return {};
    case TAtForm::Set: {
        const std::vector<TAtParam> params = SplitParams(command.args);
        const std::vector<TAtParam> lists = SplitParams(profile_.cnmiTest);
        if (params.empty() || params.size() > 5)
            return {TFinal::Cms, kCmsNotSupported};
        int values[5];
        for (size_t i = 0; i < 5; ++i) {
            values[i] = cnmi_[i];
            if (i >= params.size() || params[i].Empty())
                continue;
            if (!ParamToInt(params[i], 0, 9, values[i]) || i >= lists.size() ||
                !RangeSet(lists[i].text).count(values[i]))
                return {TFinal::Cms, kCmsNotSupported};
        }
        for (size_t i = 0; i < 5; ++i)
            cnmi_[i] = values[i];
        if (cnmi_[0] != 0) {
            // Leaving buffering mode: flush the held indications after the result, or drop them.
            if (cnmi_[4] == 0)
                deferred_.insert(deferred_.end(), buffered_.begin(), buffered_.end());
            buffered_.clear();
        }
        return {};
    }
    default:
        return {TFinal::Error};
    }
}

// ---- Sending ------------------------------------------------------------------------------

TAtDevice::TFinal TAtDevice::SendMessage(const TAtCommand& command, TLines&)
{
    if (command.form == TAtForm::Test)
        return {};
    if (command.form != TAtForm::Set)
        return {TFinal::Error};
    const std::vector<TAtParam> params = SplitParams(command.args);
    pending_ = TPendingSend{};
    pending_.command = command.name == "+CMGC";
    if (format_ == 0) {
        if (params.size() != 1 || !ParamToInt(params[0], 1, 255, pending_.length))
            return {TFinal::Cms, kCmsInvalidPduParameter};
        return {TFinal::Prompt};
    }
    // Text mode: +CMGS=da[,toda] or +CMGC=fo,ct[,pid,mn[,da[,toda]]].
    const size_t addressAt = pending_.command ? 4 : 0;
    if (pending_.command) {
        if (params.size() < 2 || !ParamToInt(params[0], 0, 255, pending_.firstOctet) ||
            !ParamToInt(params[1], 0, 255, pending_.commandType))
            return {TFinal::Cms, kCmsInvalidTextParameter};
        if (params.size() <= addressAt)
            return {TFinal::Prompt};
    }
    if (params.size() <= addressAt || !params[addressAt].quoted)
        return {TFinal::Cms, kCmsInvalidTextParameter};
    pending_.destination = TAddress::FromText(params[addressAt].text);
    int type = pending_.destination.type;
    if (params.size() > addressAt + 1 && !ParamToInt(params[addressAt + 1], 0, 255, type))
        return {TFinal::Cms, kCmsInvalidTextParameter};
    pending_.destination.type = static_cast<uint8_t>(type);
    if (!pending_.destination.IsValid() || pending_.destination.digits.empty())
        return {TFinal::Cms, kCmsInvalidTextParameter};
    return {TFinal::Prompt};
}

int TAtDevice::TakeReference()
{
    const int reference = nextReference_;
    nextReference_ = (nextReference_ + 1) % 256;
    return reference;
}

void TAtDevice::FinishSend()
{
    prompt_ = false;
    TLines lines;
    int reference = 0;
    const bool registered = registration_ == kRegisteredHome || registration_ == kRegisteredRoaming;
    TFinal final;
    if (!registered)
        final = {TFinal::Cms, kCmsNoNetwork};
    else if (format_ == 0)
        final = SendPdu(pending_.body, reference);
    else
        final = SendText(reference);
    if (final.kind == TFinal::Ok)
        lines.push_back((pending_.command ? "+CMGC: " : "+CMGS: ") + std::to_string(reference));
    EmitLines(lines);
    EmitFinal(final);
    FlushUnsolicited();
}

TAtDevice::TFinal TAtDevice::SendText(int& reference)
{
    if (serviceCentre_.digits.empty())
        return {TFinal::Cms, kCmsScaUnknown};
    if (pending_.command) {
        reference = TakeReference();
        return {};
    }
    TSubmit submit;
    submit.firstOctet = static_cast<uint8_t>((smp_[0] & ~kMtiMask) | kMtiSubmit);
    if ((submit.firstOctet & kVpfMask) == kVpfRelative)
        submit.validity = std::string(1, static_cast<char>(smp_[1]));
    else
        submit.firstOctet &= static_cast<uint8_t>(~kVpfMask);
    submit.pid = static_cast<uint8_t>(smp_[2]);
    submit.dcs = static_cast<uint8_t>(smp_[3]);
    submit.destination = pending_.destination;
    if (AlphabetOf(submit.dcs) == TAlphabet::Default) {
        if (IsoToGsm(pending_.body).size() > 160)
            return {TFinal::Cms, kCmsInvalidTextParameter};
        submit.ud = EncodeText(pending_.body, submit.dcs);
    } else {
        // Other alphabets travel as hexadecimal text in text mode.
        std::string octets;
        if (!ParseHex(pending_.body, octets) || octets.size() > 140)
            return {TFinal::Cms, kCmsInvalidTextParameter};
        submit.ud = {static_cast<uint8_t>(octets.size()), octets};
    }
    reference = Dispatch(submit);
    return {};
}

TAtDevice::TFinal TAtDevice::SendPdu(const std::string& hex, int& reference)
{
    std::string octets;
    if (!ParseHex(hex, octets) || octets.empty())
        return {TFinal::Cms, kCmsInvalidPduParameter};
    std::string_view tpdu = octets;
    bool serviceCentreKnown = !serviceCentre_.digits.empty();
    if (profile_.pduHasSca) {
        const size_t fieldLength = 1 + static_cast<uint8_t>(octets[0]);
        if (fieldLength > octets.size())
            return {TFinal::Cms, kCmsInvalidPduParameter};
        serviceCentreKnown = serviceCentreKnown || fieldLength > 1;
        tpdu.remove_prefix(fieldLength);
    }
    if (!profile_.fixedSubmitLength && tpdu.size() != static_cast<size_t>(pending_.length))
        return {TFinal::Cms, kCmsInvalidPduParameter};
    if (!serviceCentreKnown)
        return {TFinal::Cms, kCmsScaUnknown};
    try {
        if (pending_.command) {
            ParseCommand(tpdu);
            reference = TakeReference();
        } else {
            reference = Dispatch(ParseSubmit(tpdu));
        }
        return {};
    } catch (const EPduError&) {
        return {TFinal::Cms, kCmsInvalidPduParameter};
    }
}

int TAtDevice::Dispatch(const TSubmit& submit)
{
    const int reference = TakeReference();
    host_.Send(submit, TAddress::FromText(settings_.ownNumber));
    if (submit.firstOctet & kStatusReportFlag) {
        TStatusReport report;
        report.reference = static_cast<uint8_t>(reference);
        report.recipient = submit.destination;
        host_.After(settings_.reportDelayMs, [this, report]() mutable {
            report.serviceCentreTime = report.dischargeTime = CurrentTimeStamp();
            ReportStatus(report);
        });
    }
    return reference;
}

// ---- Incoming -----------------------------------------------------------------------------

std::string TAtDevice::PduWithServiceCentre(const TStoredMessage& message) const
{
    if (!profile_.pduHasSca || message.kind == TStoredKind::CellBroadcast)
        return ToHex(message.tpdu);
    return ToHex(EncodeServiceCentreField(TAddress::FromText(message.serviceCentre)) + message.tpdu);
}

std::string TAtDevice::StorageIndication(const TMessageStore& store, int index) const
{
    if (profile_.mtStorage && store.Name() != "BM")
        return "\"MT\"," + std::to_string(store.Name() == "SM" ? index : index + settings_.simCapacity);
    return Quoted(store.Name()) + "," + std::to_string(index);
}

void TAtDevice::StoreIncoming(TStoredMessage message, bool announce)
{
    const char* indication = message.kind == TStoredKind::StatusReport ? "+CDSI: " : "+CMTI: ";
    TMessageStore* store = Mem(3);
    if (store->Full() && profile_.mtStorage)
        store = Store(store->Name() == "SM" ? "ME" : "SM");
    if (store->Full()) {
        // The network keeps what the device cannot take and offers it again when space frees.
        if (message.kind == TStoredKind::Deliver)
            waiting_.push_back(std::move(message));
        return;
    }
    const int index = store->Add(std::move(message));
    if (announce) {
        const std::string text = indication + StorageIndication(*store, index);
        if (cnmi_[0] == 0) {
            if (buffered_.size() < kMaxBuffered)
                buffered_.push_back(text);
        } else {
            Unsolicited(text);
        }
    }
}

void TAtDevice::ReceiveSms(const TIncomingSms& sms)
{
    TDeliver deliver;
    deliver.firstOctet = static_cast<uint8_t>(
        kMtiDeliver | kMoreMessagesAbsent | (sms.flags & (kUdhi | kReplyPath | kStatusReportFlag)));
    deliver.originator = sms.originator;
    deliver.pid = sms.pid;
    deliver.dcs = sms.dcs;
    deliver.timeStamp = CurrentTimeStamp();
    deliver.ud = sms.ud;
    RouteDeliver(BuildDeliver(deliver));
}

void TAtDevice::RouteDeliver(const std::string& tpdu)
{
    const TDeliver deliver = ParseDeliver(tpdu);
    const int messageClass = MessageClassOf(deliver.dcs);
    const int mt = cnmi_[1];
    const bool routed = (mt == 2 && messageClass != 2) || (mt == 3 && messageClass == 3);
    TStoredMessage message{kRecUnread, TStoredKind::Deliver, tpdu, serviceCentre_.Text()};
    if (!routed) {
        StoreIncoming(std::move(message), mt != 0);
        return;
    }
    std::string text;
    if (format_ == 0) {
        text = "+CMT: ," + std::to_string(tpdu.size()) + "\r\n" + PduWithServiceCentre(message);
    } else {
        text = "+CMT: " + Quoted(deliver.originator.Text()) + ",," + Quoted(TextTimeStamp(deliver.timeStamp));
        if (showText_)
            text += Printf(",%d,%d,%d,%d,", deliver.originator.type, deliver.firstOctet, deliver.pid,
                           deliver.dcs) +
                    Quoted(serviceCentre_.Text()) +
                    Printf(",%d,%d", serviceCentre_.type, deliver.ud.length);
        text += "\r\n" + DecodeText(deliver.ud, deliver.dcs, deliver.firstOctet & kUdhi);
    }
    if (cnmi_[0] == 0) {
        // A routed message cannot wait in the buffer: the network gets it stored instead.
        StoreIncoming(std::move(message), false);
        return;
    }
    Unsolicited(text);
    if (service_ == 1)
        ExpectAcknowledgement(tpdu);
}

void TAtDevice::ExpectAcknowledgement(const std::string& tpdu)
{
    const int sequence = ++ackSequence_;
    unacknowledged_[sequence] = tpdu;
    host_.After(settings_.ackTimeoutMs, [this, sequence] {
        if (!unacknowledged_.count(sequence))
            return;
        // No acknowledgement in time: the device turns routing off and keeps the messages.
        cnmi_[1] = cnmi_[3] = 0;
        for (auto& [seq, pdu] : unacknowledged_)
            if ((static_cast<uint8_t>(pdu[0]) & kMtiMask) == kMtiDeliver)
                StoreIncoming({kRecUnread, TStoredKind::Deliver, pdu, serviceCentre_.Text()}, false);
        unacknowledged_.clear();
    });
}

TAtDevice::TFinal TAtDevice::Acknowledge(const TAtCommand& command, TLines&)
{
    if (command.form == TAtForm::Test)
        return {};
    if (service_ == 0 || unacknowledged_.empty())
        return {TFinal::Cms, kCmsNoAckExpected};
    unacknowledged_.erase(unacknowledged_.begin());
    return {};
}

void TAtDevice::ReportStatus(const TStatusReport& report)
{
    const std::string tpdu = BuildStatusReport(report);
    TStoredMessage message{kRecUnread, TStoredKind::StatusReport, tpdu, serviceCentre_.Text()};
    switch (cnmi_[3]) {
    case 1: {
        std::string text;
        if (format_ == 0)
            text = "+CDS: " + std::to_string(tpdu.size()) + "\r\n" + PduWithServiceCentre(message);
        else
            text = Printf("+CDS: %d,%d,", report.firstOctet, report.reference) +
                   Quoted(report.recipient.Text()) + "," + std::to_string(report.recipient.type) + "," +
                   Quoted(TextTimeStamp(report.serviceCentreTime)) + "," +
                   Quoted(TextTimeStamp(report.dischargeTime)) + "," + std::to_string(report.status);
        if (cnmi_[0] == 0)
            return;
        Unsolicited(text);
        if (service_ == 1)
            ExpectAcknowledgement(tpdu);
        return;
    }
    case 2:
        StoreIncoming(std::move(message), true);
        return;
    default:
        return;
    }
}

void TAtDevice::ReceiveCellBroadcast(const std::string& page)
{
    const int bm = cnmi_[2];
    if (bm == 0 || page.size() < 6)
        return;
    const uint8_t dcs = static_cast<uint8_t>(page[4]);
    const bool routed = bm == 2 || (bm == 3 && MessageClassOf(dcs) == 3);
    if (!routed) {
        TMessageStore& store = *Store("BM");
        if (store.Full())
            store.Remove(store.Indices().front());
        const int index = store.Add({kRecUnread, TStoredKind::CellBroadcast, page, ""});
        Unsolicited("+CBMI: \"BM\"," + std::to_string(index));
        return;
    }
    if (cnmi_[0] == 0)
        return;
    if (format_ == 0) {
        Unsolicited("+CBM: " + std::to_string(page.size()) + "\r\n" + ToHex(page));
        return;
    }
    const int serial = static_cast<uint8_t>(page[0]) << 8 | static_cast<uint8_t>(page[1]);
    const int id = static_cast<uint8_t>(page[2]) << 8 | static_cast<uint8_t>(page[3]);
    const uint8_t pages = static_cast<uint8_t>(page[5]);
    std::string text = GsmToIso(UnpackSeptets(std::string_view(page).substr(6), 93));
    text.erase(text.find_last_not_of('\r') + 1);
    Unsolicited(Printf("+CBM: %d,%d,%d,%d,%d", serial, id, dcs, pages >> 4, pages & 0x0F) + "\r\n" + text);
}

// ---- Reading, listing, deleting -----------------------------------------------------------

void TAtDevice::ListEntry(TMessageStore& store, int index, TLines& lines, bool list)
{
    TStoredMessage& message = *store.Find(index);
    const std::string prefix = list ? "+CMGL: " + std::to_string(index) + "," : "+CMGR: ";
    if (format_ == 0) {
        lines.push_back(prefix + std::to_string(message.status) + ",," +
                        std::to_string(message.tpdu.size()));
        lines.push_back(PduWithServiceCentre(message));
        return;
    }
    const std::string status = Quoted(kStatusTexts[message.status]);
    switch (message.kind) {
    case TStoredKind::Deliver: {
        const TDeliver deliver = ParseDeliver(message.tpdu);
        std::string header = prefix + status + "," + Quoted(deliver.originator.Text()) + ",," +
                             Quoted(TextTimeStamp(deliver.timeStamp));
        if (showText_ && list)
            header += Printf(",%d,%d", deliver.originator.type, deliver.ud.length);
        else if (showText_)
            header += Printf(",%d,%d,%d,%d,", deliver.originator.type, deliver.firstOctet, deliver.pid,
                             deliver.dcs) +
                      Quoted(message.serviceCentre) +
                      Printf(",%d,%d", TAddress::FromText(message.serviceCentre).type, deliver.ud.length);
        lines.push_back(header);
        lines.push_back(DecodeText(deliver.ud, deliver.dcs, deliver.firstOctet & kUdhi));
        return;
    }
    case TStoredKind::StatusReport: {
        const TStatusReport report = ParseStatusReport(message.tpdu);
        lines.push_back(prefix + status + Printf(",%d,%d,", report.firstOctet, report.reference) +
                        Quoted(report.recipient.Text()) + "," + std::to_string(report.recipient.type) +
                        "," + Quoted(TextTimeStamp(report.serviceCentreTime)) + "," +
                        Quoted(TextTimeStamp(report.dischargeTime)) + "," + std::to_string(report.status));
        return;
    }
    case TStoredKind::CellBroadcast: {
        const std::string& page = message.tpdu;
        const int serial = static_cast<uint8_t>(page[0]) << 8 | static_cast<uint8_t>(page[1]);
        const int id = static_cast<uint8_t>(page[2]) << 8 | static_cast<uint8_t>(page[3]);
        const uint8_t pages = static_cast<uint8_t>(page[5]);
        std::string text = GsmToIso(UnpackSeptets(std::string_view(page).substr(6), 93));
        text.erase(text.find_last_not_of('\r') + 1);
        lines.push_back(prefix + status + Printf(",%d,%d,%d,%d", serial, id, pages >> 4, pages & 0x0F));
        lines.push_back(text);
        return;
    }
    }
}

TAtDevice::TFinal TAtDevice::ReadMessage(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Test)
        return {};
    const std::vector<TAtParam> params = SplitParams(command.args);
    int index;
    if (command.form != TAtForm::Set || params.size() != 1 || !ParamToInt(params[0], 0, 9999, index))
        return {TFinal::Cms, format_ ? kCmsInvalidTextParameter : kCmsInvalidPduParameter};
    TMessageStore& store = *Mem(1);
    TStoredMessage* message = store.Find(index);
    if (!message)
        return {TFinal::Cms, kCmsInvalidIndex};
    ListEntry(store, index, lines, false);
    if (message->status == kRecUnread)
        message->status = kRecRead;
    return {};
}

TAtDevice::TFinal TAtDevice::ListMessages(const TAtCommand& command, TLines& lines)
{
    if (command.form == TAtForm::Test) {
        lines.push_back(format_ == 0 ? "+CMGL: (0-4)"
                                     : "+CMGL: (\"REC UNREAD\",\"REC READ\",\"STO UNSENT\",\"STO SENT\",\"ALL\")");
        return {};
    }
    int filter = settings_.listAllByDefault ? kStatusAll : kRecUnread;
    const std::vector<TAtParam> params = SplitParams(command.args);
    if (command.form == TAtForm::Read || params.size() > 1)
        return {TFinal::Error};
    if (!params.empty() && !params[0].Empty()) {
        if (format_ == 0 && !ParamToInt(params[0], 0, kStatusAll, filter))
            return {TFinal::Cms, kCmsInvalidPduParameter};
        if (format_ == 1 && (!params[0].quoted || (filter = StatusNumber(params[0].text)) < 0))
            return {TFinal::Cms, kCmsInvalidTextParameter};
    }
    TMessageStore& store = *Mem(1);
    for (int index : store.Indices()) {
        TStoredMessage& message = *store.Find(index);
        if (filter != kStatusAll && message.status != filter)
            continue;
        ListEntry(store, index, lines, true);
        if (message.status == kRecUnread)
            message.status = kRecRead;
    }
    return {};
}

TAtDevice::TFinal TAtDevice::DeleteMessage(const TAtCommand& command, TLines& lines)
{
    TMessageStore& store = *Mem(1);
    if (command.form == TAtForm::Test) {
        std::string used;
        for (int index : store.Indices())
            used += (used.empty() ? "" : ",") + std::to_string(index);
        lines.push_back("+CMGD: (" + used + "),(0-4)");
        return {};
    }
    const std::vector<TAtParam> params = SplitParams(command.args);
    int index, flag = 0;
    if (command.form != TAtForm::Set || params.empty() || params.size() > 2 ||
        !ParamToInt(params[0], 0, 9999, index) ||
        (params.size() == 2 && !ParamToInt(params[1], 0, 4, flag)))
        return {TFinal::Cms, format_ ? kCmsInvalidTextParameter : kCmsInvalidPduParameter};
    if (flag == 0) {
        if (!store.Remove(index))
            return {TFinal::Cms, kCmsInvalidIndex};
    } else {
        // Rows: the delete flag; columns: the message status.
        static constexpr bool kDeletes[5][4] = {
            {false, false, false, false}, {false, true, false, false}, {false, true, false, true},
            {false, true, true, true},    {true, true, true, true},
        };
        for (int i : store.Indices())
            if (kDeletes[flag][store.Find(i)->status])
                store.Remove(i);
    }
    while (!waiting_.empty() && !Mem(3)->Full()) {
        TStoredMessage message = std::move(waiting_.front());
        waiting_.pop_front();
        StoreIncoming(std::move(message), cnmi_[1] != 0);
    }
    return {};
}

}  // namespace sim
