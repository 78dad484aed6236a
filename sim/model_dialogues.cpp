#include "sim/model_dialogues.h"

#include "sim/control_command.h"

namespace sim {

namespace {

#define SIM_PIN_STEPS "AT+CPIN? -> +CPIN: SIM PIN|OK\nAT+CPIN=\"1234\" -> OK\n"
#define WIND_PIN_STEPS                                                                           \
    "AT+WIND=12 -> OK\nAT+CPIN? -> +CPIN: SIM PIN|OK\nAT+CPIN=\"1234\" -> OK\n"                  \
    "!wait -> +WIND: 3|+WIND: 4\n"
#define CREG_STEPS "AT+CREG? -> +CREG: 0,1|OK\nAT+CREG=1 -> OK\n"
#define STORAGE_STEPS(capacity)                                                                  \
    "AT+CPMS? -> +CPMS: \"SM\",0," capacity ",\"SM\",0," capacity ",\"SM\",0," capacity "|OK\n" \
    "AT+CSMS? -> +CSMS: 0,1,1,1|OK\n"
#define CNMI_STEPS(list, set) "AT+CNMI=? -> +CNMI: " list "|OK\nAT+CNMI? -> +CNMI: 0,0,0,0,0|OK\nAT+CNMI=" set " -> OK\n"

const std::vector<TModelDialogue> kDialogues = {
    {"A1", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
           CNMI_STEPS("(0-2),(0-3),(0,2),(0-2),(0,1)", "2,0,0,0,1")},
    {"M1", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
           CNMI_STEPS("(0-2),(0-3),(0,2),(0-2),(0,1)", "2,0,0,0,1")},
    {"M20", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
            "AT+CSMS=0 -> +CSMS: 1,1,1|OK\n"
            CNMI_STEPS("(0-3),(0-3),(0,2,3),(0-2),(0,1)", "2,0,0,0,1")},
    {"GM12", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
             CNMI_STEPS("(0-3),(0-3),(0,2),(0,1),(0)", "2,0,0,0,0")},
    {"Nokia6210", "ATE1 -> OK\n" CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
                  CNMI_STEPS("(0-2),(0-3),(0,2),(0-1),(0)", "2,0,0,0,0")},
    {"Nokia6650", "ATE1 -> OK\n" CREG_STEPS STORAGE_STEPS("10") "AT+CMGF=0 -> OK\n"
                  CNMI_STEPS("(0-2),(0-3),(0,2),(0-2),(0,1)", "2,0,0,0,1")},
    {"Nokia9110", "ATE1 -> OK\n" STORAGE_STEPS("20") "AT+CMGF=1 -> OK\nAT+CSDH=1 -> OK\n"
                  CNMI_STEPS("(0-2),(0-2),(0),(0),(0)", "2,0,0,0,0")},
    {"M35", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
            "AT+CSMS=1 -> +CSMS: 1,1,1|OK\n"
            CNMI_STEPS("(0-3),(0-3),(0,2,3),(0-2),(0,1)", "2,0,0,0,1")},
    {"S25", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
            CNMI_STEPS("(0-3),(0-3),(0,2,3),(0-2),(0,1)", "2,0,0,0,1")},
    {"T260", "ATE1 -> OK\nAT+CSQ -> +CSQ: 21,99|OK\n" STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
             CNMI_STEPS("(0-2),(0-3),(0-3),(0-2),(0,1)", "2,0,0,0,1")},
    {"WaveCom", "ATE1 -> OK\n" WIND_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
                CNMI_STEPS("(0-3),(0-3),(0-3),(0-2),(0-1)", "2,0,0,0,1")},
    {"TC35", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
             CNMI_STEPS("(0-3),(0-3),(0,2,3),(0-2),(0,1)", "2,0,0,0,1")},
    {"Fasttrack", "ATE1 -> OK\n" WIND_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
                  CNMI_STEPS("(0-3),(0-3),(0-3),(0-2),(0-1)", "2,0,0,0,1")},
    {"ZText", "ATE1 -> OK\n" SIM_PIN_STEPS CREG_STEPS STORAGE_STEPS("20") "AT+CMGF=0 -> OK\n"
              CNMI_STEPS("(0-2),(0-3),(0,2),(0-2),(0,1)", "2,0,0,0,1")},
};

#undef SIM_PIN_STEPS
#undef WIND_PIN_STEPS
#undef CREG_STEPS
#undef STORAGE_STEPS
#undef CNMI_STEPS

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    if (start < text.size())
        parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

const std::vector<TModelDialogue>& ModelDialogues()
{
    return kDialogues;
}

const TModelDialogue* FindModelDialogue(const std::string& shortName)
{
    for (const TModelDialogue& dialogue : kDialogues)
        if (shortName == dialogue.shortName)
            return &dialogue;
    return nullptr;
}

std::vector<TDialogueStep> DialogueSteps(const TModelDialogue& dialogue)
{
    std::vector<TDialogueStep> steps;
    for (const std::string& line : SplitAt(dialogue.dialogue, '\n')) {
        const size_t arrow = line.find(" -> ");
        TDialogueStep step;
        step.command = line.substr(0, arrow);
        if (step.command == "!wait")
            step.command.clear();
        step.reply = SplitAt(line.substr(arrow + 4), '|');
        steps.push_back(std::move(step));
    }
    return steps;
}

std::string DialogueScript(const TModelDialogue& dialogue)
{
    std::string script;
    for (const TDialogueStep& step : DialogueSteps(dialogue)) {
        std::string answer;
        for (const std::string& line : step.reply)
            answer += "\r\n" + line + "\r\n";
        if (step.command.empty()) {
            script += "!after 200 ms -> " + PrintableBytes(answer) + "\n";
            continue;
        }
        // The device echoes the command line before it answers: echo is on from power-on.
        script += step.command + " -> " + PrintableBytes(step.command + "\r" + answer) + "\n";
    }
    return script;
}

}  // namespace sim
