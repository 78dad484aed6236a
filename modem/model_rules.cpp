#include "modem/model_rules.h"

#include <iterator>

namespace {

using enum PinStep;
using enum AfterPin;
using enum Registration;
using enum OpenExtra;
using enum ListCommand;
using enum SubmitLength;
constexpr auto kAsReported = ServiceLevel::AsReported;
constexpr uint8_t kPDU = kFormatPDU;
constexpr uint8_t kBoth = kFormatPDU | kFormatText;
constexpr uint8_t kText = kFormatText;

// clang-format off
constexpr ModelRules kModels[] = {
//   model        pin            timeout  afterPin     registration    service               extra             formats  SCA    speed     switchOff    send  length         send ms  read ms  list        allAs0  forceVP  textTimeout
    {eqA1,        Query,         0,       Nothing,     Creg,           kAsReported,          NoExtra,          kPDU,    true,  br19200,  "AT^SMSO",   31,   Fixed165,      0,       0,       Checked,    false,  false,   0},
    {eqM1,        Query,         0,       Pause,       Creg,           kAsReported,          NoExtra,          kPDU,    false, br19200,  nullptr,     31,   Fixed164,      0,       0,       Checked,    false,  false,   0},
    {eqM20,       Query,         0,       Pause,       Creg,           ServiceLevel::Level0, NoExtra,          kBoth,   true,  br19200,  "AT^SMSO",   31,   OctetsLessSCA, 100,     500,     Checked,    false,  true,    0},
    {eqGM12,      Query,         0,       Nothing,     Creg,           kAsReported,          MemoryME,         kPDU,    true,  br9600,   "AT+CFUN=0", 31,   OctetsLessSCA, 100,     500,     Checked,    true,   false,   0},
    {eqNokia6210, NoPinStep,     0,       Nothing,     Creg,           kAsReported,          NoExtra,          kBoth,   true,  br115200, nullptr,     31,   OctetsLessSCA, 0,       0,       Checked,    false,  false,   5000},
    {eqNokia6650, NoPinStep,     0,       Nothing,     Creg,           kAsReported,          NoExtra,          kBoth,   true,  br115200, nullptr,     31,   OctetsLessSCA, 0,       0,       Checked,    false,  false,   0},
    {eqNokia9110, NoPinStep,     0,       Nothing,     NoRegistration, kAsReported,          NoExtra,          kText,   false, br19200,  nullptr,     31,   Fixed164,      0,       0,       Checked,    false,  false,   0},
    {eqM35,       Query,         15000,   Nothing,     Creg,           ServiceLevel::Level1, CmeeWhenExtended, kBoth,   true,  br19200,  "AT^SMSO",   31,   OctetsLessSCA, 100,     500,     Checked,    false,  false,   0},
    {eqS25,       Query,         15000,   Nothing,     Creg,           kAsReported,          CmeeWhenExtended, kBoth,   true,  br19200,  "AT^SMSO",   31,   OctetsLessSCA, 100,     500,     Checked,    false,  false,   0},
    {eqT260,      NoPinStep,     0,       Nothing,     Csq,            kAsReported,          CmeeWhenExtended, kPDU,    true,  br57600,  nullptr,     31,   OctetsLessSCA, 100,     500,     Checked,    false,  false,   0},
    {eqWaveCom,   WindThenQuery, 15000,   WaitForWind, Creg,           kAsReported,          NoExtra,          kPDU,    false, br9600,   nullptr,     31,   Octets,        100,     0,       OneAttempt, false,  false,   0},
    {eqTC35,      Query,         15000,   Nothing,     Creg,           kAsReported,          NoExtra,          kBoth,   true,  br19200,  "AT^SMSO",   31,   OctetsLessSCA, 100,     500,     Checked,    false,  true,    0},
    {eqFasttrack, WindThenQuery, 15000,   WaitForWind, Creg,           kAsReported,          NoExtra,          kBoth,   true,  br19200,  nullptr,     31,   OctetsLessSCA, 100,     0,       OneAttempt, true,   false,   0},
    {eqZText,     Query,         0,       Nothing,     Creg,           kAsReported,          NoExtra,          kBoth,   true,  br2400,   nullptr,     26,   OctetsLessSCA, 100,     500,     Checked,    false,  false,   0},
};
// clang-format on
static_assert(std::size(kModels) == 14);

constexpr bool RowsFollowTheModels()
{
    for (size_t i = 0; i < std::size(kModels); ++i)
        if (static_cast<size_t>(kModels[i].model) != i)
            return false;
    return true;
}
static_assert(RowsFollowTheModels());

constexpr ModelRules kOtherModel = {
    static_cast<TGSMEquipment>(std::size(kModels)), Query, 0, Nothing, Creg, kAsReported, NoExtra, 0, false,
    std::nullopt, nullptr, 31, Fixed164, 0, 0, Checked, false, false, 0};

}  // namespace

const ModelRules& RulesOf(TGSMEquipment model)
{
    const auto index = static_cast<size_t>(model);
    return index < std::size(kModels) ? kModels[index] : kOtherModel;
}
