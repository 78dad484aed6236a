#include "sim/control_command.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "sim/simulator.h"
#include "sim/tpdu.h"

namespace sim {

const char* const kControlHelp =
    "control commands (one per line on standard input):\n"
    "  sms <from> <text>           a message from <from> arrives (default alphabet)\n"
    "  cb <message id> <text>      a cell broadcast page arrives\n"
    "  creg <stat> [<lac> <ci>]    registration changes (0 none, 1 home, 2 searching, 3 denied, 5 roaming)\n"
    "  csq <rssi> [<ber>]          signal quality changes\n"
    "  silent on|off               stop or resume answering\n"
    "  delay <ms>                  answer that much later (0: at once)\n"
    "  split <bytes> <gap ms>      write answers in pieces with pauses (0: whole)\n"
    "  garbage <bytes>             send these bytes in front of the next answer (\\r \\n \\xNN escapes)\n"
    "  raw <bytes>                 send these bytes now (\\r \\n \\xNN escapes)\n"
    "  fail <command> [<result>] [<times>]\n"
    "                              answer <command> (e.g. +CMGS) with <result> instead of running it:\n"
    "                              ERROR (default), \"cms <n>\" or \"cme <n>\"; <times> defaults to 1\n"
    "  hangup <bytes>              hang the line up after that many bytes of the next answer\n"
    "  status                      SIM state, stored messages, unacknowledged routed messages\n"
    "  help                        this list\n";

namespace {

std::string Rest(std::istringstream& in)
{
    std::string rest;
    std::getline(in >> std::ws, rest);
    return rest;
}

bool ReadInt(std::istringstream& in, int& value)
{
    std::string word;
    if (!(in >> word) || word.empty() || word.size() > 9)
        return false;
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    value = std::stoi(word);
    return true;
}

const char* SimStateText(TSimState state)
{
    switch (state) {
    case TSimState::Ready: return "READY";
    case TSimState::SimPin: return "SIM PIN";
    case TSimState::SimPuk: return "SIM PUK";
    case TSimState::Blocked: return "blocked";
    }
    return "";
}

}  // namespace

std::string PrintableBytes(const std::string& bytes)
{
    std::string text;
    for (char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\\')
            text += "\\\\";
        else if (u < 0x20 || u >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            text += hex;
        } else
            text += c;
    }
    return text;
}

std::string UnescapeBytes(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char e = text[++i];
        std::string octet;
        if (e == 'r')
            bytes += '\r';
        else if (e == 'n')
            bytes += '\n';
        else if (e == 't')
            bytes += '\t';
        else if (e == 'x' && i + 2 < text.size() && ParseHex(text.substr(i + 1, 2), octet)) {
            bytes += octet;
            i += 2;
        } else
            bytes += e;
    }
    return bytes;
}

std::string ExecuteControl(TSimulator& simulator, const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    if (!(in >> command))
        return "";
    int a = 0, b = 0;
    if (command == "help")
        return kControlHelp;
    if (command == "sms") {
        std::string from;
        if (!(in >> from))
            return "error: sms <from> <text>";
        simulator.InjectSms(from, Rest(in));
        return "ok";
    }
    if (command == "cb") {
        if (!ReadInt(in, a) || a > 0xFFFF)
            return "error: cb <message id 0-65535> <text>";
        simulator.InjectCellBroadcast(static_cast<uint16_t>(a), Rest(in));
        return "ok";
    }
    if (command == "creg") {
        std::string lac = "1A2B", cell = "3C4D";
        if (!ReadInt(in, a) || a > 5)
            return "error: creg <stat 0-5> [<lac> <ci>]";
        in >> lac >> cell;
        simulator.SetRegistration(a, lac, cell);
        return "ok";
    }
    if (command == "csq") {
        b = 99;
        if (!ReadInt(in, a) || (a > 31 && a != 99))
            return "error: csq <rssi 0-31 or 99> [<ber>]";
        if (in >> std::ws, !in.eof() && !ReadInt(in, b))
            return "error: csq <rssi> [<ber>]";
        simulator.SetSignal(a, b);
        return "ok";
    }
    if (command == "silent") {
        std::string value;
        in >> value;
        if (value != "on" && value != "off")
            return "error: silent on|off";
        simulator.SetSilent(value == "on");
        return "ok";
    }
    if (command == "delay") {
        if (!ReadInt(in, a))
            return "error: delay <ms>";
        simulator.SetDelay(a);
        return "ok";
    }
    if (command == "split") {
        if (!ReadInt(in, a) || !ReadInt(in, b))
            return "error: split <bytes> <gap ms>";
        simulator.SetSplit(a, b);
        return "ok";
    }
    if (command == "garbage" || command == "raw") {
        const std::string bytes = UnescapeBytes(Rest(in));
        if (bytes.empty())
            return "error: " + command + " <bytes>";
        if (command == "garbage")
            simulator.InjectGarbage(bytes);
        else
            simulator.InjectBytes(bytes);
        return "ok";
    }
    if (command == "fail") {
        std::string name, kind;
        if (!(in >> name))
            return "error: fail <command> [ERROR|cms <n>|cme <n>] [<times>]";
        std::string result = "ERROR";
        int times = 1;
        if (in >> kind) {
            if (kind == "cms" || kind == "cme") {
                if (!ReadInt(in, a))
                    return "error: fail <command> " + kind + " <n>";
                result = (kind == "cms" ? "+CMS ERROR: " : "+CME ERROR: ") + std::to_string(a);
            } else if (kind != "ERROR") {
                return "error: the result is ERROR, cms <n> or cme <n>";
            }
            if (in >> std::ws, !in.eof() && !ReadInt(in, times))
                return "error: <times> is a number";
        }
        simulator.FailCommand(name, result, times);
        return "ok";
    }
    if (command == "hangup") {
        if (!ReadInt(in, a))
            return "error: hangup <bytes>";
        simulator.HangUpAfter(a);
        return "ok";
    }
    if (command == "status") {
        std::string text = std::string("SIM ") + SimStateText(simulator.SimState());
        for (const char* storage : {"SM", "ME", "BM"})
            text += std::string(", ") + storage + " " + std::to_string(simulator.StoredCount(storage));
        text += ", unacknowledged " + std::to_string(simulator.UnacknowledgedCount());
        if (simulator.PoweredOff())
            text += ", switched off";
        if (simulator.HungUp())
            text += ", hung up";
        return text;
    }
    return "error: unknown command '" + command + "' (try help)";
}

}  // namespace sim
