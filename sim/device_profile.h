#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// How the device asks for the SIM PIN on its AT interface.
enum class TPinFlow {
    Query,    // +CPIN? tells the SIM state; +CPIN= enters the PIN
    Handset,  // the phone asks on its own keypad: the AT side always sees READY
};

enum TFormatBits : uint8_t {
    kFormatPdu = 0x01,
    kFormatText = 0x02,
};

// One device model as the simulator plays it: identity, quirks and value lists.
struct TDeviceProfile {
    const char* shortName;       // the model's short name, as the engine's model table has it
    const char* manufacturer;    // +CGMI
    const char* model;           // +CGMM
    const char* revision;        // +CGMR; "\n" separates the lines of a multi-line answer
    TPinFlow pin;
    bool wind;                   // answers +WIND= and reports +WIND: 3 and 4 once the SIM is ready
    bool pduHasSca;              // PDUs carry the service centre field
    uint8_t formats;             // TFormatBits
    bool fixedSubmitLength;      // ignores the length of +CMGS=<length> (the engine sends 164/165)
    int defaultRate;             // bit/s the device listens at after power-on
    const char* cnmiTest;        // the answer to +CNMI=? after "+CNMI: "
    const char* switchOff;       // vendor switch-off command ("^SMSO"), or nullptr
    bool mtStorage;              // new messages are announced in the combined "MT" storage
};

// The profile of a short name (letter case ignored), or nullptr.
const TDeviceProfile* FindProfile(std::string_view shortName);
// All profiles in the order of the model table.
const TDeviceProfile* Profiles(size_t& count);

}  // namespace sim
