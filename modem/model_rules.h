#pragma once
#include <cstdint>
#include <optional>

#include "codec/gsm_equipment.h"
#include "link/baud_rate.h"

// What the engine does differently per device model, as one row per model. Rows follow the
// order of TGSMEquipment; a value above the last model gets a row of its own with no default
// speed, no switch-off command and no service centre field.

enum class PinStep : uint8_t {
    NoPinStep,      // the device is never asked for its SIM state
    Query,          // AT+CPIN? waiting for the final OK (flags 19)
    WindThenQuery,  // AT+WIND=12, then AT+CPIN? taking the first reply (flags 18)
};

enum class AfterPin : uint8_t {
    Nothing,
    Pause,        // the device needs a moment before the next command
    WaitForWind,  // the device announces readiness with +WIND: 4
};

enum class Registration : uint8_t {
    NoRegistration,
    Creg,  // AT+CREG? then AT+CREG=1
    Csq,   // the signal quality stands in for registration
};

enum class ServiceLevel : int8_t {
    AsReported = -1,  // whatever AT+CSMS? says
    Level0 = 0,       // forced with AT+CSMS=0
    Level1 = 1,       // forced with AT+CSMS=1
};

enum class OpenExtra : uint8_t {
    NoExtra,
    MemoryME,           // preferred storage "ME"
    CmeeWhenExtended,   // AT+CMEE=1 when extended error messages are wanted
};

enum class ListCommand : uint8_t {
    Checked,      // flags 3, every attempt, result checked
    OneAttempt,   // flags 67, one attempt, an ERROR reply lists nothing
};

constexpr uint8_t kFormatPDU = 1 << 0;
constexpr uint8_t kFormatText = 1 << 1;

// Send length of a PDU-mode send.
enum class SubmitLength : uint8_t {
    Fixed164,
    Fixed165,
    Octets,          // the octets of the PDU text
    OctetsLessSCA,   // the same without the empty service centre octet
};

struct ModelRules {
    TGSMEquipment model;
    // Opening the device.
    PinStep pin;
    uint32_t pinTimeoutMs;  // 0: RecTimeout
    AfterPin afterPin;
    Registration registration;
    ServiceLevel service;
    OpenExtra extra;
    // Settings and operations.
    uint8_t formats;
    bool pduHasSCA;
    std::optional<TBaudrate> speed;
    const char* switchOff;  // nullptr: none
    // Message operations.
    uint8_t sendFlags;
    SubmitLength submitLength;
    uint32_t pauseAfterSendMs;
    uint32_t pauseAfterReadMs;
    ListCommand list;
    bool listAllAsUnread;      // a list without status filter asks for status 0
    bool textForceRelativeVP;  // text mode: a submit without validity period gets VPF 2
    uint32_t textSendTimeoutMs;  // text mode: RecTimeout of the send; 0 keeps it
};

const ModelRules& RulesOf(TGSMEquipment model);
