// pduinspect: decode PDU text into JSON, one object per input line, or build an SMS-SUBMIT.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/cell_broadcast.h"
#include "codec/data_coding_scheme.h"
#include "codec/default_alphabet.h"
#include "codec/sms_submit.h"
#include "codec/user_data.h"
#include "message_json.h"
#include "platform/sys/exception.h"
#include "platform/sys/str_to_int.h"
#include "text_encoding.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  pduinspect decode [--no-sca] [--mo | --mt | --cb] [PDU...]\n"
    "      Decodes each PDU argument, or each line of standard input, and prints one JSON\n"
    "      object per PDU. --no-sca: the PDUs carry no service centre field (as from M1,\n"
    "      Nokia 9110 and WaveCom devices); --mo: from the mobile (submit, command, deliver\n"
    "      report); --mt: towards the mobile (deliver, status report, submit report; the\n"
    "      default); --cb: cell broadcast pages. Blank lines are skipped.\n"
    "  pduinspect encode --da NUMBER (--text TEXT | --ucs2 TEXT) [--srr] [--vp SPAN]\n"
    "                    [--dcs N] [--no-sca]\n"
    "      Prints the PDU of an SMS-SUBMIT. TEXT is UTF-8; --text sends it in the GSM\n"
    "      default alphabet, --ucs2 as UCS2. SPAN is a relative validity period such as\n"
    "      30m, 12h, 3d or 2w. --dcs overrides the data coding scheme.\n";

// An engine whose device model leaves the service centre field out.
struct NoServiceCentreField : TSMSOwner {
    bool PDUHasSCA() const override { return false; }
    std::string SCA() const override { return {}; }
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Direction { MobileTerminated, MobileOriginated, CellBroadcast };

struct Decoder {
    TSMSOwner* owner = nullptr;
    Direction direction = Direction::MobileTerminated;

    std::string Json(const std::string& pdu) const
    {
        if (direction == Direction::CellBroadcast) {
            TCellBroadcast page;
            page.SetPDU(pdu);
            return MessageJson(page);
        }
        const auto sms = TSMS2::CreateSMS(owner, pdu, direction == Direction::MobileTerminated);
        if (!sms)
            throw std::runtime_error("no message: reserved message type, or too short for its first octet");
        return MessageJson(*sms);
    }
};

std::string Trim(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

// Decodes one PDU; a failure is reported on both streams and the caller goes on.
bool DecodeOne(const Decoder& decoder, const std::string& pdu, size_t line, std::string& out)
{
    try {
        out += decoder.Json(pdu);
        out.push_back('\n');
        return true;
    } catch (const std::exception& e) {
        out += ErrorJson(line, e.what());
        out.push_back('\n');
        std::fprintf(stderr, "pduinspect: line %zu: %s\n", line, e.what());
        return false;
    }
}

int Decode(const std::vector<std::string>& args)
{
    NoServiceCentreField noField;
    Decoder decoder;
    std::vector<std::string> pdus;
    for (const std::string& arg : args) {
        if (arg == "--no-sca")
            decoder.owner = &noField;
        else if (arg == "--mo")
            decoder.direction = Direction::MobileOriginated;
        else if (arg == "--mt")
            decoder.direction = Direction::MobileTerminated;
        else if (arg == "--cb")
            decoder.direction = Direction::CellBroadcast;
        else if (arg.starts_with("--"))
            throw UsageError("unknown option " + arg);
        else
            pdus.push_back(arg);
    }
    bool ok = true;
    std::string out;
    if (!pdus.empty()) {
        for (size_t i = 0; i < pdus.size(); ++i)
            ok &= DecodeOne(decoder, Trim(pdus[i]), i + 1, out);
        std::fwrite(out.data(), 1, out.size(), stdout);
        return ok ? 0 : 1;
    }
    // Output is gathered and written in blocks: a stream of PDUs is decoded as fast as the
    // codec goes, not as fast as the terminal.
    constexpr size_t kFlushSize = 1 << 16;
    std::ios::sync_with_stdio(false);
    std::string line;
    for (size_t number = 1; std::getline(std::cin, line); ++number) {
        const std::string pdu = Trim(line);
        if (pdu.empty())
            continue;
        ok &= DecodeOne(decoder, pdu, number, out);
        if (out.size() >= kFlushSize) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return ok ? 0 : 1;
}

// "30m", "12h", "3d", "2w" as a span in days.
double ParseSpan(const std::string& text)
{
    struct Unit {
        char suffix;
        double days;
    };
    constexpr Unit kUnits[] = {{'m', 1.0 / 1440}, {'h', 1.0 / 24}, {'d', 1}, {'w', 7}};
    for (const Unit& unit : kUnits) {
        int count = 0;
        if (text.size() > 1 && text.back() == unit.suffix &&
            TryStrToInt(std::string_view(text).substr(0, text.size() - 1), count) && count > 0)
            return count * unit.days;
    }
    throw UsageError("--vp wants a span such as 30m, 12h, 3d or 2w, not '" + text + "'");
}

int Encode(const std::vector<std::string>& args)
{
    NoServiceCentreField noField;
    TSMSSubmit sms;
    bool haveText = false;
    int dcs = -1;
    uint8_t defaultDCS = 0x00;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(arg + " wants a value");
            return args[++i];
        };
        if (arg == "--da") {
            sms.SetDA(value());
        } else if (arg == "--text") {
            sms.SetUD(ISOToSMS(Utf8ToLatin1(value())));
            haveText = true;
            defaultDCS = 0x00;
        } else if (arg == "--ucs2") {
            sms.SetWideUD(Utf8ToUtf16(value()));
            haveText = true;
            defaultDCS = 0x08;
        } else if (arg == "--srr") {
            sms.SetSRR(true);
        } else if (arg == "--vp") {
            sms.SetVPF(kVPFRelative);
            sms.SetVP(ParseSpan(value()));
        } else if (arg == "--dcs") {
            dcs = StrToInt(value());
            if (dcs < 0 || dcs > 0xFF)
                throw UsageError("--dcs wants a value 0-255");
        } else if (arg == "--no-sca") {
            sms.SetGSM(&noField);
        } else {
            throw UsageError("unknown argument " + arg);
        }
    }
    if (!haveText)
        throw UsageError("encode wants --text or --ucs2");
    sms.SetDCS(static_cast<uint8_t>(dcs >= 0 ? dcs : defaultDCS));
    const bool septets = IsDefaultAlphabet(sms.DCS());
    const size_t limit = septets ? kMaxUserDataSeptets : kMaxUserDataOctets;
    if (sms.UD().size() > limit)
        std::fprintf(stderr, "pduinspect: warning: text cut to %zu %s\n", limit,
                     septets ? "septets" : "octets");
    std::printf("%s\n", sms.PDU().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : argc), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "decode")
            return Decode(args);
        if (command == "encode")
            return Encode(args);
        if (command == "--help" || command == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        throw UsageError(command.empty() ? "no command" : "unknown command " + command);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "pduinspect: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pduinspect: %s\n", e.what());
        return 1;
    }
}
