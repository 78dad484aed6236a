#pragma once
#include <string>
#include <string_view>

// The device models, each with its own quirks in the engine.
enum TGSMEquipment {
    eqA1 = 0,
    eqM1 = 1,
    eqM20 = 2,
    eqGM12 = 3,
    eqNokia6210 = 4,
    eqNokia6650 = 5,
    eqNokia9110 = 6,
    eqM35 = 7,
    eqS25 = 8,
    eqT260 = 9,
    eqWaveCom = 10,
    eqTC35 = 11,
    eqFasttrack = 12,
    eqZText = 13,
};

// Empty text for a value that names no model.
std::string GSMEquipmentShortName(int model);
std::string GSMEquipmentLongName(int model);

// The model whose short name matches, ignoring the case of ASCII letters; otherwise EGSMError
// "Bad equipment name".
TGSMEquipment Str2GMSEquipment(std::string_view name);
