// gwautomate: drives the Celvane control from the command line, the way a script host does:
// it creates the control by class id, calls it through ICelvane and receives its events
// through a sink. The control library must be registered first (gwregsvr libcelvane.so).
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "control/celvane_events.h"
#include "control/celvane_tlb.h"
#include "platform/com/co_create.h"
#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"
#include "platform/com/strings_adapter.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/string_list.h"
#include "tools/automate/text_output.h"

namespace {

constexpr const char* kUsage =
    "Usage: gwautomate [OPTIONS] COMMAND [ARGUMENTS]\n"
    "Drives a GSM modem through the Celvane control.\n"
    "\n"
    "Options:\n"
    "  --port DEVICE     serial port: a path, or ComN as published in the port directory\n"
    "                    (default: the control's Com2)\n"
    "  --model NAME      device model by its short name, e.g. TC35, M20, WaveCom (default M1)\n"
    "  --pin PIN         the SIM's PIN, when it asks for one\n"
    "  --format pdu|text message format (default pdu)\n"
    "  --timeout MS      how long to wait for each reply (default 6000)\n"
    "  --help            this text\n"
    "\n"
    "Commands:\n"
    "  send NUMBER TEXT [--report]   send a text message; --report asks for a delivery report\n"
    "  list [all|unread|read|unsent|sent]   the stored messages (default all)\n"
    "  read INDEX                    one stored message\n"
    "  delete INDEX                  delete a stored message\n"
    "  at COMMAND                    run a raw AT command and print the reply\n"
    "  monitor [--log] [--poll SECONDS]\n"
    "                                print every event until interrupted (Ctrl-C): messages,\n"
    "                                registration, busy state; --log adds the serial traffic\n"
    "                                and the lines the device sends;\n"
    "                                stored messages are reported and deleted every SECONDS\n"
    "                                (default 10, 0: never)\n"
    "\n"
    "The control is found in the object registry ($GATEWAY_REGISTRY, else the user's).\n";

constexpr int kMaxTextLength = 160;
constexpr uint8_t kWaitForFinalResult = 1 | 64;  // atrCode | atrErrorCode: ERROR is an answer too
constexpr uint8_t kDcsAlphabetMask = 0x0C;
constexpr uint8_t kDcsUcs2 = 0x08;
constexpr uint8_t kDcs8Bit = 0x04;

const std::map<std::string, int32_t> kListStatus = {
    {"unread", 0}, {"read", 1}, {"unsent", 2}, {"sent", 3}, {"all", 4}};
const char* const kRegistration[] = {"not registered", "registered, home network", "searching", "denied", "unknown",
                                     "registered, roaming"};

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Description(HRESULT hr)
{
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Out()) == S_OK && SUCCEEDED(info->GetDescription(description.Out())) &&
        description.Length())
        return ToUtf8(description.View());
    return StatusText(hr);
}

void Check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        throw Failure(what + ": " + Description(hr));
}

Bstr Text(std::string_view utf8)
{
    return Bstr(FromUtf8(utf8));
}

std::string Get(ICelvane* c, HRESULT (ICelvane::*getter)(BSTR*))
{
    Bstr value;
    (c->*getter)(value.Out());
    return ToUtf8(value.View());
}

struct Options {
    std::string port;
    std::string model;
    std::string pin;
    std::string format;
    int timeout = -1;
    bool report = false;
    bool log = false;
    int poll = 10;
    std::vector<std::string> arguments;  // the command first
};

int ParseNumber(const std::string& text, const char* what)
{
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    throw Failure(std::string(what) + " is not a number: " + text);
}

Options Parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw Failure(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--port") {
            o.port = value();
        } else if (arg == "--model") {
            o.model = value();
        } else if (arg == "--pin") {
            o.pin = value();
        } else if (arg == "--format") {
            o.format = value();
            if (o.format != "pdu" && o.format != "text")
                throw Failure("--format is pdu or text, not " + o.format);
        } else if (arg == "--timeout") {
            o.timeout = ParseNumber(value(), "--timeout");
        } else if (arg == "--report") {
            o.report = true;
        } else if (arg == "--log") {
            o.log = true;
        } else if (arg == "--poll") {
            o.poll = ParseNumber(value(), "--poll");
        } else if (arg.starts_with("--")) {
            throw Failure("unknown option " + arg + " (try --help)");
        } else {
            o.arguments.push_back(arg);
        }
    }
    if (o.arguments.empty())
        throw Failure("no command given (try --help)");
    return o;
}

std::mutex outputLock;

void Print(const std::string& line)
{
    std::lock_guard lock(outputLock);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// The control, its helper object and the sink its events come to.
class Session {
public:
    explicit Session(const Options& options)
    {
        HRESULT hr = CoCreateInstance(celvane::CLSID_Celvane, nullptr, ICelvane::kIID,
                                      reinterpret_cast<void**>(control_.Out()));
        if (hr == REGDB_E_CLASSNOTREG)
            throw Failure("the Celvane control is not registered: run gwregsvr on libcelvane.so first");
        Check(hr, "cannot create the Celvane control");
        Check(CoCreateInstance(celvane::CLSID_Global, nullptr, IGlobal::kIID, reinterpret_cast<void**>(global_.Out())),
              "cannot create the Celvane helper object");
        if (!options.port.empty())
            Check(control_->put_DeviceName(Text(options.port).Get()), "port " + options.port);
        if (!options.model.empty()) {
            int32_t model = 0;
            Check(global_->Str2GMSEquipment(Text(options.model).Get(), &model), "model " + options.model);
            Check(control_->put_Equipment(model), "model " + options.model);
        }
        if (!options.pin.empty())
            Check(control_->put_PIN(Text(options.pin).Get()), "PIN");
        if (!options.format.empty())
            Check(control_->put_SMSFormat(options.format == "text" ? 1 : 0), "format " + options.format);
        if (options.timeout >= 0)
            control_->put_RecTimeout(options.timeout);
    }
    ~Session()
    {
        if (control_)
            control_->put_Active(VARIANT_FALSE);
        if (cookie_)
            DisconnectEvents(control_.Get(), cookie_);
    }

    void Listen(CelvaneEventSink::Handler handler)
    {
        sink_ = MakeComObject<CelvaneEventSink>(std::move(handler));
        Check(ConnectEvents(control_.Get(), sink_.Get(), &cookie_), "cannot receive the control's events");
    }

    void Connect()
    {
        Check(control_->put_Active(VARIANT_TRUE), "cannot connect to " + Get(control_.Get(), &ICelvane::get_DeviceName));
    }

    ICelvane* Control() const { return control_.Get(); }
    IGlobal* Global() const { return global_.Get(); }

    // A message object as one line.
    std::string Describe(ISMS* sms) const
    {
        if (!sms)
            return "(no message)";
        if (auto deliver = ComPtr<ISMS>(sms).Query<ISMSDeliver>()) {
            Bstr oa;
            DATE scts = 0;
            deliver->get_OA(oa.Out());
            deliver->get_SCTS(&scts);
            return "from " + ToUtf8(oa.View()) + " at " + FormatDate(scts) + ": " + Body(deliver.Get());
        }
        if (auto report = ComPtr<ISMS>(sms).Query<ISMSStatusReport>()) {
            Bstr oa;
            uint8_t mr = 0, status = 0;
            report->get_OA(oa.Out());
            report->get_MR(&mr);
            report->get_Status(&status);
            return "status report for message " + std::to_string(mr) + " to " + ToUtf8(oa.View()) + ": " +
                   (status == 0 ? "delivered" : "status " + std::to_string(status));
        }
        if (auto submit = ComPtr<ISMS>(sms).Query<ISMSSubmit>()) {
            Bstr da;
            submit->get_DA(da.Out());
            return "to " + ToUtf8(da.View()) + ": " + Body(submit.Get());
        }
        if (auto page = ComPtr<ISMS>(sms).Query<ICellBroadcast>()) {
            uint16_t id = 0;
            uint8_t current = 0, total = 0;
            Bstr ud, text;
            page->get_MessageId(&id);
            page->get_CurrentPageNumber(&current);
            page->get_TotalPageNumber(&total);
            page->get_UD(ud.Out());
            global_->SMSToISO(ud.Get(), text.Out());
            return "cell broadcast " + std::to_string(id) + " page " + std::to_string(current) + "/" +
                   std::to_string(total) + ": " + ToUtf8(text.View());
        }
        Bstr pdu;
        sms->get_PDU(pdu.Out());
        return "PDU " + pdu.Narrow();
    }

private:
    std::string Body(ISMS2* sms) const
    {
        uint8_t dcs = 0;
        sms->get_DCS(&dcs);
        Bstr text;
        if ((dcs & kDcsAlphabetMask) == kDcsUcs2) {
            sms->get_WideUD(text.Out());
        } else {
            Bstr ud;
            sms->get_UD(ud.Out());
            if ((dcs & kDcsAlphabetMask) == kDcs8Bit)
                return "(8-bit data, " + std::to_string(ud.Length()) + " octets)";
            global_->SMSToISO(ud.Get(), text.Out());
        }
        return ToUtf8(text.View());
    }

    ComPtr<ICelvane> control_;
    ComPtr<IGlobal> global_;
    ComPtr<CelvaneEventSink> sink_;
    uint32_t cookie_ = 0;
};

void Need(const Options& o, size_t count, const char* usage)
{
    if (o.arguments.size() != count + 1)
        throw Failure(std::string("usage: gwautomate [OPTIONS] ") + usage);
}

int Send(const Options& o)
{
    Need(o, 2, "send NUMBER TEXT [--report]");
    Session session(o);
    session.Connect();
    Bstr codes;
    Check(session.Global()->ISOToSMS(Text(o.arguments[2]).Get(), codes.Out()), "text");
    std::u16string ud(codes.View().substr(0, kMaxTextLength));
    ComPtr<ISMSSubmit> sms;
    Check(CoCreateInstance(celvane::CLSID_SMSSubmit, nullptr, ISMSSubmit::kIID, reinterpret_cast<void**>(sms.Out())),
          "cannot create a message");
    Check(sms->put_DA(Text(o.arguments[1]).Get()), "number");
    Check(sms->put_UD(Bstr(ud).Get()), "text");
    Check(sms->put_DCS(0), "text");
    Check(sms->put_SRR(ToVariantBool(o.report)), "report");
    Check(session.Control()->SendSMS(sms.Get()), "send");
    Print("sent to " + o.arguments[1] + (o.report ? ", delivery report requested" : ""));
    if (ud.size() < codes.Length())
        Print("(cut to " + std::to_string(kMaxTextLength) + " characters)");
    return 0;
}

int List(const Options& o)
{
    if (o.arguments.size() > 2)
        throw Failure("usage: gwautomate [OPTIONS] list [all|unread|read|unsent|sent]");
    const std::string which = o.arguments.size() == 2 ? o.arguments[1] : "all";
    auto status = kListStatus.find(which);
    if (status == kListStatus.end())
        throw Failure("list takes all, unread, read, unsent or sent, not " + which);
    Session session(o);
    session.Connect();
    ComPtr<IStrings2> list;
    Check(session.Control()->GetSMSList(status->second, list.Out()), "list");
    int32_t count = 0;
    list->Count(&count);
    for (int32_t i = 0; i < count; ++i) {
        Bstr entry;
        list->get_Item(i, entry.Out());
        Variant object;
        list->get_Objects(i, &object);
        ComPtr<ISMS> sms;
        if (object.vt == VT_DISPATCH && object.pdispVal)
            object.pdispVal->QueryInterface(IID_PPV_ARGS(sms.Out()));
        const std::string text = entry.Narrow();
        const auto equals = text.find('=');
        Print("[" + text.substr(0, equals) + "] " + (sms ? session.Describe(sms.Get()) : "(not decoded)"));
    }
    Print(std::to_string(count) + " message" + (count == 1 ? "" : "s"));
    return 0;
}

int Read(const Options& o)
{
    Need(o, 1, "read INDEX");
    const int index = ParseNumber(o.arguments[1], "INDEX");
    Session session(o);
    session.Connect();
    int32_t stat = 0;
    ComPtr<ISMS> sms;
    Check(session.Control()->ReadSMS(index, &stat, sms.Out()), "read " + o.arguments[1]);
    if (!sms)
        throw Failure("read " + o.arguments[1] + ": no message there");
    Print("[" + o.arguments[1] + "] " + session.Describe(sms.Get()));
    return 0;
}

int Delete(const Options& o)
{
    Need(o, 1, "delete INDEX");
    const int index = ParseNumber(o.arguments[1], "INDEX");
    Session session(o);
    session.Connect();
    Check(session.Control()->DeleteSMS(index), "delete " + o.arguments[1]);
    Print("deleted " + o.arguments[1]);
    return 0;
}

int At(const Options& o)
{
    Need(o, 1, "at COMMAND");
    Session session(o);
    session.Connect();
    TStringList lines;
    IStrings* reply = nullptr;
    Check(CreateStringsAdapter(lines, &reply), "cannot make a string list");
    int32_t result = 0;
    const HRESULT hr = session.Control()->SendATCommand(Text(o.arguments[1]).Get(), kWaitForFinalResult, &reply, 0,
                                                        &result);
    ComPtr<IStrings> handedBack = ComPtr<IStrings>::Attach(reply);
    Check(hr, o.arguments[1]);
    int32_t count = 0;
    handedBack->Count(&count);
    for (int32_t i = 0; i < count; ++i) {
        Bstr line;
        handedBack->get_Item(i, line.Out());
        Print(ToUtf8(line.View()));
    }
    if (result != 0) {
        Print("ERROR: " + Get(session.Control(), &ICelvane::get_LastErrorMsg));
        return 1;
    }
    Print("OK");
    return 0;
}

std::atomic<bool> interrupted{false};

void Interrupt(int)
{
    interrupted = true;
}

int Monitor(const Options& o)
{
    if (o.arguments.size() != 1)
        throw Failure("usage: gwautomate [OPTIONS] monitor [--log] [--poll SECONDS]");
    Session session(o);
    const bool log = o.log;
    session.Listen([&session, log](DISPID id, const std::vector<Variant>& a) {
        switch (id) {
        case celvane::kOnUnsolicitedSMS: {
            ComPtr<ISMS> sms;
            if (a[1].vt == VT_DISPATCH && a[1].pdispVal)
                a[1].pdispVal->QueryInterface(IID_PPV_ARGS(sms.Out()));
            if (sms)
                Print(std::string(a[0].lVal < 0 ? "message " : "message [" + std::to_string(a[0].lVal) + "] ") +
                      session.Describe(sms.Get()));
            else
                Print("message stored at index " + std::to_string(a[0].lVal));
            break;
        }
        case celvane::kOnNetworkRegistration: {
            const int32_t status = a[0].lVal;
            const bool known = status >= 0 && status < static_cast<int32_t>(std::size(kRegistration));
            Print("registration: " + std::to_string(status) + (known ? std::string(" (") + kRegistration[status] + ")" : ""));
            break;
        }
        case celvane::kOnBusyChanged:
            Print(std::string("busy: ") + (a[0].boolVal != VARIANT_FALSE ? "on" : "off"));
            break;
        case celvane::kOnUnsolicitedLine:
            // The engine passes every line of its own transactions on too: traffic, not news.
            if (log)
                Print("line: " + ToUtf8(a[0].ToWide()));
            break;
        case celvane::kOnLog:
            if (log)
                Print(std::string(a[0].bVal == 1 ? "> " : "< ") + a[1].ToNarrow());
            break;
        default:
            break;  // received characters: the log shows them
        }
    });
    // Messages come to the host as they arrive, status reports too.
    Check(session.Control()->put_UnsolicitedIndication(celvane::kIndicationSMSDeliver |
                                                       celvane::kIndicationSMSStatusReport),
          "indications");
    Check(session.Control()->put_CheckInterval(o.poll), "--poll");
    signal(SIGINT, Interrupt);
    signal(SIGTERM, Interrupt);
    session.Connect();
    Print("monitoring " + Get(session.Control(), &ICelvane::get_DeviceName) + " (Ctrl-C ends)");
    while (!interrupted) {
        try {
            CheckSynchronize(100);
        } catch (const std::exception& e) {
            // A failed poll of the store: reported, and monitoring goes on.
            Print(std::string("error: ") + e.what());
        }
    }
    Print("stopped");
    return 0;
}

const std::map<std::string, int (*)(const Options&)> kCommands = {
    {"send", &Send}, {"list", &List}, {"read", &Read}, {"delete", &Delete}, {"at", &At}, {"monitor", &Monitor},
};

} // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = Parse(argc, argv);
        auto command = kCommands.find(options.arguments[0]);
        if (command == kCommands.end())
            throw Failure("unknown command " + options.arguments[0] + " (try --help)");
        return command->second(options);
    } catch (const Failure& e) {
        std::fprintf(stderr, "gwautomate: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gwautomate: %s\n", e.what());
        return 1;
    }
}
