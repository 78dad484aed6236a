#pragma once
#include <string>
#include <vector>

namespace sim {

// The open dialogue of one model as the engine runs it, against the simulator's default
// device of that model: the SIM asks for the PIN "1234" (on models whose AT side has a PIN
// step), the engine has PIN "1234", echo on, no service centre, no extended errors, the
// model's first format (PDU, text for the Nokia 9110) and no unsolicited indications wanted.
//
// Each line of `dialogue` is "<command> -> <reply>": the reply's lines are separated by "|",
// the final result last. A line "!wait -> <lines>" stands for indications the engine waits
// for without sending anything.
struct TModelDialogue {
    const char* shortName;
    const char* dialogue;
};

const std::vector<TModelDialogue>& ModelDialogues();
const TModelDialogue* FindModelDialogue(const std::string& shortName);

struct TDialogueStep {
    std::string command;              // empty for a "!wait" step
    std::vector<std::string> reply;   // lines, final result last
};
std::vector<TDialogueStep> DialogueSteps(const TModelDialogue& dialogue);

// The dialogue as a script of the scripted responder, with the device's echo and framing.
std::string DialogueScript(const TModelDialogue& dialogue);

}  // namespace sim
