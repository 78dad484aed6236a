#include "codec/gsm_equipment.h"

#include <iterator>

#include "codec/codec_error.h"
#include "link/hex_text.h"

namespace {

struct ModelName {
    TGSMEquipment model;
    const char* shortName;
    const char* longName;
};

constexpr ModelName kModelNames[] = {
    {eqA1, "A1", "Siemens A1"},
    {eqM1, "M1", "Siemens M1"},
    {eqM20, "M20", "Siemens M20"},
    {eqGM12, "GM12", "Ericsson GM12"},
    {eqNokia6210, "Nokia6210", "Nokia 6210"},
    {eqNokia6650, "Nokia6650", "Nokia 6650"},
    {eqNokia9110, "Nokia9110", "Nokia 9110"},
    {eqM35, "M35", "Siemens M35"},
    {eqS25, "S25", "Siemens S25"},
    {eqT260, "T260", "Motorola T260"},
    {eqWaveCom, "WaveCom", "WaveCom"},
    {eqTC35, "TC35", "Siemens TC35"},
    {eqFasttrack, "Fasttrack", "Wavecom Fasttrack"},
    {eqZText, "ZText", "Z-Text"},
};
static_assert(std::size(kModelNames) == eqZText + 1);

const ModelName* Find(int model)
{
    if (model < 0 || model >= static_cast<int>(std::size(kModelNames)))
        return nullptr;
    return &kModelNames[model];
}

}  // namespace

std::string GSMEquipmentShortName(int model)
{
    const ModelName* entry = Find(model);
    return entry ? entry->shortName : "";
}

std::string GSMEquipmentLongName(int model)
{
    const ModelName* entry = Find(model);
    return entry ? entry->longName : "";
}

TGSMEquipment Str2GMSEquipment(std::string_view name)
{
    const std::string wanted = UpperCaseAscii(name);
    for (const ModelName& entry : kModelNames)
        if (UpperCaseAscii(entry.shortName) == wanted)
            return entry.model;
    throw EGSMError("Bad equipment name");
}
